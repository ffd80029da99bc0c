// The tray menu's dialog commands and the tray icon, driven in Morvane's own
// process: dialogs are found by a control of theirs, set with messages and
// clicked, and every effect is awaited.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "hook/MorLatch.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/MorvaneRun.h"
#include "tests/support/TempFolder.h"
#include "ui/resource.h"

namespace {

// The tray icon's callback message and id, as the shell sends them.
const UINT kTrayNotify = WM_APP + 100;
const UINT kTrayIconId = 10;
const DWORD kWaitMs = 15000;

// Sent and answered, or false when the window does not answer in time.
bool Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, msg, wParam, lParam, SMTO_NORMAL, kWaitMs, &result) != 0;
}

class Commands : public MorvaneRunTest {
protected:
    // Morvane's top-level window of the class that holds the control (any visible one for 0).
    HWND Find(const char* className, int controlId) const
    {
        for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window != nullptr;
             window = FindWindowExA(nullptr, window, className, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == m_morvane.Id() &&
                (controlId != 0 ? GetDlgItem(window, controlId) != nullptr : IsWindowVisible(window)))
                return window;
        }
        return nullptr;
    }

    // Morvane's dialog that holds the control, awaited.
    HWND AwaitDialog(int controlId) const
    {
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = Find("#32770", controlId)) != nullptr; }, kWaitMs);
        return dialog;
    }

    HWND OpenDialog(WPARAM command, int controlId)
    {
        Command(command);
        return AwaitDialog(controlId);
    }

    bool Logged(const std::string& line) const
    {
        std::vector<std::string> lines = m_log.Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

const DWORD kNotStored = 0xFFFFFFFF;

struct OptionsStep {
    int mode;   // the radio button chosen
    int button; // the button that closes the dialog
    bool hook;  // the mode in force afterwards
    DWORD stored;
};

// Normal, hook and normal mode again, each switch cancelled first.
const OptionsStep kOptionsSteps[] = {
    {IDC_HOOK_MODE, IDCANCEL, false, kNotStored},
    {IDC_HOOK_MODE, IDOK, true, 1},
    {IDC_NORMAL_MODE, IDCANCEL, true, 1},
    {IDC_NORMAL_MODE, IDOK, false, 0},
};

TEST_F(Commands, OptionsSwitchTheModeWhileMorvaneRunsAndStoreItOnOkOnly)
{
    CPreferencesScope::SetString("Engine", TestEnginePath("ProbeComplete.TXV"));
    CChildProcess backProcess, frontProcess;
    HWND back = StartTarget(backProcess, "controls", "Back");
    HWND front = StartTarget(frontProcess, "controls", "Front");
    ASSERT_NE(back, nullptr);
    ASSERT_NE(front, nullptr);
    ASSERT_NE(StartMorvane(), nullptr);
    int round = 0;
    for (const OptionsStep& step : kOptionsSteps) {
        SCOPED_TRACE(++round);
        HWND dialog = OpenDialog(ID_TRAY_OPTIONS, IDC_HOOK_MODE);
        ASSERT_NE(dialog, nullptr);
        for (int radio : {IDC_NORMAL_MODE, IDC_HOOK_MODE})
            SendMessageA(GetDlgItem(dialog, radio), BM_SETCHECK, radio == step.mode ? BST_CHECKED : BST_UNCHECKED, 0);
        PostClick(dialog, step.button);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWaitMs));

        // Marked as Morvane marks its own writes, the text is not reported: only polling converts it.
        std::string polled = "Polled " + std::to_string(round);
        SendMessageA(GetDlgItem(front, kPushButton), WM_SETTEXT, MORLATCH_OWN_TEXT,
                     reinterpret_cast<LPARAM>(polled.c_str()));
        EXPECT_EQ(HIWORD(Ask(back, WM_TARGET_CREATE, 1)), step.hook ? 1 : 0) << "converted as it was created";
        if (step.hook) {
            ASSERT_TRUE(WaitUntil([&] { return KeepInFront(front); }, kWaitMs));
            // No walk runs in hook mode, so no sentinel can tick: ten conversion periods pass without one.
            WaitUntil([] { return false; }, 1000);
            EXPECT_EQ(ControlText(front, kPushButton), polled) << "no polling once the hook is in";
        } else {
            EXPECT_TRUE(WaitUntil(
                [&] { return KeepInFront(front) && ControlText(front, kPushButton) == "[" + polled + "]"; }, kWaitMs));
        }
        DWORD stored = kNotStored;
        CPreferencesScope::GetDWORD("ResMode", &stored);
        EXPECT_EQ(stored, step.stored);
    }
    EXPECT_EQ(ExitMorvane(), 0);
}

