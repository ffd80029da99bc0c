#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/WindowBase.h"

#include <commctrl.h>

#include "hook/HookThread.h"
#include "hook/MorLatch.h"
#include "tests/hook/HookTarget.h"
#include "tests/support/ProcessDriver.h"

namespace {

const DWORD kTargetTimeoutMs = 120000;
const char kConvertedText[] = "converted";

HWND HandleOf(const HookTargetWindow& report)
{
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(report.hwnd));
}

// The target's windows have no title bar: only the caption classes among them are of interest.
bool IsReported(const HookTargetWindow& report)
{
    return lstrcmpA(report.className, "Button") == 0 || lstrcmpA(report.className, "Static") == 0;
}

struct Notification {
    HWND hwnd;
    DWORD processId;
    std::string className;
    LPARAM kind;
};

// Stands in for Morvane's main window: records the creation notifications and
// the target's reports, and converts the target's windows during the
// notification when asked to, as the walker does in hook mode.
class CReceiver : public CWindowBase {
public:
    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg) {
        case WM_MORLATCH_REPORT: return OnCreated(hwnd, msg, wParam, lParam);
        case WM_COPYDATA: return OnCopyData(hwnd, msg, wParam, lParam);
        }
        return CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    }

    BOOL CreateReceiver()
    {
        static const char* const className = "MorvaneHookReceiver";
        static ATOM atom = RegisterWindowClass(0, 0, 0, GetModuleHandleA(NULL), NULL, NULL, NULL, NULL, className, NULL);
        return atom != 0 &&
               CWindowBase::Create(className, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL));
    }

    std::vector<Notification> Notifications(DWORD processId) const
    {
        std::vector<Notification> from;
        std::copy_if(m_notifications.begin(), m_notifications.end(), std::back_inserter(from),
                     [processId](const Notification& n) { return n.processId == processId; });
        return from;
    }

    std::vector<Notification> m_notifications;
    std::vector<HookTargetWindow> m_reports;
    bool m_bDone = false;
    DWORD m_nConvertProcessId = 0;

private:
    LRESULT OnCreated(HWND, UINT, WPARAM wParam, LPARAM lParam)
    {
        HWND created = reinterpret_cast<HWND>(wParam);
        Notification n = {created, 0, std::string(64, '\0'), lParam};
        GetWindowThreadProcessId(created, &n.processId);
        n.className.resize(GetClassNameA(created, &n.className[0], static_cast<int>(n.className.size())));
        m_notifications.push_back(n);
        // Marked as Morvane marks its writes: no report of the text comes back.
        if (m_nConvertProcessId != 0 && n.processId == m_nConvertProcessId)
            SendMessageA(created, WM_SETTEXT, MORLATCH_OWN_TEXT, reinterpret_cast<LPARAM>(kConvertedText));
        return 0;
    }

    LRESULT OnCopyData(HWND, UINT, WPARAM, LPARAM lParam)
    {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData == kHookTargetWindow && data->cbData == sizeof(HookTargetWindow))
            m_reports.push_back(*static_cast<const HookTargetWindow*>(data->lpData));
        else if (data->dwData == kHookTargetDone)
            m_bDone = true;
        return TRUE;
    }
};

class HookTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_reporter.CreateReceiver());
        ASSERT_TRUE(m_first.CreateReceiver());
        ASSERT_TRUE(m_second.CreateReceiver());
    }

    // A failing test must not leave the desktop hooked, nor programs left alone.
    void TearDown() override
    {
        MorUnlatch();
        MorLatchExclude("");
    }

    // Runs hook_target.exe until it has reported its windows and ended; the
    // notifications that it causes are handled meanwhile.
    DWORD RunTarget(int count)
    {
        m_reporter.m_reports.clear();
        m_reporter.m_bDone = false;
        CChildProcess target;
        std::string commandLine = "hook_target.exe " +
                                  std::to_string(reinterpret_cast<UINT_PTR>(m_reporter.m_hWnd)) + " " +
                                  std::to_string(count);
        EXPECT_TRUE(target.Start(commandLine));
        m_first.m_nConvertProcessId = m_second.m_nConvertProcessId = m_bConvert ? target.Id() : 0;
        EXPECT_TRUE(WaitUntil([&] { return m_reporter.m_bDone && !target.IsRunning(); }, kTargetTimeoutMs))
            << "the target did not finish";
        return target.Id();
    }

    // Every window of interest that the target created was notified exactly once, and nothing else of the target.
    void ExpectEachWindowNotifiedOnce(const CReceiver& receiver, DWORD targetId, size_t count)
    {
        ASSERT_EQ(m_reporter.m_reports.size(), count);
        std::vector<Notification> notified = receiver.Notifications(targetId);
        for (const HookTargetWindow& report : m_reporter.m_reports) {
            HWND hwnd = HandleOf(report);
            auto isThisWindow = [hwnd](const Notification& n) { return n.hwnd == hwnd; };
            EXPECT_EQ(std::count_if(notified.begin(), notified.end(), isThisWindow), IsReported(report) ? 1 : 0)
                << report.className;
            auto n = std::find_if(notified.begin(), notified.end(), isThisWindow);
            if (n != notified.end()) {
                EXPECT_EQ(n->className, report.className);
            }
        }
        std::string unreported;
        for (const Notification& n : notified) {
            bool reported =
                std::any_of(m_reporter.m_reports.begin(), m_reporter.m_reports.end(),
                            [&n](const HookTargetWindow& report) { return HandleOf(report) == n.hwnd; });
            if (!reported)
                unreported += n.className + " ";
        }
        EXPECT_EQ(unreported, "");
    }

    // A refused window is reported too, though its creation returns nothing to read.
    void ExpectTexts(const char* text)
    {
        for (const HookTargetWindow& report : m_reporter.m_reports) {
            if (lstrcmpA(report.className, HOOK_TARGET_REFUSING_CLASS) != 0) {
                EXPECT_STREQ(report.text, IsReported(report) ? text : HOOK_TARGET_ORIGINAL_TEXT)
                    << report.className;
            }
        }
    }

    CReceiver m_reporter;
    CReceiver m_first;
    CReceiver m_second;
    bool m_bConvert = false;
};

