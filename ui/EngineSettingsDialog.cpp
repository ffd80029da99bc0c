#include "ui/EngineSettingsDialog.h"

#include <commctrl.h>
#include <shlobj.h>

#include "app/MorvaneApp.h"
#include "conversion/Engine.h"
#include "foundation/PathFunctions.h"
#include "ui/BrowseForFolder.h"
#include "ui/SampleStringDialog.h"
#include "ui/resource.h"

CEngineSettingsDialog::CEngineSettingsDialog()
    : CIconDialog(IDD_ENGINE_SETTINGS), m_enginePath(128), m_engineFolder(128), m_sampleString(128),
      m_engineList(g_pApp), m_pInitFailed(NULL)
{
}

LRESULT CEngineSettingsDialog::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(hwnd, msg, wParam, lParam);
    case WM_COMMAND: return OnCommand(hwnd, msg, wParam, lParam);
    case WM_NOTIFY: return OnNotify(hwnd, msg, wParam, lParam);
    }
    return CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CEngineSettingsDialog::OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    SetDlgItemTextA(hwnd, IDC_ENGINE_FOLDER, m_engineFolder.Text());
    // Without its list the dialog is of no use; it ends as one whose binding failed.
    if (!m_engineList.Init(GetDlgItem(hwnd, IDC_ENGINE_LIST))) {
        EndDialog(hwnd, IDCANCEL);
        return FALSE;
    }
    // Taken before the list changes: every row change rewrites the path.
    CGString fileName = FileNamePart(m_enginePath.Text());
    m_engineList.Fill(m_engineFolder.Text());
    if (!m_engineList.SelectByName(fileName.Text()))
        m_enginePath.Clear();
    UpdatePreview();
    return FALSE;
}

LRESULT CEngineSettingsDialog::OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDOK: return OnOK(hwnd, msg, wParam, lParam);
    case IDC_ENGINE_ABOUT: return OnEngineAbout(hwnd, msg, wParam, lParam);
    case IDC_CHANGE_FOLDER: return OnChangeFolder(hwnd, msg, wParam, lParam);
    case IDC_ENGINE_SETTING: return OnEngineSetting(hwnd, msg, wParam, lParam);
    case IDC_CHANGE_SAMPLE: return OnChangeSample(hwnd, msg, wParam, lParam);
    }
    CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    return TRUE;
}

LRESULT CEngineSettingsDialog::OnNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != IDC_ENGINE_LIST || header->code != LVN_ITEMCHANGED)
        return CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    // Old row, new row and focus changes all come here; the selection is read afresh each time.
    CEngine* engine = m_engineList.GetSelectedEngine();
    // Another selection tries a failed engine again.
    if (engine != m_pInitFailed)
        m_pInitFailed = NULL;
    m_enginePath.Assign(engine != NULL ? engine->GetPath() : "");
    UpdateButtons();
    UpdatePreview();
    return TRUE;
}

LRESULT CEngineSettingsDialog::OnOK(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_enginePath.Length() == 0 &&
        g_pApp->ShowMessage(hwnd, IDS_NO_ENGINE_SELECTED, MB_YESNO | MB_ICONEXCLAMATION, 0) != IDYES)
        return TRUE;
    return CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CEngineSettingsDialog::OnEngineAbout(HWND hwnd, UINT, WPARAM, LPARAM)
{
    CEngine* engine = InitializedSelection();
    if (engine != NULL)
        engine->OnAbout(hwnd);
    // A fault in the engine's box leaves it with nothing to offer.
    UpdateButtons();
    return TRUE;
}

LRESULT CEngineSettingsDialog::OnEngineSetting(HWND hwnd, UINT, WPARAM, LPARAM)
{
    CEngine* engine = InitializedSelection();
    if (engine == NULL)
        return TRUE;
    engine->OnSetting(hwnd);
    // The engine's settings may change how it converts, and a fault in them
    // leaves it with nothing to offer.
    UpdateButtons();
    UpdatePreview();
    return TRUE;
}

LRESULT CEngineSettingsDialog::OnChangeFolder(HWND hwnd, UINT, WPARAM, LPARAM)
{
    CGString title(128);
    title.LoadText(IDS_CHOOSE_ENGINE_FOLDER);
    char chosen[MAX_PATH];
    if (BrowseForFolder(hwnd, m_engineFolder.Text(), title.Text(), BIF_RETURNONLYFSDIRS, chosen) !=
            BROWSE_FOLDER_CHOSEN ||
        m_engineFolder.Compare(chosen, TRUE) == 0)
        return TRUE;
    m_enginePath.Clear();
    // The new rows' engines may come at the addresses of the old ones.
    m_pInitFailed = NULL;
    m_engineFolder.Assign(chosen);
    SetDlgItemTextA(hwnd, IDC_ENGINE_FOLDER, chosen);
    m_engineList.Fill(chosen);
    UpdateButtons();
    UpdatePreview();
    return TRUE;
}

LRESULT CEngineSettingsDialog::OnChangeSample(HWND hwnd, UINT, WPARAM, LPARAM)
{
    CSampleStringDialog dialog;
    dialog.m_sampleString.Assign(m_sampleString);
    if (dialog.DoModal(hwnd) != IDOK)
        return TRUE;
    m_sampleString.Assign(dialog.m_sampleString);
    UpdatePreview();
    return TRUE;
}

void CEngineSettingsDialog::UpdateButtons()
{
    CEngine* engine = m_engineList.GetSelectedEngine();
    EnableItem(IDC_ENGINE_SETTING, engine != NULL && engine->HasOnSetting());
    EnableItem(IDC_ENGINE_ABOUT, engine != NULL && engine->HasOnAbout());
}

void CEngineSettingsDialog::UpdatePreview()
{
    SetDlgItemTextA(m_hWnd, IDC_SAMPLE, m_sampleString.Text());
    SetDlgItemTextA(m_hWnd, IDC_SAMPLE_RESULT, "");
    CEngine* engine = InitializedSelection();
    if (engine == NULL)
        return;
    // A sample read from the registry may be longer than engines are promised.
    CGString sample = m_sampleString.CharHead(TXV_MAX_TEXT_LENGTH);
    char converted[TXV_PREVIEW_OUTPUT_SIZE] = {};
    if (engine->ConvertCaptionString(TXV_SAMPLE_CLASS_NAME, sample.Text(), converted, sizeof(converted)))
        SetDlgItemTextA(m_hWnd, IDC_SAMPLE_RESULT, converted);
}

// The selected engine, initialised on first use; null when no row is selected,
// when the engine has faulted (its owner has told the user), or when it cannot
// be initialised, which the user is told once per selection: one selection
// brings several notices, each with a preview.
CEngine* CEngineSettingsDialog::InitializedSelection()
{
    CEngine* engine = m_engineList.GetSelectedEngine();
    if (engine == NULL || engine->IsFaulted())
        return NULL;
    if (engine->IsInitialized())
        return engine;
    if (engine == m_pInitFailed)
        return NULL;
    if (engine->InitEngine())
        return engine;
    if (engine->IsFaulted())
        return NULL;
    // Set before the box, whose message loop may bring further notices.
    m_pInitFailed = engine;
    g_pApp->ShowMessage(m_hWnd, IDS_ENGINE_INIT_FAILED, MB_ICONEXCLAMATION, 0);
    return NULL;
}