// Morvane with two engines in a folder of their own.
class EngineSettings : public Commands {
protected:
    void SetUp() override
    {
        for (const char* name : {"ProbeComplete.TXV", "ProbeBare.TXV"})
            ASSERT_TRUE(CopyFileA(TestEnginePath(name).c_str(), m_folder.PathOf(name).c_str(), FALSE));
        CPreferencesScope::SetString("EngineFolder", m_folder.Path());
    }

    // Selects the row that is not selected (the first when none is) as the keyboard does.
    static void SelectAnotherRow(HWND dialog)
    {
        HWND list = GetDlgItem(dialog, IDC_ENGINE_LIST);
        LRESULT selected = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
        PostMessageA(list, WM_KEYDOWN, selected == 0 ? VK_END : VK_HOME, 0);
        WaitUntil(
            [&] { return SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) != selected; },
            kWaitMs);
    }

    CTempFolder m_folder;
};

struct NoticeCase {
    const char* name;
    bool storedInLowerCase; // the engine in use at start is ProbeComplete spelled in lower case, else none
    DWORD showNotice;       // ShowChangeEngineInfo at start
    bool tick;              // "don't show again" ticked
    bool noticed;
    DWORD showNoticeAfter;
};

const NoticeCase kNoticeCases[] = {
    {"AnEngineAfterNone", false, 1, false, true, 1},
    {"DontShowAgain", false, 1, true, true, 0},
    {"TheSamePathInOtherCase", true, 1, true, false, 1},
    {"NoticeTurnedOff", false, 0, false, false, 0},
};

class EngineNotice : public EngineSettings, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(EngineNotice, ShowsOnAChangedPathAndStoresDontShowAgain)
{
    const NoticeCase& c = GetParam();
    if (c.storedInLowerCase) {
        std::string engine = m_folder.PathOf("ProbeComplete.TXV");
        CharLowerA(&engine[0]);
        CPreferencesScope::SetString("Engine", engine);
    }
    CPreferencesScope::SetDWORD("ShowChangeEngineInfo", c.showNotice);
    ASSERT_NE(StartMorvane(), nullptr);
    HWND dialog = OpenDialog(ID_TRAY_ENGINE_SETTINGS, IDC_ENGINE_LIST);
    ASSERT_NE(dialog, nullptr);
    if (!c.storedInLowerCase)
        SelectAnotherRow(dialog);
    ASSERT_TRUE(WaitUntil([&] { return !ControlText(dialog, IDC_SAMPLE_RESULT).empty(); }, kWaitMs)) << "an engine selected";
    PostClick(dialog, IDOK);
    // OK writes the preferences once the notice, if any, is answered.
    HWND notice = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            return (notice = Find("#32770", IDC_DONT_SHOW_AGAIN)) != nullptr || CPreferencesScope::Exists("ResMode");
        },
        kWaitMs));
    EXPECT_EQ(notice != nullptr, c.noticed);
    if (notice != nullptr) {
        SendMessageA(GetDlgItem(notice, IDC_DONT_SHOW_AGAIN), BM_SETCHECK, c.tick ? BST_CHECKED : BST_UNCHECKED, 0);
        PostClick(notice, IDOK);
        ASSERT_TRUE(WaitUntil([] { return CPreferencesScope::Exists("ResMode"); }, kWaitMs));
    }
    DWORD showNotice = kNotStored;
    EXPECT_TRUE(CPreferencesScope::GetDWORD("ShowChangeEngineInfo", &showNotice));
    EXPECT_EQ(showNotice, c.showNoticeAfter);
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, EngineNotice, ::testing::ValuesIn(kNoticeCases),
                         [](const ::testing::TestParamInfo<NoticeCase>& info) { return info.param.name; });

