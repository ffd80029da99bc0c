#include "ui/SampleStringDialog.h"

#include "ui/resource.h"

CSampleStringDialog::CSampleStringDialog() : CIconDialog(IDD_SAMPLE_STRING), m_sampleString(256) {}

LRESULT CSampleStringDialog::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(hwnd, msg, wParam, lParam);
    case WM_COMMAND: return OnCommand(hwnd, msg, wParam, lParam);
    }
    return CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CSampleStringDialog::OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    SetDlgItemTextA(hwnd, IDC_SAMPLE_EDIT, m_sampleString.Text());
    return FALSE;
}

LRESULT CSampleStringDialog::OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDOK) {
        // The text is cut to the string's capacity; the string does not grow.
        GetDlgItemTextA(hwnd, IDC_SAMPLE_EDIT, m_sampleString.Buffer(-1), m_sampleString.Capacity());
        m_sampleString.SyncLength();
        EndDialog(hwnd, IDOK);
        return TRUE;
    }
    CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    return TRUE;
}
