#include <string>
#include <vector>

#include "app/AppBase.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "ui/resource.h"

namespace {

const UINT WM_END_WITH_77 = WM_APP + 3;

RECT WindowRect(HWND hwnd)
{
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return rect;
}

// The width of a valid icon, -1 for a handle that is no icon (any more).
int IconWidth(HICON icon)
{
    ICONINFO info;
    if (icon == NULL || !GetIconInfo(icon, &info))
        return -1;
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor != NULL ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

class DialogTest : public FrameworkTest {};

TEST_F(DialogTest, ConstructionKeepsTheLowWordOfTheTemplateIdAndTheApplicationInstance)
{
    CScriptedDialog dialog(0x10000 | IDD_FRAMEWORK_TEST);
    EXPECT_EQ(dialog.m_nTemplateId, static_cast<UINT>(IDD_FRAMEWORK_TEST));
    EXPECT_EQ(dialog.m_hInstance, CAppBase::s_pRunningApp->m_hInstance);
    AtInit(dialog, PostOk);
    EXPECT_EQ(dialog.DoModal(NULL), IDOK);
}

TEST_F(DialogTest, BindingHoldsFromInitDialogToNcDestroy)
{
    CScriptedIconDialog dialog(IDD_FRAMEWORK_TEST);
    HWND atInit = NULL, ownHandleAtNcDestroy = NULL;
    CWindowBase* foundAtInit = nullptr;
    CWindowBase* foundAtNcDestroy = &dialog;
    AtInit(dialog, [&](HWND hwnd) {
        atInit = dialog.m_hWnd;
        foundAtInit = g_windowMap.Lookup(hwnd);
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.on[WM_NCDESTROY] = [&](HWND hwnd, WPARAM wParam, LPARAM lParam) {
        foundAtNcDestroy = g_windowMap.Lookup(hwnd);
        ownHandleAtNcDestroy = dialog.m_hWnd;
        return dialog.BaseProc(hwnd, WM_NCDESTROY, wParam, lParam);
    };

    EXPECT_EQ(dialog.DoModal(NULL), IDCANCEL);
    ASSERT_NE(atInit, static_cast<HWND>(NULL));
    EXPECT_EQ(foundAtInit, &dialog);
    EXPECT_EQ(dialog.seen.front(), static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(dialog.seen.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(foundAtNcDestroy, nullptr);
    EXPECT_EQ(ownHandleAtNcDestroy, atInit);
    EXPECT_EQ(dialog.m_hWnd, static_cast<HWND>(NULL));
    EXPECT_EQ(g_windowMap.Lookup(atInit), nullptr);
}

TEST_F(DialogTest, MissingTemplateGivesMinusOneAndLeavesTheChainEmpty)
{
    CScriptedIconDialog dialog(IDD_FRAMEWORK_MISSING);
    EXPECT_EQ(dialog.DoModal(NULL), -1);
    EXPECT_EQ(CIconDialog::s_pTopDialog, nullptr);
    EXPECT_EQ(dialog.m_pPrevTop, nullptr);
}

TEST_F(DialogTest, OkAndCancelEndTheDialogWithTheirIdOtherCommandsDoNot)
{
    struct Case {
        const char* name;
        WPARAM command;
        int expected;
    };
    const Case cases[] = {
        {"ok", IDOK, IDOK},
        {"cancel", IDCANCEL, IDCANCEL},
        {"ok clicked", MAKEWPARAM(IDOK, BN_CLICKED), IDOK},
        {"other command", 1000, 77},
        {"other command with ok in the high word", MAKEWPARAM(1000, IDOK), 77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto run = [&c](auto&& dialog) {
            AtInit(dialog, [&c](HWND hwnd) {
                PostMessageA(hwnd, WM_COMMAND, c.command, 0);
                PostMessageA(hwnd, WM_END_WITH_77, 0, 0);
            });
            dialog.on[WM_END_WITH_77] = [](HWND hwnd, WPARAM, LPARAM) {
                return static_cast<LRESULT>(EndDialog(hwnd, 77));
            };
            return dialog.DoModal(NULL);
        };
        EXPECT_EQ(run(CScriptedDialog(IDD_FRAMEWORK_TEST)), c.expected) << "CDialogBase";
        EXPECT_EQ(run(CScriptedIconDialog(IDD_FRAMEWORK_TEST)), c.expected) << "CIconDialog";
    }
}

class CentringTest : public DialogTest {
protected:
    void SetUp() override { ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_workArea, 0)); }
    void TearDown() override { SystemParametersInfoA(SPI_SETWORKAREA, 0, &m_workArea, 0); }

    RECT m_workArea = {};
};

TEST_F(CentringTest, DialogIsCentredOnItsOwnerOrTheWorkAreaWithoutClamping)
{
    // Without an owner the reference is the work area, which the test sets to the rectangle of the case.
    struct Case {
        const char* name;
        bool owned;
        RECT reference;
        int width;
        int height;
        int x;
        int y;
    };
    const Case cases[] = {
        {"example", true, {100, 100, 500, 400}, 301, 200, 150, 150},
        {"odd owner", true, {0, 0, 401, 301}, 100, 51, 150, 125},
        {"larger than the owner", true, {10, 10, 110, 60}, 301, 200, -90, -65},
        {"work area", false, {40, 30, 640, 430}, 301, 201, 190, 130},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND owner = NULL;
        RECT reference = {};
        if (c.owned) {
            owner = CreatePlainWindow(c.reference);
            ASSERT_NE(owner, static_cast<HWND>(NULL));
            reference = WindowRect(owner);
        } else {
            RECT workArea = c.reference;
            ASSERT_TRUE(SystemParametersInfoA(SPI_SETWORKAREA, 0, &workArea, 0));
            ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &reference, 0));
        }
        ASSERT_TRUE(EqualRect(&reference, &c.reference));

        CScriptedDialog dialog(IDD_FRAMEWORK_TEST);
        RECT centred = {};
        dialog.on[WM_INITDIALOG] = [&](HWND hwnd, WPARAM wParam, LPARAM lParam) {
            SetWindowPos(hwnd, NULL, 0, 0, c.width, c.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            dialog.BaseProc(hwnd, WM_INITDIALOG, wParam, lParam);
            centred = WindowRect(hwnd);
            PostOk(hwnd);
            return FALSE;
        };
        EXPECT_EQ(dialog.DoModal(owner), IDOK);
        EXPECT_EQ(centred.left, c.x);
        EXPECT_EQ(centred.top, c.y);
        EXPECT_EQ(centred.right - centred.left, c.width);
        EXPECT_EQ(centred.bottom - centred.top, c.height);
        if (owner != NULL)
            DestroyWindow(owner);
    }
}

TEST_F(DialogTest, OnlyAnIconDialogWithoutOwnerCarriesTheProgramIcon)
{
    struct Case {
        const char* name;
        bool iconDialog;
        bool owned;
        bool icons;
    };
    const Case cases[] = {
        {"icon dialog without owner", true, false, true},
        {"icon dialog with owner", true, true, false},
        {"plain dialog without owner", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND owner = c.owned ? CreatePlainWindow(RECT{0, 0, 300, 300}) : NULL;
        HICON big = NULL, small = NULL;
        int smallWidth = 0;
        auto readIcons = [&](HWND hwnd) {
            big = reinterpret_cast<HICON>(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0));
            small = reinterpret_cast<HICON>(SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0));
            smallWidth = IconWidth(small);
            PostOk(hwnd);
        };
        CScriptedIconDialog iconDialog(IDD_FRAMEWORK_TEST);
        CScriptedDialog plainDialog(IDD_FRAMEWORK_TEST);
        AtInit(iconDialog, readIcons);
        AtInit(plainDialog, readIcons);
        EXPECT_EQ(c.iconDialog ? iconDialog.DoModal(owner) : plainDialog.DoModal(owner), IDOK);

        if (!c.icons) {
            EXPECT_EQ(big, static_cast<HICON>(NULL));
            EXPECT_EQ(small, static_cast<HICON>(NULL));
        } else {
            EXPECT_EQ(big, LoadIconA(CAppBase::s_pRunningApp->m_hInstance, MAKEINTRESOURCEA(IDI_MORVANE)));
            EXPECT_EQ(smallWidth, GetSystemMetrics(SM_CXSMICON));
            EXPECT_NE(small, big);
            // The shared big icon stays; the small one was the dialog's own and is released with it.
            EXPECT_EQ(IconWidth(big), GetSystemMetrics(SM_CXICON));
            EXPECT_EQ(IconWidth(small), -1);
        }
        if (owner != NULL)
            DestroyWindow(owner);
    }
}

TEST_F(DialogTest, NestedIconDialogsStackOnTheOpenDialogChain)
{
    const UINT WM_OPEN_INNER = WM_APP + 4;
    CScriptedIconDialog outer(IDD_FRAMEWORK_TEST);
    CScriptedIconDialog inner(IDD_FRAMEWORK_TEST);
    std::vector<std::string> trace;
    auto chain = [&](const char* when) {
        std::string top = CIconDialog::s_pTopDialog == &outer   ? "outer"
                          : CIconDialog::s_pTopDialog == &inner ? "inner"
                          : CIconDialog::s_pTopDialog == nullptr ? "none"
                                                                  : "?";
        trace.push_back(std::string(when) + ": top " + top + ", outer prev " +
                        (outer.m_pPrevTop == nullptr ? "none" : "?") + ", inner prev " +
                        (inner.m_pPrevTop == nullptr ? "none" : inner.m_pPrevTop == &outer ? "outer" : "?"));
    };
    AtInit(outer, [&](HWND hwnd) {
        chain("outer open");
        PostMessageA(hwnd, WM_OPEN_INNER, 0, 0);
    });
    outer.on[WM_OPEN_INNER] = [&](HWND hwnd, WPARAM, LPARAM) {
        EXPECT_EQ(inner.DoModal(hwnd), IDOK);
        chain("inner closed");
        PostOk(hwnd);
        return TRUE;
    };
    AtInit(inner, [&](HWND hwnd) {
        chain("inner open");
        PostOk(hwnd);
    });

    EXPECT_EQ(outer.DoModal(NULL), IDOK);
    chain("outer closed");
    const std::vector<std::string> expected = {
        "outer open: top outer, outer prev none, inner prev none",
        "inner open: top inner, outer prev none, inner prev outer",
        "inner closed: top outer, outer prev none, inner prev none",
        "outer closed: top none, outer prev none, inner prev none",
    };
    EXPECT_EQ(trace, expected);
}

} // namespace