TEST_F(EngineSettings, CancelLoadsTheOldEngineAgainAndKeepsTheSampleString)
{
    std::string engine = m_folder.PathOf("ProbeComplete.TXV");
    CPreferencesScope::SetString("Engine", engine);
    CPreferencesScope::SetString("SampleString", "Before");
    ASSERT_NE(StartMorvane(), nullptr);
    HWND dialog = OpenDialog(ID_TRAY_ENGINE_SETTINGS, IDC_ENGINE_LIST);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(dialog, IDC_SAMPLE_RESULT) == "[Before]"; }, kWaitMs));
    PostClick(dialog, IDC_CHANGE_SAMPLE);
    HWND sample = AwaitDialog(IDC_SAMPLE_EDIT);
    ASSERT_NE(sample, nullptr);
    SendMessageA(GetDlgItem(sample, IDC_SAMPLE_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("After"));
    PostClick(sample, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(dialog, IDC_SAMPLE_RESULT) == "[After]"; }, kWaitMs));
    SelectAnotherRow(dialog);
    ASSERT_TRUE(WaitUntil([&] { return Logged("bare TXVInitEngine"); }, kWaitMs));
    PostClick(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWaitMs));
    EXPECT_EQ(ExitMorvane(), 0);

    std::vector<std::string> lines = m_log.Lines();
    auto lastStart = std::find_if(lines.rbegin(), lines.rend(), [](const std::string& line) {
        return line.find(" TXVInitEngine") != std::string::npos;
    });
    ASSERT_NE(lastStart, lines.rend());
    EXPECT_EQ(*lastStart, "complete TXVInitEngine") << "the engine in use before is loaded again";
    std::string stored;
    EXPECT_TRUE(CPreferencesScope::GetString("Engine", &stored));
    EXPECT_EQ(stored, engine);
    EXPECT_TRUE(CPreferencesScope::GetString("SampleString", &stored));
    EXPECT_EQ(stored, "After");
}

struct TrayNotification {
    UINT id;
    LPARAM mouse;
    bool opensMenu;
};

const TrayNotification kTrayNotifications[] = {
    {kTrayIconId, WM_LBUTTONDOWN, true},      {kTrayIconId, WM_RBUTTONDOWN, true},
    {kTrayIconId, WM_LBUTTONUP, false},       {kTrayIconId, WM_RBUTTONUP, false},
    {kTrayIconId, WM_LBUTTONDBLCLK, false},   {kTrayIconId, WM_MOUSEMOVE, false},
    {kTrayIconId + 1, WM_LBUTTONDOWN, false},
};

TEST_F(Commands, APressOnTheTrayIconOpensTheMenu)
{
    ASSERT_NE(StartMorvane(), nullptr);
    for (const TrayNotification& notification : kTrayNotifications) {
        SCOPED_TRACE(notification.mouse);
        ASSERT_TRUE(Send(m_hMainWnd, kTrayNotify, notification.id, notification.mouse));
        HWND menu = nullptr;
        if (notification.opensMenu) {
            ASSERT_TRUE(WaitUntil([&] { return (menu = Find("#32768", 0)) != nullptr; }, kWaitMs));
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            ASSERT_TRUE(WaitUntil([&] { return Find("#32768", 0) == nullptr; }, kWaitMs));
        } else {
            // The end of a session is a posted message whose effect shows: once
            // the preferences are written, an earlier posted menu would be up.
            CPreferencesScope::Clear();
            PostMessageA(m_hMainWnd, WM_ENDSESSION, TRUE, 0);
            ASSERT_TRUE(WaitUntil([] { return CPreferencesScope::Exists("ResMode"); }, kWaitMs));
            EXPECT_EQ(Find("#32768", 0), nullptr);
        }
    }
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(EngineSettings, APressOnTheTrayIconWithADialogOpenBringsTheInnermostForward)
{
    ASSERT_NE(StartMorvane(), nullptr);
    HWND dialog = OpenDialog(ID_TRAY_ENGINE_SETTINGS, IDC_ENGINE_LIST);
    ASSERT_NE(dialog, nullptr);
    PostClick(dialog, IDC_CHANGE_SAMPLE);
    HWND sample = AwaitDialog(IDC_SAMPLE_EDIT);
    ASSERT_NE(sample, nullptr);
    CChildProcess process;
    HWND other = StartTarget(process, "plain", "In front");
    // Answered once the target has handled what brought it to the front.
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }, kWaitMs));
    ASSERT_TRUE(Send(other, WM_NULL, 0, 0));
    ASSERT_EQ(GetForegroundWindow(), other);

    ASSERT_TRUE(Send(m_hMainWnd, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == sample; }, kWaitMs)) << "the innermost dialog, no menu";
    PostClick(sample, IDCANCEL);
    PostClick(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWaitMs));
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(Commands, TaskbarCreatedAddsTheIconAgain)
{
    ASSERT_NE(StartMorvane(), nullptr);
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = m_hMainWnd;
    icon.uID = kTrayIconId;
    // Only an icon the tray holds can be modified. Morvane's window is found
    // before the icon is added, so the icon is awaited.
    ASSERT_TRUE(WaitUntil([&] { return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE; }, kWaitMs));
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon)) << "as a new taskbar starts, without it";
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &icon));
    ASSERT_TRUE(Send(m_hMainWnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0));
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon));
    EXPECT_EQ(ExitMorvane(), 0);
}

