#include <gtest/gtest.h>

#include "conversion/EngineThread.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/MorvaneRun.h"
#include "ui/resource.h"

namespace {

struct EngineFault {
    const char* mode; // MORVANE_FAULT for ProbeFaulting.TXV
    DWORD code;
};

// Morvane with ProbeFaulting.TXV, whose fault the test picks.
class ProbeFaultingTest : public MorvaneRunTest {
protected:
    void TearDown() override
    {
        MorvaneRunTest::TearDown();
        SetEnvironmentVariableA("MORVANE_FAULT", nullptr);
    }

    void AnswerBox(const std::string& text, HWND owner = nullptr)
    {
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = FindProcessDialog(m_morvane.Id(), "Morvane")) != nullptr; }, 30000));
        EXPECT_EQ(CMessageBoxWatcher::Read(box).text, text);
        EXPECT_EQ(CMessageBoxWatcher::Read(box).owner, owner);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));
    }

    std::string m_path = TestEnginePath("ProbeFaulting.TXV");
};

class FaultingEngineTest : public ProbeFaultingTest, public ::testing::WithParamInterface<EngineFault> {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("MORVANE_FAULT", GetParam().mode);
        CPreferencesScope::SetString("Engine", m_path);
        CPreferencesScope::SetString("EngineFolder", BinaryFolder() + "\\testengines");
        ASSERT_NE(StartAnswering(), nullptr);
    }

    // Alive a while later, Morvane exits as usual and keeps the engine chosen;
    // only an engine that did not fault is ever ended.
    void ExpectRunsOnAndExits(int exits)
    {
        // Nothing converts with the engine stopped, so no sentinel can tick: ten timer periods.
        WaitUntil([] { return false; }, 1000);
        EXPECT_TRUE(IsResponsive());
        EXPECT_EQ(ExitMorvane(), 0);
        EXPECT_EQ(Calls("TXVExitEngine"), exits) << "a faulted engine is never called again";
        std::string engine;
        EXPECT_TRUE(CPreferencesScope::GetString("Engine", &engine) && engine == m_path);
    }
};

TEST_P(FaultingEngineTest, IsStoppedAndReportedAndMorvaneRunsOn)
{
    bool inSettings = std::string(GetParam().mode) == "setting";
    HWND dialog = nullptr;
    HWND settings = nullptr;
    if (inSettings) {
        Command(40003);
        ASSERT_TRUE(WaitUntil([&] { return (dialog = FindProcessDialog(m_morvane.Id(), nullptr)) != nullptr; }, 15000));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(settings = GetDlgItem(dialog, 1009)); }, 15000));
        PostMessageA(dialog, WM_COMMAND, 1009, reinterpret_cast<LPARAM>(settings));
    }
    HWND target = StartTarget("controls", "Faulting");
    ASSERT_NE(target, nullptr);
    if (!inSettings) {
        ASSERT_TRUE(WaitUntil([&] { return Conversions() == 1; }, 20000));
        DWORD_PTR result = 0;
        EXPECT_TRUE(SendMessageTimeoutA(m_hMainWnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result));
    }
    // Owned by the dialog, which cannot free the engine under it meanwhile.
    AnswerBox(ExpectedFault(GetParam().code, m_path), dialog);
    if (inSettings) {
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(settings); }, 10000)) << "nothing left to set";
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 15000));
        // The stopped library is still loaded as it stopped: the engine chosen is not loaded again.
        AnswerBox(ExpectedString(IDS_ENGINE_STOPPED_EARLIER));
    } else {
        EXPECT_EQ(Calls("TXVConvertCaptionString"), 1);
        EXPECT_EQ(ControlText(target, kPushButton), "OK");
    }
    // What the engine made still runs its code.
    if (std::string(GetParam().mode) == "timer") {
        EXPECT_TRUE(WaitUntil([&] { return Calls("timer") >= 10; }, 10000));
    }
    // The current engine ends before the dialog opens.
    ExpectRunsOnAndExits(inSettings ? 1 : 0);
    EXPECT_EQ(Calls(inSettings ? "TXVOnSetting" : "TXVConvertCaptionString"), 1);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultingEngineTest,
                         ::testing::Values(EngineFault{"access", EXCEPTION_ACCESS_VIOLATION},
                                           EngineFault{"divide", EXCEPTION_INT_DIVIDE_BY_ZERO},
                                           EngineFault{"stack", EXCEPTION_STACK_OVERFLOW},
                                           EngineFault{"illegal", EXCEPTION_ILLEGAL_INSTRUCTION},
                                           EngineFault{"throw", 0xE06D7363},
                                           EngineFault{"timer", EXCEPTION_ACCESS_VIOLATION},
                                           EngineFault{"hang", CEngineThread::kHungCode},
                                           EngineFault{"setting", EXCEPTION_ACCESS_VIOLATION}),
                         [](const ::testing::TestParamInfo<EngineFault>& info) { return info.param.mode; });

