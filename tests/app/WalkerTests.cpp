#include <gtest/gtest.h>

#include "tests/support/MorvaneRun.h"
#include "tests/support/PreferencesScope.h"

namespace {

using Walker = MorvaneRunTest;

TEST_F(Walker, NormalModeConvertsTheTargetClassesOfTheForegroundWindowOnce)
{
    ASSERT_NE(StartWith("ProbeComplete.TXV", 0), nullptr);
    HWND target = StartTarget("controls", "Walker target");
    ASSERT_NE(target, nullptr);

    ASSERT_TRUE(WaitAllConverted(target));
    EXPECT_EQ(ControlText(target, kEdit), "Edit text");
    EXPECT_EQ(ControlText(target, kOtherClass), "Other");
    EXPECT_EQ(ControlText(target, kEmptyButton), "") << "an empty text never reaches the engine";
    EXPECT_TRUE(WaitUntil([&] { return TextOf(target) == "[Walker target]"; }, 5000));

    int ticks = SettleWalks(target);
    ASSERT_GE(ticks, 2);
    EXPECT_EQ(Conversions(), 9 + ticks) << "in the steady state the engine is not called again";

    SendMessageA(GetDlgItem(target, kPushButton), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Again"));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kPushButton) == "[Again]"; }, 5000));
    ticks = SettleWalks(target);
    EXPECT_EQ(Conversions(), 10 + ticks);
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(Walker, NormalModeLeavesBackgroundWindowsUntilTheyComeToTheFront)
{
    // Both targets exist before Morvane starts: each comes to the front as it opens.
    HWND back = StartTarget("controls", "Back");
    HWND front = StartTarget("controls", "Front");
    ASSERT_NE(back, nullptr);
    ASSERT_NE(front, nullptr);
    ASSERT_NE(StartWith("ProbeComplete.TXV", 0), nullptr);
    ASSERT_TRUE(WaitAllConverted(front));
    ASSERT_GE(SettleWalks(front), 2);
    EXPECT_EQ(ControlText(back, kPushButton), "OK");

    SetForegroundWindow(back);
    EXPECT_TRUE(WaitAllConverted(back));
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(Walker, NormalModeAsksAgainForDeclinedCaptionsOnlyEveryFewSeconds)
{
    ASSERT_NE(StartWith("ProbeDeclines.TXV", 0), nullptr);
    HWND target = StartTarget("controls", "Declined");
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Conversions() >= 8; }, 20000));
    DWORD first = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return Conversions() >= 8 * 2; }, 20000)) << "asked again while they stay declined";
    EXPECT_GE(GetTickCount() - first, 1000u) << "not at every tick";
    EXPECT_EQ(ControlText(target, kPushButton), "OK") << "a declined conversion leaves the control alone";
    EXPECT_EQ(ExitMorvane(), 0);
}

// Nothing converts while paused, so no sentinel can tick: a few timer periods
// are all there is to wait for.
void WaitWhileNothingConverts()
{
    WaitUntil([] { return false; }, 500);
}

