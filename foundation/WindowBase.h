#pragma once

#include <windows.h>

// A window object bound to its handle through g_windowMap. Messages reach the
// virtual WindowProc through StaticWindowProc; derived classes pass what they do
// not handle to the base implementation.
class CWindowBase {
public:
    CWindowBase();
    virtual ~CWindowBase();

    virtual BOOL OnReflectedNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    BOOL Create(const char* className, const char* windowName, DWORD style, int x, int y, int width, int height,
                HWND parent, HMENU menu, HINSTANCE instance);
    BOOL Create(const char* className, const char* windowName, DWORD style, int x, int y, int width, int height,
                HWND parent, HMENU menu);
    BOOL Subclass(HWND hwnd);

    HWND m_hWnd;
    WNDPROC m_pfnPrevWndProc;

protected:
    // Offers a WM_NOTIFY to the object bound to the control that sent it.
    static BOOL ReflectNotify(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    friend LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    friend INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    LRESULT GuardedWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;
};

LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

ATOM RegisterWindowClass(UINT style, int classExtra, int windowExtra, HINSTANCE instance, HICON icon, HCURSOR cursor,
                         HBRUSH background, const char* menuName, const char* className, HICON smallIcon);