TEST_F(HookTest, EveryWindowOfAnotherProcessIsNotifiedAndConvertedWhileItIsCreated)
{
    // Without a hook, unlatching does nothing and does not stand in the way of the latch.
    MorUnlatch();
    m_bConvert = true;
    ASSERT_EQ(MorLatch(m_first.m_hWnd), 1);
    DWORD target = RunTarget(10);
    MorUnlatch();

    ExpectEachWindowNotifiedOnce(m_first, target, 10);
    EXPECT_TRUE(m_second.m_notifications.empty());
    ExpectTexts(kConvertedText);
}

TEST_F(HookTest, AProgramLeftAloneIsNotReportedFromTheMomentTheListNamesItUntilItNoLongerDoes)
{
    ASSERT_EQ(MorLatch(m_first.m_hWnd), 1);
    MorLatchExclude("notepad.exe;HOOK_TARGET.EXE");
    DWORD excluded = RunTarget(5);
    EXPECT_TRUE(m_first.Notifications(excluded).empty());
    MorLatchExclude("notepad.exe");
    DWORD target = RunTarget(5);
    MorUnlatch();
    ExpectEachWindowNotifiedOnce(m_first, target, 5);
}

TEST_F(HookTest, LatchingAgainMovesTheNotificationsAndOneUnlatchEndsThem)
{
    m_bConvert = true;
    ASSERT_EQ(MorLatch(m_first.m_hWnd), 1);
    ASSERT_EQ(MorLatch(m_second.m_hWnd), 1);
    DWORD target = RunTarget(5);
    ExpectEachWindowNotifiedOnce(m_second, target, 5);
    EXPECT_TRUE(m_first.m_notifications.empty());

    MorUnlatch();
    m_second.m_notifications.clear();
    RunTarget(5);
    EXPECT_TRUE(m_first.m_notifications.empty());
    EXPECT_TRUE(m_second.m_notifications.empty());
    ASSERT_EQ(m_reporter.m_reports.size(), 5u);
    ExpectTexts(HOOK_TARGET_ORIGINAL_TEXT);

    ASSERT_EQ(MorLatch(m_first.m_hWnd), 1);
    target = RunTarget(5);
    MorUnlatch();
    ExpectEachWindowNotifiedOnce(m_first, target, 5);
    EXPECT_TRUE(m_second.m_notifications.empty());
}

// Of the latching process's own windows: each window with what happened to it, or nothing.
TEST_F(HookTest, WindowsOfInterestAreReportedWithWhatHappened)
{
    InitCommonControls();
    ASSERT_EQ(MorLatch(m_first.m_hWnd), 1);
    auto create = [](const char* className, DWORD style) {
        return CreateWindowExA(0, className, "", style, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL), NULL);
    };
    HWND label = create("Static", WS_POPUP), edit = create("Edit", WS_POPUP);
    HWND titled = create("#32770", WS_OVERLAPPEDWINDOW), tab = create(WC_TABCONTROLA, WS_POPUP);
    TCITEMA item = {TCIF_TEXT, 0, 0, const_cast<char*>("tab"), 0, 0, 0};
    SetWindowTextA(label, "set");
    SendMessageA(label, WM_SETTEXT, MORLATCH_OWN_TEXT, reinterpret_cast<LPARAM>("own"));
    SetWindowTextA(edit, "edit");
    SetWindowTextA(titled, "title");
    SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageA(label, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    MorUnlatch();
    HWND afterUnlatch = create("Static", WS_POPUP);
    std::vector<std::pair<HWND, LPARAM>> reported, expected = {
        {label, MORLATCH_CREATED}, {titled, MORLATCH_CREATED}, {tab, MORLATCH_CREATED},
        {label, MORLATCH_TEXT_SET}, {titled, MORLATCH_TEXT_SET}, {tab, MORLATCH_ITEMS_CHANGED}};
    for (const Notification& n : m_first.Notifications(GetCurrentProcessId()))
        reported.emplace_back(n.hwnd, n.kind);
    EXPECT_EQ(reported, expected);
    for (HWND hwnd : {label, edit, titled, tab, afterUnlatch})
        DestroyWindow(hwnd);
}

HWND g_hHookTarget = NULL;

DWORD WINAPI StartHookAndEnd(LPVOID hook)
{
    return static_cast<CHookThread*>(hook)->Start(g_hHookTarget);
}

TEST_F(HookTest, TheHookThreadUnhooksWhenTheThreadThatStartedItEnds)
{
    CHookThread hook;
    g_hHookTarget = m_first.m_hWnd;
    HANDLE starter = CreateThread(NULL, 0, StartHookAndEnd, &hook, 0, NULL);
    DWORD hooked = FALSE;
    ASSERT_EQ(WaitForSingleObject(starter, 10000), WAIT_OBJECT_0);
    GetExitCodeThread(starter, &hooked);
    CloseHandle(starter);
    ASSERT_TRUE(hooked);
    EXPECT_TRUE(WaitUntil(
        [&] {
            DestroyWindow(CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL));
            bool reported = !m_first.m_notifications.empty();
            m_first.m_notifications.clear();
            return !reported;
        },
        10000));
}

} // namespace
