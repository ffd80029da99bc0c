#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/MorvaneApp.h"
#include "conversion/Engine.h"
#include "hook/MorLatch.h"
#include "tests/engines/ProbeEngine.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TestApp.h"
#include "ui/resource.h"

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
        // The windows converted here are the test's, in the process that runs Morvane's code.
        g_pApp->m_mainWnd.m_walker.m_programFilter.m_nOwnProcess = 0;

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
    void ToggleOriginals() { SendMessageA(g_pApp->m_mainWnd.m_hWnd, WM_COMMAND, 40006, 0); }

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
    EXPECT_EQ(TextOf(m_hButton), "[OK]");
    CWndEntry* edit = List().FindChildEntry(top, m_hEdit);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->m_bPassedOver) << "a class outside the table is remembered as such";
    EXPECT_EQ(TextOf(m_hEdit), "text");
    EXPECT_EQ(TextOf(m_hTop), "[top]") << "the title has a record of its own";

    Tick(1);
    EXPECT_EQ(List().FindTopEntry(m_hTop), top) << "the records of a window seen before are reused";
    EXPECT_EQ(List().FindChildEntry(top, m_hButton), button);
    EXPECT_EQ(top->m_nChildren, 2) << "one record per window";
}

// A handle whose record outlived its window may come to name a window of another class.
TEST_F(Records, ARecordWhoseHandleNowNamesAnotherClassNeverConvertsIt)
{
    Tick(1);
    CWndEntry* top = List().FindTopEntry(m_hTop);
    ASSERT_NE(top, nullptr);
    CWndEntry* stale = List().AddChildEntry(top, CWndEntry(m_hEdit, "[gone]"));
    ASSERT_NE(stale, nullptr);
    Tick(1);
    EXPECT_EQ(TextOf(m_hEdit), "text");
    EXPECT_TRUE(stale->m_bPassedOver);
    SetWindowTextA(m_hEdit, "changed");
    Tick(1);
    EXPECT_EQ(TextOf(m_hEdit), "changed");
    EXPECT_EQ(TextOf(m_hButton), "[OK]");
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
    EXPECT_EQ(TextOf(m_hButton), "OK");
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

TEST_F(Records, WithoutAnEngineControlsAreRecordedUnconvertedAndConvertedOnceOneIsLoaded)
{
    g_pApp->LoadEngine(NULL);
    Tick(1);
    CWndEntry* top = List().FindTopEntry(m_hTop);
    ASSERT_NE(top, nullptr);
    EXPECT_STREQ(List().FindChildEntry(top, m_hButton)->m_text.Text(), "OK");
    EXPECT_FALSE(List().FindChildEntry(top, m_hButton)->m_bWritten);
    EXPECT_EQ(TextOf(m_hButton), "OK");

    ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath("ProbeComplete.TXV").c_str()));
    Tick(1);
    EXPECT_EQ(TextOf(m_hButton), "[OK]");
}

