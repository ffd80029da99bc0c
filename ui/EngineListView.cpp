#include "ui/EngineListView.h"

#include <climits>
#include <commctrl.h>
#include <new>

#include "app/QelException.h"
#include "conversion/Engine.h"
#include "conversion/EngineHolder.h"
#include "foundation/PathFunctions.h"
#include "ui/resource.h"

namespace {

struct ColumnInfo {
    UINT textId;
    int width;
};

const ColumnInfo s_columns[] = {
    {IDS_COLUMN_FILE_NAME, 100},
    {IDS_COLUMN_DESCRIPTION, 200},
    {IDS_COLUMN_VERSION, 73},
};

CEngine* EngineOfRow(HWND listView, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return NULL;
    return reinterpret_cast<CEngine*>(item.lParam);
}

void SetSubItemText(HWND listView, int row, int subItem, char* text)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = subItem;
    item.pszText = text;
    SendMessageA(listView, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

} // namespace

CEngineListView::CEngineListView(CEngineOwner* engineOwner) : m_pEngineOwner(engineOwner) {}

CEngineListView::~CEngineListView() {}

LRESULT CEngineListView::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The rows' engines go while the rows can still be read.
    if (msg == WM_DESTROY)
        Clear();
    return CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
}

BOOL CEngineListView::Init(HWND listView)
{
    if (!Subclass(listView))
        return FALSE;
    int index = 0;
    for (const ColumnInfo& info : s_columns) {
        CGString header(128);
        header.LoadText(info.textId);
        LVCOLUMNA column;
        ZeroMemory(&column, sizeof(column));
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = info.width;
        column.pszText = header.Buffer(-1);
        SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, index++, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    return TRUE;
}

BOOL CEngineListView::Fill(const char* folder)
{
    CGString pattern = JoinPath(folder, "*.TXV");
    Clear();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.Text(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return TRUE;
    do {
        AddEngine(folder, found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return TRUE;
}

BOOL CEngineListView::AddEngine(const char* folder, const char* fileName)
{
    CEngineHolder holder(new (std::nothrow) CEngine(TRUE, m_pEngineOwner));
    if (holder.Get() == NULL)
        ThrowMemoryException();
    CGString path = JoinPath(folder, fileName);
    if (!holder.Get()->Load(path.Text()))
        return FALSE;
    char description[128] = {};
    char version[128] = {};
    if (!holder.Get()->GetEngineDescription(description, sizeof(description)) ||
        !holder.Get()->GetEngineVersion(version, sizeof(version)))
        return FALSE;

    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = INT_MAX;
    item.pszText = const_cast<char*>(fileName);
    item.lParam = reinterpret_cast<LPARAM>(holder.Get());
    int row = static_cast<int>(SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    // Without a row nobody else would ever delete the engine: the holder does.
    if (row == -1)
        return FALSE;
    holder.Release();
    SetSubItemText(m_hWnd, row, 1, description);
    SetSubItemText(m_hWnd, row, 2, version);
    return TRUE;
}

void CEngineListView::Clear()
{
    int count = static_cast<int>(SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        CEngine* engine = EngineOfRow(m_hWnd, row);
        if (engine != NULL) {
            engine->Unload();
            delete engine;
        }
    }
    SendMessageA(m_hWnd, LVM_DELETEALLITEMS, 0, 0);
}

BOOL CEngineListView::SelectByName(const char* fileName)
{
    LVFINDINFOA find;
    ZeroMemory(&find, sizeof(find));
    find.flags = LVFI_STRING;
    find.psz = fileName;
    int row = static_cast<int>(SendMessageA(m_hWnd, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(&find)));
    if (row == -1)
        return FALSE;
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageA(m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    return TRUE;
}

CEngine* CEngineListView::GetSelectedEngine()
{
    int row = static_cast<int>(SendMessageA(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row == -1)
        return NULL;
    return EngineOfRow(m_hWnd, row);
}
