#include <gtest/gtest.h>

#include <string>

#include "app/MorvaneApp.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TestApp.h"
#include "ui/resource.h"

namespace {

TEST(TargetClass, OnlyTheFiveClassNamesMatchExactly)
{
    struct Case {
        const char* name;
        BOOL expected;
    } cases[] = {
        {"Button", TRUE},     {"Static", TRUE},     {"TButton", TRUE}, {"TCheckBox", TRUE}, {"TGroupBox", TRUE},
        {"BUTTON", FALSE},    {"button", FALSE},    {"Edit", FALSE},   {"ButtonX", FALSE},  {"Butto", FALSE},
        {"TGroupBox ", FALSE}, {"#32770", FALSE},   {"", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCaptionWalker::IsTargetClass(c.name), c.expected) << c.name;
}

TEST(TrayIcon, ModifyBeforeAddDoesNothing)
{
    CTrayIcon icon;
    EXPECT_FALSE(icon.Modify(NIF_TIP, NULL, "tip"));
    EXPECT_STREQ(icon.GetTip(), "");
}

class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        UseTestApplication();
        RegisterWindowClass(CS_DBLCLKS, 0, 0, g_pApp->m_hInstance, NULL, NULL, NULL, NULL, CMainWnd::s_pszClassName,
                            NULL);
    }
};

TEST_F(MainWindow, AddsTheTrayIconWithTheRunningLookAndSwitchesToStoppedAndBack)
{
    CMainWnd& mainWnd = g_pApp->m_mainWnd;
    ASSERT_TRUE(mainWnd.CreateMainWindow());
    ASSERT_TRUE(mainWnd.m_trayIcon.IsAdded());
    EXPECT_STREQ(mainWnd.m_trayIcon.GetTip(), "Morvane");

    HICON running = mainWnd.m_trayIcon.GetIcon();
    mainWnd.SetSuspended(TRUE);
    EXPECT_EQ(mainWnd.m_trayIcon.GetTip(), ExpectedString(IDS_APP_NAME_STOPPED));
    HICON stopped = mainWnd.m_trayIcon.GetIcon();
    EXPECT_NE(stopped, running);
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(running, &info)) << "the icon no longer shown is destroyed";

    mainWnd.SetSuspended(FALSE);
    EXPECT_STREQ(mainWnd.m_trayIcon.GetTip(), "Morvane");
    EXPECT_FALSE(GetIconInfo(stopped, &info));
    ASSERT_TRUE(GetIconInfo(mainWnd.m_trayIcon.GetIcon(), &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    DestroyWindow(mainWnd.m_hWnd);
    EXPECT_FALSE(mainWnd.m_trayIcon.IsAdded());
    EXPECT_EQ(mainWnd.m_hWnd, nullptr);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "destroying the window ends the program";
}

TEST_F(MainWindow, HoldsTheToggleHotKeyWhoseKeyFlipsTheOriginalsAsTheMenuCommandDoes)
{
    CMainWnd& mainWnd = g_pApp->m_mainWnd;
    g_pApp->m_settings.ToggleHotKey = 0x0006007B;
    ASSERT_TRUE(mainWnd.CreateMainWindow());
    EXPECT_FALSE(mainWnd.m_toggleHotKey.IsTaken());
    const BOOL shown = mainWnd.m_walker.AreOriginalsShown();
    for (BYTE key : {VK_CONTROL, VK_SHIFT, VK_F12})
        keybd_event(key, 0, 0, 0);
    for (BYTE key : {VK_F12, VK_SHIFT, VK_CONTROL})
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(WaitUntil([&] { return mainWnd.m_walker.AreOriginalsShown() != shown; }, 10000)) << "the key reaches the command";
    SendMessageA(mainWnd.m_hWnd, WM_COMMAND, ID_TRAY_ORIGINALS, 0);
    EXPECT_EQ(shown, mainWnd.m_walker.AreOriginalsShown());
    DestroyWindow(mainWnd.m_hWnd);
    MSG msg;
    PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);

    ASSERT_TRUE(RegisterHotKey(NULL, 7, MOD_CONTROL | MOD_SHIFT, VK_F12)) << "released with the window";
    ASSERT_TRUE(mainWnd.CreateMainWindow()) << "a key held elsewhere does not stop Morvane";
    EXPECT_TRUE(mainWnd.m_toggleHotKey.IsTaken());
    UnregisterHotKey(NULL, 7);
    DestroyWindow(mainWnd.m_hWnd);
    PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(MainWindow, PauseTogglesWithoutChangingTheLook)
{
    CMainWnd& mainWnd = g_pApp->m_mainWnd;
    ASSERT_TRUE(mainWnd.CreateMainWindow());
    SendMessageA(mainWnd.m_hWnd, WM_COMMAND, 40004, 0);
    EXPECT_TRUE(mainWnd.m_bPaused);
    EXPECT_STREQ(mainWnd.m_trayIcon.GetTip(), "Morvane");
    SendMessageA(mainWnd.m_hWnd, WM_COMMAND, 40004, 0);
    EXPECT_FALSE(mainWnd.m_bPaused);
    DestroyWindow(mainWnd.m_hWnd);
    MSG msg;
    PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
}

bool g_bAllocationsFail = false;
decltype(&GlobalAlloc) g_originalGlobalAlloc = nullptr;

HGLOBAL WINAPI GlobalAllocFailing(UINT flags, SIZE_T bytes)
{
    return g_bAllocationsFail ? NULL : g_originalGlobalAlloc(flags, bytes);
}

TEST_F(MainWindow, ACommandThatRunsOutOfMemoryStillLiftsTheSuspension)
{
    CMainWnd& mainWnd = g_pApp->m_mainWnd;
    ASSERT_TRUE(mainWnd.CreateMainWindow());
    CImportPatch patch("kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(GlobalAllocFailing));
    ASSERT_TRUE(patch.IsApplied());
    g_originalGlobalAlloc = patch.Original<decltype(&GlobalAlloc)>();
    CMessageBoxWatcher boxes(IDOK);
    g_bAllocationsFail = true;
    SendMessageA(mainWnd.m_hWnd, WM_COMMAND, ID_TRAY_ENGINE_SETTINGS, 0);
    g_bAllocationsFail = false;
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, ExpectedString(IDS_OUT_OF_MEMORY));
    EXPECT_FALSE(mainWnd.m_bSuspended);
    EXPECT_STREQ(mainWnd.m_trayIcon.GetTip(), "Morvane");
    DestroyWindow(mainWnd.m_hWnd);
    MSG msg;
    PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
}

int HookFails(HWND)
{
    return 0;
}

TEST_F(MainWindow, WithoutAHookItConvertsInNormalModeAndSaysSo)
{
    CMainWnd& mainWnd = g_pApp->m_mainWnd;
    CImportPatch patch("MorLatch.dll", "MorLatch", reinterpret_cast<void*>(HookFails));
    ASSERT_TRUE(patch.IsApplied());
    g_pApp->m_settings.ResMode = 1;
    CMessageBoxWatcher boxes(IDOK);
    ASSERT_TRUE(mainWnd.CreateMainWindow());
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0], MorvaneWarning(ExpectedString(IDS_HOOK_FAILED)));
    EXPECT_TRUE(KillTimer(mainWnd.m_hWnd, IDT_CONVERT)) << "the normal mode's timer runs";
    EXPECT_EQ(g_pApp->m_settings.ResMode, 1u) << "the next start tries again";
    g_pApp->m_settings.ResMode = 0;
    DestroyWindow(mainWnd.m_hWnd);
    MSG msg;
    PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
}

} // namespace
