#include "foundation/DialogBase.h"

#include "app/AppBase.h"
#include "foundation/WindowMap.h"

CDialogBase::CDialogBase(UINT templateId)
    : m_hInstance(CAppBase::s_pRunningApp->m_hInstance), m_nTemplateId(templateId & 0xFFFF)
{
}

int CDialogBase::DoModal(HWND owner)
{
    return static_cast<int>(DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(m_nTemplateId), owner, StaticDialogProc,
                                            reinterpret_cast<LPARAM>(this)));
}

void CDialogBase::EnableItem(int id, BOOL enable)
{
    HWND item = GetDlgItem(m_hWnd, id);
    if (!enable && GetFocus() == item)
        SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(item, enable);
}

LRESULT CDialogBase::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NOTIFY: return OnNotify(hwnd, msg, wParam, lParam);
    case WM_INITDIALOG: return OnInitDialog(hwnd, msg, wParam, lParam);
    case WM_COMMAND: return OnCommand(hwnd, msg, wParam, lParam);
    }
    return FALSE;
}

LRESULT CDialogBase::OnNotify(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam)
{
    // A dialog procedure returns its result through DWL_MSGRESULT.
    LRESULT result;
    if (!ReflectNotify(hwnd, wParam, lParam, &result))
        return FALSE;
    SetWindowLongA(hwnd, DWL_MSGRESULT, result);
    return TRUE;
}

LRESULT CDialogBase::OnInitDialog(HWND hwnd, UINT, WPARAM, LPARAM)
{
    RECT reference;
    HWND parent = GetParent(hwnd);
    if (parent != NULL)
        GetWindowRect(parent, &reference);
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &reference, 0);
    RECT own;
    GetWindowRect(hwnd, &own);
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    int x = reference.left + (reference.right - reference.left) / 2 - width / 2;
    int y = reference.top + (reference.bottom - reference.top) / 2 - height / 2;
    MoveWindow(hwnd, x, y, width, height, FALSE);
    return FALSE;
}

LRESULT CDialogBase::OnCommand(HWND hwnd, UINT, WPARAM wParam, LPARAM)
{
    WORD id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL)
        return FALSE;
    EndDialog(hwnd, id);
    return TRUE;
}

INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase* object;
    switch (msg) {
    case WM_INITDIALOG:
        object = reinterpret_cast<CWindowBase*>(lParam);
        if (object == nullptr)
            return FALSE;
        if (!g_windowMap.Insert(hwnd, object)) {
            EndDialog(hwnd, IDCANCEL);
            return FALSE;
        }
        object->m_hWnd = hwnd;
        break;
    case WM_NCDESTROY:
        object = g_windowMap.Remove(hwnd);
        break;
    default:
        object = g_windowMap.Lookup(hwnd);
        break;
    }
    if (object == nullptr)
        return FALSE;
    LRESULT result = object->GuardedWindowProc(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        object->m_hWnd = NULL;
    return result;
}
