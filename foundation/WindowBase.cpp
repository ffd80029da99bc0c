#include "foundation/WindowBase.h"

#include "app/AppBase.h"
#include "app/QelException.h"
#include "foundation/WindowMap.h"

#include <new>

namespace {

// What an exception of no type of ours is reported as.
const CQelException s_internalError(0);

} // namespace

CWindowBase::CWindowBase() : m_hWnd(NULL), m_pfnPrevWndProc(NULL) {}

CWindowBase::~CWindowBase()
{
    // The derived part is already gone: the destruction messages reach only the base handling.
    if (m_hWnd != NULL)
        DestroyWindow(m_hWnd);
}

BOOL CWindowBase::OnReflectedNotify(HWND, UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

LRESULT CWindowBase::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result;
    if (msg == WM_NOTIFY && ReflectNotify(hwnd, wParam, lParam, &result))
        return result;
    if (m_pfnPrevWndProc != NULL)
        return CallWindowProcA(m_pfnPrevWndProc, hwnd, msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

BOOL CWindowBase::Create(const char* className, const char* windowName, DWORD style, int x, int y, int width,
                         int height, HWND parent, HMENU menu, HINSTANCE instance)
{
    return CreateWindowExA(0, className, windowName, style, x, y, width, height, parent, menu, instance, this) != NULL;
}

BOOL CWindowBase::Create(const char* className, const char* windowName, DWORD style, int x, int y, int width,
                         int height, HWND parent, HMENU menu)
{
    return Create(className, windowName, style, x, y, width, height, parent, menu,
                  CAppBase::s_pRunningApp->m_hInstance);
}

BOOL CWindowBase::Subclass(HWND hwnd)
{
    if (m_pfnPrevWndProc != NULL)
        return FALSE;
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(StaticWindowProc)));
    if (previous == NULL)
        return FALSE;
    if (!g_windowMap.Insert(hwnd, this)) {
        SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(previous));
        return FALSE;
    }
    m_pfnPrevWndProc = previous;
    m_hWnd = hwnd;
    return TRUE;
}

BOOL CWindowBase::ReflectNotify(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CWindowBase* control = g_windowMap.Lookup(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom);
    return control != nullptr && control->OnReflectedNotify(hwnd, WM_NOTIFY, wParam, lParam, result);
}

LRESULT CWindowBase::GuardedWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Memory exhaustion abandons only the message at hand; the user chooses to
    // go on or to quit. Nothing may go further: an exception cannot unwind
    // through the system's frames that called us and would end the process.
    const char* text;
    try {
        try {
            return WindowProc(hwnd, msg, wParam, lParam);
        } catch (const std::bad_alloc&) {
            // The standard library's memory exhaustion is ours too.
            ThrowMemoryException();
        }
    } catch (CQelException* e) {
        text = e->GetErrorText();
    } catch (...) {
        text = s_internalError.GetErrorText();
    }
    if (MessageBoxA(NULL, text, "", MB_OKCANCEL | MB_ICONHAND) == IDCANCEL)
        PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase* object;
    switch (msg) {
    case WM_NCCREATE:
        object = static_cast<CWindowBase*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (object != nullptr) {
            // Returning 0 here makes CreateWindowEx fail.
            if (!g_windowMap.Insert(hwnd, object))
                return 0;
            object->m_hWnd = hwnd;
        }
        break;
    case WM_NCDESTROY:
        object = g_windowMap.Remove(hwnd);
        break;
    default:
        object = g_windowMap.Lookup(hwnd);
        break;
    }
    if (object == nullptr)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = object->GuardedWindowProc(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        object->m_hWnd = NULL;
    return result;
}

ATOM RegisterWindowClass(UINT style, int classExtra, int windowExtra, HINSTANCE instance, HICON icon, HCURSOR cursor,
                         HBRUSH background, const char* menuName, const char* className, HICON smallIcon)
{
    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = StaticWindowProc;
    windowClass.cbClsExtra = classExtra;
    windowClass.cbWndExtra = windowExtra;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszMenuName = menuName;
    windowClass.lpszClassName = className;
    windowClass.hIconSm = smallIcon;
    return RegisterClassExA(&windowClass);
}
