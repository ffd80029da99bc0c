#include <memory>
#include <string>

#include "app/AppBase.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

const UINT WM_PROBE = WM_APP + 7;

class WindowTest : public FrameworkTest {};

TEST_F(WindowTest, RegisteredClassCarriesTheGivenValuesAndTheStaticProcedure)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    HICON icon = LoadIconA(NULL, IDI_WARNING);
    HICON smallIcon = LoadIconA(NULL, IDI_APPLICATION);
    HCURSOR cursor = LoadCursorA(NULL, IDC_CROSS);
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ASSERT_NE(RegisterWindowClass(CS_DBLCLKS, 4, 8, instance, icon, cursor, background, "SomeMenu", "MorvaneClassProbe",
                                  smallIcon),
              0);

    WNDCLASSEXA registered = {};
    registered.cbSize = sizeof(registered);
    ASSERT_TRUE(GetClassInfoExA(instance, "MorvaneClassProbe", &registered));
    EXPECT_EQ(registered.lpfnWndProc, StaticWindowProc);
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(registered.cbClsExtra, 4);
    EXPECT_EQ(registered.cbWndExtra, 8);
    EXPECT_EQ(registered.hIcon, icon);
    EXPECT_EQ(registered.hIconSm, smallIcon);
    EXPECT_EQ(registered.hCursor, cursor);
    EXPECT_EQ(registered.hbrBackground, background);
    EXPECT_STREQ(registered.lpszMenuName, "SomeMenu");

    EXPECT_EQ(RegisterWindowClass(0, 0, 0, instance, NULL, NULL, NULL, NULL, "MorvaneClassProbe", NULL), 0);
    UnregisterClassA("MorvaneClassProbe", instance);
}

TEST_F(WindowTest, BindingHoldsFromNcCreateToNcDestroy)
{
    CScriptedWindow window;
    HWND atNcCreate = NULL, atCreate = NULL;
    CWindowBase* foundAtNcCreate = nullptr;
    CWindowBase* foundAtNcDestroy = &window;
    HWND ownHandleAtNcDestroy = NULL;
    window.on[WM_NCCREATE] = [&](HWND hwnd, WPARAM wParam, LPARAM lParam) {
        atNcCreate = window.m_hWnd;
        foundAtNcCreate = g_windowMap.Lookup(hwnd);
        return window.BaseProc(hwnd, WM_NCCREATE, wParam, lParam);
    };
    window.on[WM_CREATE] = [&](HWND, WPARAM, LPARAM) {
        atCreate = window.m_hWnd;
        return 0;
    };
    window.on[WM_NCDESTROY] = [&](HWND hwnd, WPARAM wParam, LPARAM lParam) {
        foundAtNcDestroy = g_windowMap.Lookup(hwnd);
        ownHandleAtNcDestroy = window.m_hWnd;
        return window.BaseProc(hwnd, WM_NCDESTROY, wParam, lParam);
    };

    ASSERT_TRUE(CreateProbe(window));
    HWND hwnd = window.m_hWnd;
    ASSERT_TRUE(IsWindow(hwnd));
    ASSERT_FALSE(window.seen.empty());
    EXPECT_EQ(window.seen.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(atNcCreate, hwnd);
    EXPECT_EQ(foundAtNcCreate, &window);
    EXPECT_EQ(atCreate, hwnd);
    EXPECT_EQ(g_windowMap.Lookup(hwnd), &window);

    ASSERT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(foundAtNcDestroy, nullptr);
    EXPECT_EQ(ownHandleAtNcDestroy, hwnd);
    EXPECT_EQ(window.m_hWnd, static_cast<HWND>(NULL));
    EXPECT_EQ(window.seen.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST_F(WindowTest, WindowWithoutCreationParameterIsNeverBound)
{
    HWND hwnd = CreateWindowExA(0, FrameworkWindowClass(), "before", WS_POPUP, 0, 0, 50, 50, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    ASSERT_NE(hwnd, static_cast<HWND>(NULL));
    EXPECT_EQ(g_windowMap.Lookup(hwnd), nullptr);
    // DefWindowProcA keeps the text.
    EXPECT_TRUE(SetWindowTextA(hwnd, "after"));
    char text[16] = "";
    GetWindowTextA(hwnd, text, sizeof(text));
    EXPECT_STREQ(text, "after");
    EXPECT_EQ(SendMessageA(hwnd, WM_PROBE, 1, 2), 0);
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(g_windowMap.Lookup(hwnd), nullptr);
}

TEST_F(WindowTest, CreateUsesTheGivenInstanceOrTheRunningApplication)
{
    HINSTANCE other = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(RegisterWindowClass(0, 0, 0, other, NULL, NULL, NULL, NULL, "MorvaneOtherInstance", NULL), 0);
    CScriptedWindow explicitInstance;
    ASSERT_TRUE(explicitInstance.Create("MorvaneOtherInstance", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, other));
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongA(explicitInstance.m_hWnd, GWL_HINSTANCE)), other);

    CScriptedWindow runningApp;
    ASSERT_TRUE(CreateProbe(runningApp));
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongA(runningApp.m_hWnd, GWL_HINSTANCE)),
              CAppBase::s_pRunningApp->m_hInstance);

    DestroyWindow(explicitInstance.m_hWnd);
    UnregisterClassA("MorvaneOtherInstance", other);
}

