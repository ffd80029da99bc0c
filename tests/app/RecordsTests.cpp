#include <gtest/gtest.h>

#include "app/MorvaneApp.h"
#include "conversion/Engine.h"
#include "tests/engines/ProbeEngine.h"
#include "tests/support/TestApp.h"

namespace {

// The walker's records, watched from inside: a window of this process is the
// foreground window and the ticks are delivered by hand.
class Records : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTestApplication();
        RegisterWindowClass(0, 0, 0, g_pApp->m_hInstance, NULL, NULL, NULL, NULL, CMainWnd::s_pszClassName, NULL);
        ASSERT_TRUE(g_pApp->m_mainWnd.CreateMainWindow());
        // The ticks come from this test, not from the timers.
        KillTimer(g_pApp->m_mainWnd.m_hWnd, 1);
        KillTimer(g_pApp->m_mainWnd.m_hWnd, 2);
        ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath("ProbeComplete.TXV").c_str()));

        m_hTop = CreateWindowExA(0, "Static", "top", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, NULL, NULL, NULL, NULL);
        m_hButton = CreateWindowExA(0, "Button", "OK", WS_CHILD, 0, 0, 50, 20, m_hTop, NULL, NULL, NULL);
        m_hEdit = CreateWindowExA(0, "Edit", "text", WS_CHILD, 0, 30, 50, 20, m_hTop, NULL, NULL, NULL);
        SetForegroundWindow(m_hTop);
        ASSERT_EQ(GetForegroundWindow(), m_hTop);
    }

    void TearDown() override
    {
        if (IsWindow(m_hTop))
            DestroyWindow(m_hTop);
        g_pApp->LoadEngine(NULL);
        DestroyWindow(g_pApp->m_mainWnd.m_hWnd);
        MSG msg;
        PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
        g_pApp->m_mainWnd.m_walker.m_wndList.RemoveAll();
    }

    void Tick(WPARAM timer) { SendMessageA(g_pApp->m_mainWnd.m_hWnd, WM_TIMER, timer, 0); }

    static std::string Text(HWND hwnd)
    {
        char text[256] = "";
        GetWindowTextA(hwnd, text, sizeof(text));
        return text;
    }

    CWndList& List() { return g_pApp->m_mainWnd.m_walker.m_wndList; }

    HWND m_hTop = NULL;
    HWND m_hButton = NULL;
    HWND m_hEdit = NULL;
};

TEST_F(Records, AConversionTickRemembersTheEngineOutputForEachTargetControl)
{
    Tick(1);
    CWndEntry* top = List().FindTopEntry(m_hTop);
    ASSERT_NE(top, nullptr);
    CWndEntry* button = List().FindChildEntry(top, m_hButton);
    ASSERT_NE(button, nullptr);
    EXPECT_STREQ(button->m_text.Text(), "[OK]");
    EXPECT_EQ(Text(m_hButton), "[OK]");
    EXPECT_EQ(List().FindChildEntry(top, m_hEdit), nullptr) << "no record for a class outside the table";
    EXPECT_EQ(Text(m_hEdit), "text");
    EXPECT_EQ(Text(m_hTop), "top");

    Tick(1);
    EXPECT_EQ(List().FindTopEntry(m_hTop), top) << "the records of a window seen before are reused";
    EXPECT_EQ(List().FindChildEntry(top, m_hButton), button);
    EXPECT_EQ(button->m_pChildLink, nullptr) << "one record per control";
}

TEST_F(Records, NothingIsConvertedOrRecordedWhilePausedOrSuspended)
{
    CMainWnd& mainWnd = g_pApp->m_mainWnd;
    mainWnd.m_bPaused = TRUE;
    Tick(1);
    EXPECT_EQ(List().FindTopEntry(m_hTop), nullptr);
    mainWnd.m_bPaused = FALSE;
    mainWnd.m_bSuspended = TRUE;
    Tick(1);
    EXPECT_EQ(List().FindTopEntry(m_hTop), nullptr);
    EXPECT_EQ(Text(m_hButton), "OK");
    mainWnd.m_bSuspended = FALSE;
}

TEST_F(Records, TheCleanUpTickFreesTheRecordsOfAClosedWindowWithinOneRound)
{
    Tick(1);
    ASSERT_NE(List().FindTopEntry(m_hTop), nullptr);
    Tick(2);
    ASSERT_NE(List().FindTopEntry(m_hTop), nullptr) << "a live window keeps its records";
    HWND gone = m_hTop;
    DestroyWindow(m_hTop);
    for (int bucket = 0; bucket < 256; ++bucket)
        Tick(2);
    EXPECT_EQ(List().FindTopEntry(gone), nullptr);
}

TEST_F(Records, WithoutAnEngineControlsAreRecordedEmptyAndConvertedOnceOneIsLoaded)
{
    g_pApp->LoadEngine(NULL);
    Tick(1);
    CWndEntry* top = List().FindTopEntry(m_hTop);
    ASSERT_NE(top, nullptr);
    EXPECT_STREQ(List().FindChildEntry(top, m_hButton)->m_text.Text(), "");
    EXPECT_EQ(Text(m_hButton), "OK");

    ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath("ProbeComplete.TXV").c_str()));
    Tick(1);
    EXPECT_EQ(Text(m_hButton), "[OK]");
}

} // namespace