// An engine that shows a box from every conversion runs a message loop in the
// middle of a walk or a hook report: no other one may start meanwhile, and the
// box's own button is never converted.
class BoxingEngineTest : public ProbeFaultingTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(BoxingEngineTest, ConvertsOneControlAtATimeAndNothingOfItsOwnBox)
{
    SetEnvironmentVariableA("MORVANE_FAULT", "box");
    // Captions only: Morvane still converts every report it put off when Exit
    // comes during a box, a box and about 2 s each under Wine, and a title would
    // be one more than the exit's wait allows.
    CPreferencesScope::SetDWORD("ConvertTitles", 0);
    ASSERT_NE(StartWith("ProbeFaulting.TXV", GetParam()), nullptr);
    HWND target = StartTarget("controls", "Boxed");
    ASSERT_NE(target, nullptr);
    for (int round = 1; round <= 3; ++round) {
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = FindProcessDialog(m_morvane.Id(), "Probe engine")) != nullptr; },
                              30000));
        // No conversion ends while the box is up, so no sentinel can tick: ten timer periods.
        WaitUntil([] { return false; }, 1000);
        EXPECT_EQ(Conversions(), round) << "one call at a time";
        EXPECT_EQ(TextOf(GetDlgItem(box, IDOK)), "OK");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));
    }
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, BoxingEngineTest, ::testing::Values(0u, 1u));

// In hook mode every window created on the desktop waits for Morvane's answer;
// Exit works with the engine's thread stuck and the box up.
TEST_F(ProbeFaultingTest, AHungEngineHoldsUpWindowCreationInHookModeOnlyUntilItIsStopped)
{
    SetEnvironmentVariableA("MORVANE_FAULT", "hang");
    ASSERT_NE(StartWith("ProbeFaulting.TXV", 1), nullptr);
    HWND target = StartTarget("plain", "Hung");
    ASSERT_NE(target, nullptr);
    // Asked again until the hook is in and the first button reaches the engine.
    LRESULT created = 0;
    ASSERT_TRUE(WaitUntil([&] { return LOWORD(created = Ask(target, WM_TARGET_CREATE, 12)) > 0 && Conversions() > 0; },
                          20000));
    EXPECT_LT(LOWORD(created), 5000);
    ASSERT_TRUE(WaitUntil([&] { return FindProcessDialog(m_morvane.Id(), "Morvane") != nullptr; }, 30000));
    EXPECT_EQ(ExitMorvane(), 0);
    EXPECT_EQ(Calls("TXVConvertCaptionString"), 1);
    EXPECT_EQ(Calls("TXVExitEngine"), 0);
}

// The fault message names nothing; one that another program posts, with no
// engine stopped, changes nothing.
TEST_F(ProbeFaultingTest, AForgedFaultMessageIsIgnored)
{
    ASSERT_NE(StartWith("ProbeComplete.TXV", 0), nullptr);
    for (LPARAM forged : {0, 1})
        PostMessageA(m_hMainWnd, WM_APP + 103, EXCEPTION_ACCESS_VIOLATION, forged);
    HWND target = StartTarget("controls", "Forged");
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(WaitAllConverted(target));
    EXPECT_EQ(FindProcessDialog(m_morvane.Id(), "Morvane"), nullptr);
    EXPECT_EQ(ExitMorvane(), 0);
    EXPECT_EQ(Calls("TXVExitEngine"), 1);
}

} // namespace
