#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/CaptionTarget.h"
#include "tests/engines/ProbeEngine.h"
#include "tests/reliability/MorvaneRun.h"
#include "tests/support/ExpectedTexts.h"

namespace {

struct EngineFault {
    const char* mode; // MORVANE_FAULT for Faulting.TXV
    DWORD code;
};

// Morvane with Faulting.TXV as its engine, whose calls are logged.
class FaultingEngineTest : public MorvaneRunTest, public ::testing::WithParamInterface<EngineFault> {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("MORVANE_FAULT", GetParam().mode);
        CPreferencesScope::SetString("Engine", m_path);
        CPreferencesScope::SetString("EngineFolder", BinaryFolder() + "\\faultyengines");
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

    int Calls(const char* call) const
    {
        std::vector<std::string> lines = m_log.Lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), call));
    }

    // Alive a while later, Morvane exits as usual and keeps the engine chosen;
    // only an engine that did not fault is ever ended.
    void ExpectRunsOnAndExits(int exits)
    {
        WaitUntil([] { return false; }, 3000);
        EXPECT_TRUE(IsResponsive());
        EXPECT_EQ(ExitMorvane(), 0);
        EXPECT_EQ(Calls("TXVExitEngine"), exits) << "a faulted engine is never called again";
        std::string engine;
        EXPECT_TRUE(CPreferencesScope::GetString("Engine", &engine) && engine == m_path);
    }

    CProbeLog m_log;
    std::string m_path = FaultyEnginePath("Faulting.TXV");
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
    CChildProcess process;
    HWND target = StartTarget(process, "Faulting");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    AnswerFaultBox();
    if (inSettings) {
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(settings); }, 10000)) << "nothing left to set";
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 15000));
        SetForegroundWindow(target);
        // The list freed the faulted library: the engine chosen is loaded afresh.
        EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kPushButton) == "[OK]"; }, 20000));
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
    CProbeLog m_log;
};

TEST_P(BoxingEngineTest, ConvertsOneControlAtATimeAndNothingOfItsOwnBox)
{
    SetEnvironmentVariableA("MORVANE_FAULT", "box");
    CPreferencesScope::SetString("Engine", FaultyEnginePath("Faulting.TXV"));
    CPreferencesScope::SetDWORD("ResMode", GetParam());
    ASSERT_NE(StartAnswering(), nullptr);
    CChildProcess process;
    HWND target = StartTarget(process, "Boxed");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    for (int round = 1; round <= 3; ++round) {
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = FindProcessDialog(m_morvane.Id(), "Faulty engine")) != nullptr; },
                              30000));
        WaitUntil([] { return false; }, 1000);
        std::vector<std::string> lines = m_log.Lines();
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "TXVConvertCaptionString"), round) << "one call at a time";
        EXPECT_EQ(TextOf(GetDlgItem(box, IDOK)), "OK");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));
    }
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, BoxingEngineTest, ::testing::Values(0u, 1u));

} // namespace
