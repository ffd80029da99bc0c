#include "tests/ui/EngineSettingsFixture.h"

#include <commctrl.h>

#include <algorithm>

#include "tests/support/TestApp.h"
#include "ui/resource.h"

CEngineFolder::CEngineFolder(std::initializer_list<const char*> probeEngines)
{
    for (const char* engine : probeEngines)
        CopyFileA(TestEnginePath(engine).c_str(), PathOf(engine).c_str(), FALSE);
}

void CEngineFolder::SettleForPicker() const
{
    for (size_t end = Path().find('\\');; end = Path().find('\\', end + 1)) {
        std::string folder = Path().substr(0, end);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        if (end == std::string::npos)
            return;
    }
}

namespace {

HWND List(HWND dialog)
{
    return GetDlgItem(dialog, IDC_ENGINE_LIST);
}

std::string CellText(HWND list, int row, int column)
{
    char text[512] = "";
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

void SetSelection(HWND list, int row, UINT state)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

} // namespace

std::vector<EngineRow> SortedRows(HWND dialog)
{
    HWND list = List(dialog);
    std::vector<EngineRow> rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        rows.push_back(EngineRow{CellText(list, row, 0), CellText(list, row, 1), CellText(list, row, 2)});
    std::sort(rows.begin(), rows.end(), [](const EngineRow& a, const EngineRow& b) { return a.fileName < b.fileName; });
    return rows;
}

std::string SelectedName(HWND dialog)
{
    int row = static_cast<int>(SendMessageA(List(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row == -1 ? std::string() : CellText(List(dialog), row, 0);
}

void SelectRow(HWND dialog, const char* fileName)
{
    HWND list = List(dialog);
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        if (CellText(list, row, 0) == fileName) {
            SetSelection(list, row, LVIS_SELECTED | LVIS_FOCUSED);
            return;
        }
    }
    ADD_FAILURE() << "no row " << fileName;
}

void ClearSelection(HWND dialog)
{
    SetSelection(List(dialog), static_cast<UINT>(-1), 0);
}

WithTestApplication::WithTestApplication()
{
    UseTestApplication();
    InitCommonControls();
}

int EngineSettingsDialogTest::Run(const std::string& folder, const std::string& enginePath, const char* sample)
{
    m_dialog.m_engineFolder.Assign(folder.c_str());
    m_dialog.m_enginePath.Assign(enginePath.c_str());
    m_dialog.m_sampleString.Assign(sample);
    int result = m_dialog.DoModal(NULL);
    EXPECT_TRUE(m_driver.Finished());
    return result;
}
