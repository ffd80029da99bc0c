#include "foundation/IconDialog.h"

#include "app/AppBase.h"
#include "ui/resource.h"

CIconDialog* CIconDialog::s_pTopDialog = nullptr;

CIconDialog::CIconDialog(UINT templateId) : CDialogBase(templateId), m_pPrevTop(nullptr), m_hSmallIcon(NULL) {}

int CIconDialog::DoModal(HWND owner)
{
    m_pPrevTop = s_pTopDialog;
    s_pTopDialog = this;
    int result = CDialogBase::DoModal(owner);
    s_pTopDialog = m_pPrevTop;
    m_pPrevTop = nullptr;
    return result;
}

LRESULT CIconDialog::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY: return OnNcDestroy(hwnd, msg, wParam, lParam);
    }
    return CDialogBase::WindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CIconDialog::OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialogBase::WindowProc(hwnd, msg, wParam, lParam);
    // An owned dialog shows no icon of its own.
    if (GetParent(hwnd) != NULL)
        return FALSE;
    HINSTANCE instance = CAppBase::s_pRunningApp->m_hInstance;
    HICON bigIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MORVANE));
    if (bigIcon != NULL)
        SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    m_hSmallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MORVANE), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                 LR_DEFAULTCOLOR));
    if (m_hSmallIcon != NULL)
        SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    return FALSE;
}

LRESULT CIconDialog::OnNcDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_hSmallIcon != NULL) {
        DestroyIcon(m_hSmallIcon);
        m_hSmallIcon = NULL;
    }
    return CDialogBase::WindowProc(hwnd, msg, wParam, lParam);
}
