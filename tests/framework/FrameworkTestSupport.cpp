#include "tests/framework/FrameworkTestSupport.h"

#include "app/AppBase.h"

namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY)
        return kPlainNotifyResult;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

BOOL CNotifyTarget::OnReflectedNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    ++m_nCalls;
    m_seen = {hwnd, msg, wParam, lParam, 0, {}};
    *result = m_nAnswer;
    return m_bAccept;
}

const char* FrameworkWindowClass()
{
    static const char* name = nullptr;
    if (name == nullptr &&
        RegisterWindowClass(0, 0, 0, CAppBase::s_pRunningApp->m_hInstance, NULL, LoadCursorA(NULL, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), NULL, "MorvaneFrameworkTest", NULL) != 0)
        name = "MorvaneFrameworkTest";
    return name;
}

BOOL CreateProbe(CWindowBase& window)
{
    return window.Create(FrameworkWindowClass(), "probe", WS_POPUP, 0, 0, 50, 50, NULL, NULL);
}

const char* PlainWindowClass()
{
    static const char* name = nullptr;
    if (name == nullptr) {
        WNDCLASSA plain = {};
        plain.lpfnWndProc = PlainProc;
        plain.hInstance = GetModuleHandleA(NULL);
        plain.lpszClassName = "MorvaneFrameworkPlain";
        if (RegisterClassA(&plain) != 0)
            name = plain.lpszClassName;
    }
    return name;
}

HWND CreatePlainWindow(const RECT& rect)
{
    return CreateWindowExA(0, PlainWindowClass(), "", WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, NULL, NULL, GetModuleHandleA(NULL), NULL);
}

HWND CreateStatic(HWND parent)
{
    DWORD style = parent != NULL ? WS_CHILD : WS_POPUP;
    return CreateWindowExA(0, "Static", "", style, 0, 0, 10, 10, parent, NULL, GetModuleHandleA(NULL), NULL);
}

bool TakeQuitMessage(WPARAM* code)
{
    MSG msg;
    if (!PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE))
        return false;
    *code = msg.wParam;
    return true;
}

LRESULT SendNotify(HWND parent, CNotifyTarget* target)
{
    HWND control = CreateStatic(parent);
    if (target != nullptr) {
        EXPECT_TRUE(target->Subclass(control));
    }
    NMHDR header = {control, 42, 0x1234};
    LRESULT answer = SendMessageA(parent, WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header));
    if (target != nullptr) {
        EXPECT_EQ(target->m_nCalls, 1);
        EXPECT_EQ(target->m_seen.hwnd, parent);
        EXPECT_EQ(target->m_seen.message, static_cast<UINT>(WM_NOTIFY));
        EXPECT_EQ(target->m_seen.wParam, 42u);
        EXPECT_EQ(target->m_seen.lParam, reinterpret_cast<LPARAM>(&header));
    }
    return answer;
}
