#include "ui/AboutDialog.h"

#include "app/MorvaneApp.h"
#include "conversion/Engine.h"
#include "ui/resource.h"

#include <vector>

CAboutDialog::CAboutDialog() : CIconDialog(IDD_ABOUT) {}

LRESULT CAboutDialog::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(hwnd, msg, wParam, lParam);
    case WM_COMMAND: return OnCommand(hwnd, msg, wParam, lParam);
    }
    return CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CAboutDialog::OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    SetVersionText(GetDlgItem(hwnd, IDC_VERSION));
    CEngine* engine = g_pApp->m_pEngine;
    if (engine != NULL) {
        SetDlgItemTextA(hwnd, IDC_ENGINE_PATH, engine->GetPath());
        char description[512] = "";
        engine->GetEngineDescription(description, sizeof(description));
        SetDlgItemTextA(hwnd, IDC_ENGINE_DESCRIPTION, description);
    }
    if (engine == NULL || !engine->HasOnAbout())
        EnableWindow(GetDlgItem(hwnd, IDC_ENGINE_ABOUT), FALSE);
    // The dialog manager focuses the first tab stop, the OK button.
    return TRUE;
}

LRESULT CAboutDialog::OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != IDC_ENGINE_ABOUT)
        return CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    if (g_pApp->m_pEngine != NULL)
        g_pApp->m_pEngine->OnAbout(hwnd);
    // An engine that faulted in its box is gone: there is nothing left to show.
    if (g_pApp->m_pEngine == NULL)
        EnableItem(IDC_ENGINE_ABOUT, FALSE);
    return TRUE;
}

void CAboutDialog::SetVersionText(HWND window)
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof(path));
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoA(path, handle, size, block.data()))
        return;
    DWORD* translation;
    UINT translationSize;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &translationSize) ||
        translationSize < sizeof(DWORD))
        return;
    char subBlock[512];
    wsprintfA(subBlock, "\\StringFileInfo\\%04x%04x\\FileVersion", LOWORD(*translation), HIWORD(*translation));
    char* version;
    UINT versionSize;
    if (!VerQueryValueA(block.data(), subBlock, reinterpret_cast<void**>(&version), &versionSize))
        return;
    char text[256];
    wsprintfA(text, "Version %s", version);
    SetWindowTextA(window, text);
}