// What the control shows after the originals are turned on and off again, when
// something happens to it between its conversion and the first toggle.
TEST_F(Records, OriginalsComeBackAndAreConvertedAgainUnlessTheProgramChangedTheCaption)
{
    struct Case {
        const char* name;
        const char* setBetween; // what the program writes after the conversion, or null
        const char* engineBetween; // the engine chosen while the originals show, or null
        const char* shown;
        const char* again;
    } cases[] = {
        {"untouched", nullptr, nullptr, "OK", "[OK]"},
        {"changed by its program", "Mine", nullptr, "Mine", "[Mine]"},
        {"another engine chosen", nullptr, "Upper.TXV", "OK", "OK"},
        {"another engine, a lower-case caption", "Cancel", "Upper.TXV", "Cancel", "CANCEL"},
    };
    CMainWnd& mainWnd = g_pApp->m_mainWnd;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath("ProbeComplete.TXV").c_str()));
        SetWindowTextA(m_hButton, c.setBetween != nullptr && c.engineBetween != nullptr ? c.setBetween : "OK");
        Tick(1);
        if (c.setBetween != nullptr && c.engineBetween == nullptr)
            SetWindowTextA(m_hButton, c.setBetween);

        ToggleOriginals();
        EXPECT_EQ(TextOf(m_hButton), c.shown);
        EXPECT_EQ(mainWnd.m_trayIcon.GetTip(), ExpectedString(IDS_APP_NAME_ORIGINALS));
        Tick(1);
        EXPECT_EQ(TextOf(m_hButton), c.shown) << "no conversion while the originals show";
        if (c.engineBetween != nullptr) {
            ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath(c.engineBetween).c_str()));
        }

        ToggleOriginals();
        EXPECT_EQ(TextOf(m_hButton), c.again) << "converted from the original, never from Morvane's own text";
        EXPECT_STREQ(mainWnd.m_trayIcon.GetTip(), "Morvane");
        Tick(1);
        EXPECT_EQ(TextOf(m_hButton), c.again);
    }
}

TEST_F(Records, AControlGoneBeforeTheOriginalsShowIsSkipped)
{
    Tick(1);
    HWND second = CreateWindowExA(0, "Button", "Two", WS_CHILD, 0, 60, 50, 20, m_hTop, NULL, NULL, NULL);
    Tick(1);
    DestroyWindow(m_hButton);
    ToggleOriginals();
    EXPECT_EQ(TextOf(second), "Two");
    ToggleOriginals();
    EXPECT_EQ(TextOf(second), "[Two]");
}

TEST_F(Records, RecordsOfControlsThatAreGoneAreFreedWhileTheirWindowStaysOpen)
{
    Tick(1);
    CWndEntry* top = List().FindTopEntry(m_hTop);
    ASSERT_NE(top, nullptr);
    // A program that replaces its button at every tick.
    for (int round = 0; round < 1000; ++round) {
        DestroyWindow(m_hButton);
        m_hButton = CreateWindowExA(0, "Button", "OK", WS_CHILD, 0, 0, 50, 20, m_hTop, NULL, NULL, NULL);
        Tick(1);
    }
    EXPECT_LE(top->m_nChildren, 64 + 1) << "records stay within twice the live controls and a small floor";

    for (int i = 0; i < 10; ++i)
        CreateWindowExA(0, "Static", "Label", WS_CHILD, 0, 0, 50, 20, m_hTop, NULL, NULL, NULL);
    Tick(1);
    DestroyWindow(m_hButton);
    for (int bucket = 0; bucket < 256; ++bucket)
        Tick(2);
    EXPECT_EQ(top->m_nChildren, 10 + 1) << "one round of the clean-up frees the records of every control gone";
}

// The engine's calls for the push button in the log.
int Asked(const CProbeLog& log)
{
    return log.Count("complete TXVConvertCaptionString Button 256");
}

// How the control's program takes a converted text that Morvane writes.
enum Taking { kWithoutTheLast, kNotAtAll, kAsAdministrator };
Taking g_taking;
decltype(&SendMessageTimeoutA) g_originalSend = nullptr;

LRESULT WINAPI SendTaking(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT ms, PDWORD_PTR result)
{
    std::string text = msg == WM_SETTEXT ? reinterpret_cast<const char*>(lParam) : "";
    if (text[0] != '[')
        return g_originalSend(hwnd, msg, wParam, lParam, flags, ms, result);
    if (g_taking != kWithoutTheLast) {
        SetLastError(ERROR_ACCESS_DENIED);
        return g_taking == kNotAtAll;
    }
    text.pop_back();
    return g_originalSend(hwnd, msg, wParam, reinterpret_cast<LPARAM>(text.c_str()), flags, ms, result);
}

