#include <gtest/gtest.h>

#include "tests/support/ExpectedTexts.h"
#include "tests/support/MorvaneRun.h"

namespace {

struct EngineFault {
    const char* mode; // MORVANE_FAULT for ProbeFaulting.TXV
    DWORD code;
};

// Morvane with ProbeFaulting.TXV as its engine.
class FaultingEngineTest : public MorvaneRunTest, public ::testing::WithParamInterface<EngineFault> {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("MORVANE_FAULT", GetParam().mode);
        CPreferencesScope::SetString("Engine", m_path);
        CPreferencesScope::SetString("EngineFolder", BinaryFolder() + "\\testengines");
        ASSERT_NE(StartAnswering(), nullptr);
    }
    void TearDown() override
    {
        MorvaneRunTest::TearDown();
        SetEnvironmentVariableA("MORVANE_FAULT", nullptr);
    }

    void AnswerFaultBox()
    {
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = FindProcessDialog(m_morvane.Id(), "Morvane")) != nullptr; }, 30000));
        EXPECT_EQ(CMessageBoxWatcher::Read(box).text, ExpectedFault(GetParam().code, m_path));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
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

    std::string m_path = TestEnginePath("ProbeFaulting.TXV");
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
    AnswerFaultBox();
    if (inSettings) {
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(settings); }, 10000)) << "nothing left to set";
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 15000));
        // The list freed the faulted library: the engine chosen is loaded afresh.
        EXPECT_TRUE(
            WaitUntil([&] { return KeepInFront(target) && ControlText(target, kPushButton) == "[OK]"; }, 20000));
    } else {
        EXPECT_EQ(Calls("TXVConvertCaptionString"), 1);
        EXPECT_EQ(ControlText(target, kPushButton), "OK");
    }
    // The current engine ends before the dialog opens and, loaded afresh, at exit.
    ExpectRunsOnAndExits(inSettings ? 2 : 0);
    EXPECT_EQ(Calls(inSettings ? "TXVOnSetting" : "TXVConvertCaptionString"), 1);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultingEngineTest,
                         ::testing::Values(EngineFault{"access", EXCEPTION_ACCESS_VIOLATION},
                                           EngineFault{"divide", EXCEPTION_INT_DIVIDE_BY_ZERO},
                                           EngineFault{"stack", EXCEPTION_STACK_OVERFLOW},
                                           EngineFault{"illegal", EXCEPTION_ILLEGAL_INSTRUCTION},
                                           EngineFault{"setting", EXCEPTION_ACCESS_VIOLATION}),
                         [](const ::testing::TestParamInfo<EngineFault>& info) { return info.param.mode; });

// An engine that shows a box from every conversion runs a message loop in the
// middle of a walk or a hook report: no other one may start meanwhile, and the
// box's own button is never converted.
class BoxingEngineTest : public MorvaneRunTest, public ::testing::WithParamInterface<DWORD> {
protected:
    void TearDown() override
    {
        MorvaneRunTest::TearDown();
        SetEnvironmentVariableA("MORVANE_FAULT", nullptr);
    }
};

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

} // namespace