TEST_F(WindowTest, CreateOfAnUnknownClassFailsAndLeavesTheObjectUnbound)
{
    CScriptedWindow window;
    EXPECT_FALSE(window.Create("MorvaneNoSuchClass", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(window.m_hWnd, static_cast<HWND>(NULL));
}

TEST_F(WindowTest, SubclassRoutesMessagesThroughTheObjectToThePreviousProcedure)
{
    HWND control = CreateStatic(NULL);
    ASSERT_NE(control, static_cast<HWND>(NULL));
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongA(control, GWL_WNDPROC));

    CScriptedWindow object;
    std::string textSeen;
    object.on[WM_SETTEXT] = [&](HWND hwnd, WPARAM wParam, LPARAM lParam) {
        textSeen = reinterpret_cast<const char*>(lParam);
        return object.BaseProc(hwnd, WM_SETTEXT, wParam, lParam);
    };
    ASSERT_TRUE(object.Subclass(control));
    EXPECT_EQ(object.m_hWnd, control);
    EXPECT_EQ(object.m_pfnPrevWndProc, original);
    EXPECT_EQ(g_windowMap.Lookup(control), &object);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(control, GWL_WNDPROC)), StaticWindowProc);

    SetWindowTextA(control, "routed");
    EXPECT_EQ(textSeen, "routed");
    char text[16] = "";
    GetWindowTextA(control, text, sizeof(text));
    EXPECT_STREQ(text, "routed");

    ASSERT_TRUE(DestroyWindow(control));
    EXPECT_EQ(object.m_hWnd, static_cast<HWND>(NULL));
    EXPECT_EQ(g_windowMap.Lookup(control), nullptr);
}

TEST_F(WindowTest, SecondSubclassIsRefusedAndLeavesTheOtherWindowAlone)
{
    HWND first = CreateStatic(NULL);
    HWND second = CreateStatic(NULL);
    LONG secondProc = GetWindowLongA(second, GWL_WNDPROC);
    CWindowBase object;
    ASSERT_TRUE(object.Subclass(first));
    EXPECT_FALSE(object.Subclass(second));
    EXPECT_EQ(object.m_hWnd, first);
    EXPECT_EQ(GetWindowLongA(second, GWL_WNDPROC), secondProc);
    EXPECT_EQ(g_windowMap.Lookup(second), nullptr);
    DestroyWindow(second);
}

TEST_F(WindowTest, SubclassOfAnInvalidHandleFailsWithoutUsingTheObjectUp)
{
    CWindowBase object;
    EXPECT_FALSE(object.Subclass(reinterpret_cast<HWND>(0x7FFE)));
    EXPECT_EQ(object.m_hWnd, static_cast<HWND>(NULL));
    HWND control = CreateStatic(NULL);
    EXPECT_TRUE(object.Subclass(control));
}

TEST_F(WindowTest, NotificationGoesToTheAcceptingControlObjectOrToTheDefault)
{
    enum class ParentKind { Created, Subclassed, Dialog };
    enum class ControlKind { Unbound, Declining, Accepting };
    struct Case {
        const char* name;
        ParentKind parent;
        ControlKind control;
        LRESULT expected;
    };
    const Case cases[] = {
        {"created, unbound", ParentKind::Created, ControlKind::Unbound, 0},
        {"created, declining", ParentKind::Created, ControlKind::Declining, 0},
        {"created, accepting", ParentKind::Created, ControlKind::Accepting, 555},
        {"subclassed, unbound", ParentKind::Subclassed, ControlKind::Unbound, kPlainNotifyResult},
        {"subclassed, declining", ParentKind::Subclassed, ControlKind::Declining, kPlainNotifyResult},
        {"subclassed, accepting", ParentKind::Subclassed, ControlKind::Accepting, 555},
        // A dialog answers through its message result.
        {"dialog, unbound", ParentKind::Dialog, ControlKind::Unbound, 0},
        {"dialog, declining", ParentKind::Dialog, ControlKind::Declining, 0},
        {"dialog, accepting", ParentKind::Dialog, ControlKind::Accepting, 555},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNotifyTarget target(c.control == ControlKind::Accepting, 555);
        CNotifyTarget* bound = c.control == ControlKind::Unbound ? nullptr : &target;
        CScriptedWindow parent;
        CScriptedDialog dialog(IDD_FRAMEWORK_TEST);
        LRESULT answer = -1;
        if (c.parent == ParentKind::Dialog) {
            AtInit(dialog, [&](HWND hwnd) {
                answer = SendNotify(hwnd, bound);
                PostOk(hwnd);
            });
            EXPECT_EQ(dialog.DoModal(NULL), IDOK);
        } else {
            ASSERT_TRUE(c.parent == ParentKind::Created ? CreateProbe(parent)
                                                        : parent.Subclass(CreatePlainWindow(RECT{0, 0, 50, 50})));
            answer = SendNotify(parent.m_hWnd, bound);
        }
        EXPECT_EQ(answer, c.expected);
    }
}

TEST_F(WindowTest, DestructorDestroysTheWindowStillBound)
{
    struct Case {
        const char* name;
        bool subclassed;
    };
    for (const Case& c : {Case{"created", false}, Case{"subclassed", true}}) {
        SCOPED_TRACE(c.name);
        auto window = std::make_unique<CScriptedWindow>();
        if (c.subclassed) {
            ASSERT_TRUE(window->Subclass(CreateStatic(NULL)));
        } else {
            ASSERT_TRUE(CreateProbe(*window));
        }
        HWND hwnd = window->m_hWnd;
        window.reset();
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(g_windowMap.Lookup(hwnd), nullptr);
    }
}

} // namespace