TEST_F(Records, ACaptionThatDoesNotReadBackAsWrittenIsConvertedOnceAndKeepsItsOriginal)
{
    CImportPatch patch("user32.dll", "SendMessageTimeoutA", reinterpret_cast<void*>(SendTaking));
    ASSERT_TRUE(patch.IsApplied());
    g_originalSend = patch.Original<decltype(&SendMessageTimeoutA)>();
    struct Case {
        const char* caption;
        Taking taking;
        const char* shown;
    } cases[] = {{"Cut", kWithoutTheLast, "[Cut"}, {"Kept", kNotAtAll, "Kept"}, {"Admin", kAsAdministrator, "Admin"}};
    CTrayIcon& tray = g_pApp->m_mainWnd.m_trayIcon;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        g_taking = c.taking;
        SetWindowTextA(m_hButton, c.caption);
        CProbeLog log;
        for (int tick = 0; tick < 3; ++tick)
            Tick(1);
        EXPECT_EQ(TextOf(m_hButton), c.shown);
        EXPECT_EQ(Asked(log), 1) << "the engine is never handed what the control made of its output";
        ToggleOriginals();
        EXPECT_EQ(TextOf(m_hButton), c.caption);
        ToggleOriginals();
        EXPECT_EQ(TextOf(m_hButton), c.shown) << "converted again from the original";
    }
    EXPECT_EQ(tray.GetTip(), ExpectedString(IDS_APP_NAME_REFUSED));
    CProbeLog log;
    SetWindowTextA(m_hButton, "Changed");
    Tick(1);
    EXPECT_EQ(Asked(log), 0) << "a window that refuses writes as an administrator's does is not converted";
    DestroyWindow(m_hTop);
    Tick(2);
    EXPECT_STREQ(tray.GetTip(), "Morvane") << "the tip tells it while the window is open";
}

std::wstring WideTextOf(HWND hwnd)
{
    WCHAR text[256] = L"";
    GetWindowTextW(hwnd, text, 256);
    return text;
}

TEST_F(Records, UnicodeCaptionsAreConvertedWithoutLossOrLeftAlone)
{
    // Each caption and its conversion, null where it is left alone.
    const wchar_t* cases[][2] = {{L"OK", L"[OK]"},
                                 {L"\u65e5\u672c\u8a9e \uff5e", L"[\u65e5\u672c\u8a9e \uff5e]"},
                                 {L"Caf\u00e9 \u00a9 2024 \u2013 \u2122", nullptr}};
    Tick(1);
    for (const auto& c : cases) {
        HWND button = CreateWindowExW(0, L"Button", c[0], WS_CHILD, 0, 0, 50, 20, m_hTop, NULL, NULL, NULL);
        ASSERT_TRUE(IsWindowUnicode(button));
        CProbeLog log;
        Tick(1);
        EXPECT_EQ(WideTextOf(button), c[1] != nullptr ? c[1] : c[0]);
        EXPECT_EQ(Asked(log), c[1] != nullptr ? 1 : 0);
        ToggleOriginals();
        EXPECT_EQ(WideTextOf(button), c[0]) << "the original comes back exactly";
        ToggleOriginals();
        DestroyWindow(button);
    }
}

// The texts of a window that are not captions, in one string: title, tab, column, menu bar item, its submenu's item.
std::string KindsOf(HWND top, HWND tabs, HWND header)
{
    char tab[64] = "", column[64] = "", bar[64] = "", item[64] = "";
    TCITEMA tabItem = {TCIF_TEXT, 0, 0, tab, sizeof(tab), 0, 0};
    SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tabItem));
    HDITEMA headerItem = {};
    headerItem.mask = HDI_TEXT;
    headerItem.pszText = column;
    headerItem.cchTextMax = sizeof(column);
    SendMessageA(header, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&headerItem));
    GetMenuStringA(GetMenu(top), 0, bar, sizeof(bar), MF_BYPOSITION);
    GetMenuStringA(GetSubMenu(GetMenu(top), 0), 0, item, sizeof(item), MF_BYPOSITION);
    return TextOf(top) + "|" + tab + "|" + column + "|" + bar + "|" + item;
}

