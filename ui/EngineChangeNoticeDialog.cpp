#include "ui/EngineChangeNoticeDialog.h"

#include "ui/resource.h"

CEngineChangeNoticeDialog::CEngineChangeNoticeDialog() : CIconDialog(IDD_ENGINE_CHANGE_NOTICE), m_bDontShowAgain(FALSE)
{
}

LRESULT CEngineChangeNoticeDialog::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(hwnd, msg, wParam, lParam);
    case WM_COMMAND: return OnCommand(hwnd, msg, wParam, lParam);
    }
    return CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CEngineChangeNoticeDialog::OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MessageBeep(MB_ICONASTERISK);
    return CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CEngineChangeNoticeDialog::OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDOK) {
        m_bDontShowAgain = SendDlgItemMessageA(hwnd, IDC_DONT_SHOW_AGAIN, BM_GETCHECK, 0, 0) == BST_CHECKED;
        EndDialog(hwnd, IDOK);
        return TRUE;
    }
    CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    return TRUE;
}