TEST_F(Walker, PauseStopsConversionAndResumingConvertsWhatChanged)
{
    ASSERT_NE(StartWith("ProbeComplete.TXV", 0), nullptr);
    HWND target = StartTarget("controls", "Paused");
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(WaitAllConverted(target));

    ASSERT_TRUE(SendCommand(40004));
    SendMessageA(GetDlgItem(target, kPushButton), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Paused"));
    WaitWhileNothingConverts();
    EXPECT_EQ(ControlText(target, kPushButton), "Paused");

    ASSERT_TRUE(SendCommand(40004));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kPushButton) == "[Paused]"; }, 5000));
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(Walker, AHungWindowDoesNotStopMorvane)
{
    ASSERT_NE(StartWith("ProbeComplete.TXV", 0), nullptr);
    HWND live = StartTarget("controls", "Live");
    HWND hung = StartTarget("controls", "Hung");
    ASSERT_NE(live, nullptr);
    ASSERT_NE(hung, nullptr);
    ASSERT_TRUE(WaitAllConverted(hung));
    int converted = Conversions();
    PostMessageA(hung, WM_TARGET_HANG, 60000, 0);
    auto answers = [hung] {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(hung, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result) != 0;
    };
    ASSERT_TRUE(WaitUntil([&] { return !answers(); }, 10000)) << "the target must hang";
    // The walker converts the text set before the hang, to write it back to a window that does not answer.
    ASSERT_TRUE(WaitUntil([&] { return Conversions() > converted; }, 20000));

    SetForegroundWindow(live);
    SendMessageA(GetDlgItem(live, kPushButton), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Live"));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(live, kPushButton) == "[Live]"; }, 20000))
        << "other windows are still converted";
    EXPECT_FALSE(answers()) << "converted while the other target still hangs";
    EXPECT_EQ(ExitMorvane(), 0) << "Morvane exits cleanly";
}

class HookMode : public Walker, public ::testing::WithParamInterface<DWORD> {};

TEST_P(HookMode, ConvertsTargetClassesAsTheyAreCreatedAndAsTheirCaptionsAreSet)
{
    ASSERT_NE(StartWith("ProbeComplete.TXV", GetParam()), nullptr);
    HWND target = StartTarget("controls", "Hooked");
    ASSERT_NE(target, nullptr);
    for (const TargetControl& control : kControls) {
        // Hook mode passes empty texts too.
        LRESULT expected = control.converted || control.id == kEmptyButton ? kCreatedConverted : kCreatedOriginal;
        EXPECT_EQ(Ask(target, WM_TARGET_CREATED_TEXT, control.id), expected) << "control " << control.id;
    }
    EXPECT_EQ(TextOf(target), "[Hooked]") << "a top-level window's title is converted as it is created";

    SendMessageA(GetDlgItem(target, kPushButton), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Later"));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kPushButton) == "[Later]"; }, 5000))
        << "a caption set later is converted too";
    EXPECT_EQ(HIWORD(Ask(target, WM_TARGET_CREATE, 1)), 1);

    ASSERT_TRUE(SendCommand(40004));
    EXPECT_EQ(HIWORD(Ask(target, WM_TARGET_CREATE, 1)), 0) << "nothing is converted while paused";
    ASSERT_TRUE(SendCommand(40004));
    EXPECT_EQ(HIWORD(Ask(target, WM_TARGET_CREATE, 1)), 1);
    EXPECT_EQ(ControlText(target, kFirstCreated + 1), "h");

    EXPECT_EQ(Ask(target, WM_TARGET_WIZARD), TRUE) << "the caption set in WM_INITDIALOG";
    HWND wizard = FindWindowA("#32770", "[Wizard]");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(wizard, kWizardButton) == "[&Finish]"; }, 5000));
    Ask(target, WM_TARGET_INSIST);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kInsisting) == "i"; }, 5000));
    WaitWhileNothingConverts();
    EXPECT_EQ(ControlText(target, kInsisting), "i") << "the program put its caption straight back: it keeps it";
    // Put back once, it is converted again; a machine too slow to put it back in time converts it once more.
    EXPECT_LE(Ask(target, WM_TARGET_INSIST), 3);
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_P(HookMode, ConvertsWhatTwoThreadsCreateAtOnceAndEverythingAfter)
{
    ASSERT_NE(StartWith("ProbeComplete.TXV", GetParam()), nullptr);
    HWND target = StartTarget("plain", "Threads");
    ASSERT_TRUE(WaitUntilHooked(target));
    EXPECT_EQ(Ask(target, WM_TARGET_THREADS, 500), 1000);
    EXPECT_EQ(Ask(target, WM_TARGET_THREADS, 50), 100) << "a thread's stale report kept it from the next";
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(StoredModes, HookMode, ::testing::Values(1u, 2u));

using Originals = HookMode;

TEST_P(Originals, TheCommandShowsTheOriginalsOfEveryOpenWindowAndConvertsThemAgain)
{
    ASSERT_NE(StartWith("ProbeComplete.TXV", GetParam()), nullptr);
    HWND first = StartTarget("controls", "First");
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(WaitAllConverted(first));
    HWND second = StartTarget("controls", "Second");
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(WaitAllConverted(second));

    ASSERT_TRUE(SendCommand(40006));
    EXPECT_TRUE(WaitUntil([&] { return AllOriginal(first) && AllOriginal(second); }, 5000));
    EXPECT_EQ(HIWORD(Ask(second, WM_TARGET_CREATE, 1)), 0);
    WaitWhileNothingConverts();
    EXPECT_EQ(ControlText(second, kFirstCreated), "h") << "nothing is converted while the originals show";

    ASSERT_TRUE(SendCommand(40006));
    EXPECT_TRUE(WaitUntil([&] { return AllConverted(first) && AllConverted(second); }, 5000))
        << "converted from the originals, never from Morvane's own texts";
    EXPECT_TRUE(WaitUntil([&] { return ControlText(second, kFirstCreated) == "[h]"; }, 5000));
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, Originals, ::testing::Values(0u, 1u));

using ExcludedProgram = HookMode;

// A copy of the target under another name is another program to Morvane.
TEST_P(ExcludedProgram, StaysAsItIsWhileAnotherProgramConverts)
{
    ASSERT_TRUE(CopyFileA(Bin("caption_target.exe").c_str(), Bin("caption_other.exe").c_str(), FALSE));
    CPreferencesScope::SetString("ExcludedPrograms", "notepad.exe; CAPTION_OTHER.EXE");
    ASSERT_NE(StartWith("ProbeComplete.TXV", GetParam()), nullptr);
    HWND converted = StartTarget("controls", "Converted");
    ASSERT_TRUE(WaitAllConverted(converted));
    int conversions = Conversions();
    HWND excluded = StartTarget("controls", "Excluded", "caption_other.exe");
    ASSERT_NE(excluded, nullptr);
    // Hook mode reports while the target creates its controls; normal mode has nothing in front to convert.
    if (GetParam() == 0)
        WaitWhileNothingConverts();
    EXPECT_TRUE(AllOriginal(excluded));
    EXPECT_EQ(Conversions(), conversions);
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, ExcludedProgram, ::testing::Values(0u, 1u));

} // namespace