class RecordsOfKinds : public Records {
protected:
    void SetUp() override
    {
        Records::SetUp();
        m_hTabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD, 0, 60, 100, 20, m_hTop, NULL, NULL, NULL);
        TCITEMA tab = {TCIF_TEXT, 0, 0, const_cast<char*>("One"), 0, 0, 0};
        SendMessageA(m_hTabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tab));
        m_hHeader = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD, 0, 90, 100, 20, m_hTop, NULL, NULL, NULL);
        HDITEMA column = {};
        column.mask = HDI_TEXT;
        column.pszText = const_cast<char*>("Col");
        SendMessageA(m_hHeader, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&column));
        HMENU bar = CreateMenu();
        HMENU file = CreatePopupMenu();
        AppendMenuA(file, MF_STRING, 1, "Open");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
        SetMenu(m_hTop, bar);
    }
    std::string Kinds() { return KindsOf(m_hTop, m_hTabs, m_hHeader); }

    HWND m_hTabs = NULL;
    HWND m_hHeader = NULL;
};

// Menus are those of this process: another program's menus cannot be reached where Wine runs.
TEST_F(RecordsOfKinds, TitleTabsHeadersAndMenusAreConvertedOnceAndTheirOriginalsComeBack)
{
    Tick(1);
    EXPECT_EQ(Kinds(), "[top]|[One]|[Col]|[File]|[Open]");
    Tick(1);
    EXPECT_EQ(Kinds(), "[top]|[One]|[Col]|[File]|[Open]") << "nothing of Morvane's goes back to the engine";
    ToggleOriginals();
    EXPECT_EQ(Kinds(), "top|One|Col|File|Open");
    ToggleOriginals();
    EXPECT_EQ(Kinds(), "[top]|[One]|[Col]|[File]|[Open]");

    g_pApp->m_mainWnd.m_walker.SetKinds(kTabKind | kMenuKind);
    EXPECT_EQ(Kinds(), "top|[One]|Col|[File]|[Open]") << "a kind turned off shows its originals at once";
    g_pApp->m_mainWnd.m_walker.SetKinds(kAllKinds);
    Tick(1);
    EXPECT_EQ(Kinds(), "[top]|[One]|[Col]|[File]|[Open]");
}

// What the hook reports (a top-level window, a tab control) converts its title or items at once.
TEST_F(RecordsOfKinds, AReportedWindowHasItsTitleOrItemsConvertedAndAChangedItemConvertedAgain)
{
    CCaptionWalker& walker = g_pApp->m_mainWnd.m_walker;
    // A top-level window of a target class is converted as a caption; this one is not.
    HWND frame = CreateWindowExA(0, "Edit", "frame", WS_POPUP, 0, 0, 50, 20, NULL, NULL, NULL, NULL);
    walker.ConvertReported(frame, MORLATCH_CREATED, g_pApp->m_pEngine);
    walker.ConvertReported(m_hTabs, MORLATCH_CREATED, g_pApp->m_pEngine);
    EXPECT_EQ(Kinds(), "top|[One]|Col|File|Open");
    TCITEMA tab = {TCIF_TEXT, 0, 0, const_cast<char*>("Two"), 0, 0, 0};
    SendMessageA(m_hTabs, TCM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tab));
    walker.ConvertReported(m_hTabs, MORLATCH_ITEMS_CHANGED, g_pApp->m_pEngine);
    walker.ConvertReported(frame, MORLATCH_TEXT_SET, g_pApp->m_pEngine);
    EXPECT_EQ(Kinds(), "top|[Two]|Col|File|Open");
    EXPECT_EQ(TextOf(frame), "[frame]");
    DestroyWindow(frame);
}

} // namespace