// The shell hands an icon to the first taskbar window it finds: this one,
// above all others, refuses every icon, as a shell that is still starting does.
class RefusingTray {
public:
    RefusingTray()
    {
        WNDCLASSA trayClass{};
        trayClass.lpfnWndProc = DefWindowProcA;
        trayClass.hInstance = GetModuleHandleA(nullptr);
        trayClass.lpszClassName = "Shell_TrayWnd";
        RegisterClassA(&trayClass);
        m_hWnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, trayClass.hInstance, nullptr);
    }
    ~RefusingTray() { Close(); }
    void Close()
    {
        if (m_hWnd != nullptr)
            DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
        UnregisterClassA("Shell_TrayWnd", GetModuleHandleA(nullptr));
    }
    HWND m_hWnd;
};

const WPARAM kTrayRetryTimer = 3;

// Started with Windows, Morvane may come before the shell takes icons: it runs
// on and tries again on its timer (here posted, rather than waited for a minute).
TEST_F(Commands, AnIconTheTrayRefusesForAMinuteEndsTheStartUpAfterSavingAndReleasingTheEngine)
{
    RefusingTray tray;
    ASSERT_NE(tray.m_hWnd, nullptr);
    CPreferencesScope::SetString("Engine", TestEnginePath("ProbeComplete.TXV"));
    ASSERT_NE(StartMorvane(), nullptr) << "Morvane runs on without its icon";
    ASSERT_TRUE(Send(m_hMainWnd, WM_TIMER, kTrayRetryTimer, 0));
    EXPECT_EQ(FindProcessDialog(m_morvane.Id(), "Morvane"), nullptr) << "no box after one retry";
    for (int retry = 0; retry < 30; ++retry)
        PostMessageA(m_hMainWnd, WM_TIMER, kTrayRetryTimer, 0);
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (box = FindProcessDialog(m_morvane.Id(), "Morvane")) != nullptr; }, kWaitMs));
    tray.Close();
    ASSERT_NE(box, nullptr);
    SeenMessageBox seen = CMessageBoxWatcher::Read(box);
    EXPECT_EQ(seen.text, ExpectedString(IDS_TRAY_ICON_FAILED));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(m_morvane.WaitExit(kWaitMs), 0);
    EXPECT_TRUE(CPreferencesScope::Exists("ResMode")) << "the preferences are saved";
    EXPECT_TRUE(Logged("complete TXVExitEngine")) << "the engine is ended";
}

TEST_F(Commands, AnIconTheTrayRefusedAtFirstIsAddedWhenTheTaskbarIsCreated)
{
    RefusingTray tray;
    ASSERT_NE(tray.m_hWnd, nullptr);
    ASSERT_NE(StartMorvane(), nullptr);
    ASSERT_TRUE(Send(m_hMainWnd, WM_TIMER, kTrayRetryTimer, 0));
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = m_hMainWnd;
    icon.uID = kTrayIconId;
    tray.Close();
    ASSERT_TRUE(Send(m_hMainWnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0));
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon));
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(Commands, ExitSavesThePreferencesBeforeTheEngineEnds)
{
    // An engine that crashes as it ends cannot cost the preferences: its fault
    // is reported while Morvane ends, and by then they are written.
    SetEnvironmentVariableA("MORVANE_FAULT", "exit");
    ASSERT_NE(StartWith("ProbeFaulting.TXV", 0), nullptr);
    SetEnvironmentVariableA("MORVANE_FAULT", nullptr);
    Command(ID_TRAY_EXIT);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindProcessDialog(m_morvane.Id(), "Morvane")) != nullptr; }, kWaitMs));
    EXPECT_TRUE(CPreferencesScope::Exists("TimerElapseGC"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(m_morvane.WaitExit(kWaitMs), 0);
    EXPECT_EQ(Calls("TXVExitEngine"), 1);
}

TEST_F(Commands, LeavingTheFrontProgramAloneRestoresItsOriginalsAndStoresIt)
{
    ASSERT_NE(StartWith("ProbeComplete.TXV", 0), nullptr);
    HWND target = StartTarget("controls", "Front");
    ASSERT_TRUE(WaitAllConverted(target));
    ASSERT_TRUE(SendCommand(ID_TRAY_EXCLUDE_PROGRAM));
    EXPECT_TRUE(AllOriginal(target));
    std::string stored;
    EXPECT_TRUE(CPreferencesScope::GetString("ExcludedPrograms", &stored));
    EXPECT_EQ(stored, "caption_target.exe");
    EXPECT_EQ(ExitMorvane(), 0);
}

} // namespace
