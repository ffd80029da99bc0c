#include <gtest/gtest.h>

#include <iostream>
#include <map>

#include "tests/reliability/HostileRun.h"

namespace {

// Leaves time for several conversion ticks.
void Pass(DWORD ms)
{
    WaitUntil([] { return false; }, ms);
}

struct LongText {
    int id;
    char fill;
    int length;
    bool seenAtCreation; // hook mode converts only what the text is when WM_CREATE has been handled
};
const LongText kLongTexts[] = {
    {kText1023, 'a', 1023, true},
    {kText1024, 'b', 1024, true},
    {kText100000, 'c', 100000, false},
    {kTButton100000, 'd', 100000, true},
};

class HostileWindows : public HostileRunTest, public ::testing::WithParamInterface<DWORD> {};

// The button inside the last long-class window.
HWND NestedButton(HWND target)
{
    return GetDlgItem(GetDlgItem(target, kFirstLongClass + kLongClassCount - 1), kNestedButton);
}

TEST_P(HostileWindows, LongTextsAreCutAndLongClassNamesAreNeverTargets)
{
    ASSERT_NE(StartConverting(GetParam()), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());
    if (GetParam() != 0) {
        CChildProcess probe;
        HWND probeWindow = StartHostile(probe, "plain");
        ASSERT_TRUE(WaitUntilHooked(probeWindow));
        probe.Kill();
        m_log.Clear();
    }
    CChildProcess process;
    HWND target = StartHostile(process, "long");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(NestedButton(target)) != ""; }, 15000));
    for (int i = 0; i < kLongClassCount; ++i) {
        char name[300] = "";
        GetClassNameA(GetDlgItem(target, kFirstLongClass + i), name, sizeof(name));
        ASSERT_EQ(lstrlenA(name), kLongClassNames[i].length) << "the target made window " << i << " as it should";
    }

    EXPECT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(target, kShortButton)) == "[x]"; }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(NestedButton(target)) == "[y]"; }, 5000))
        << "the children of a window of another class are visited too";
    // Whatever the length read, the engine's 255 bytes replace the whole text.
    for (const LongText& text : kLongTexts) {
        std::string expected = text.seenAtCreation || GetParam() == 0 ? "[" + std::string(254, text.fill)
                                                                      : std::string(text.length, text.fill);
        EXPECT_TRUE(WaitUntil([&] { return FullText(GetDlgItem(target, text.id)) == expected; }, 5000))
            << "control " << text.id << " has " << FullText(GetDlgItem(target, text.id)).size() << " bytes";
    }
    Pass(1500);
    for (int i = 0; i < kLongClassCount; ++i)
        EXPECT_EQ(TextOf(GetDlgItem(target, kFirstLongClass + i)), "x") << "long class " << i;
    // Once each: a text that reads back as written is not converted again.
    std::map<std::string, int> expected = {{"Button", 4}, {"Static", 1}, {"TButton", 1}};
    EXPECT_EQ(ConversionsByClass(), expected);

    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
    EXPECT_TRUE(process.IsRunning());
}

TEST_P(HostileWindows, ControlsMadeAndDestroyedByTheHundredDoNotUpsetMorvane)
{
    ASSERT_NE(StartConverting(GetParam()), nullptr);
    CChildProcess process;
    HWND target = StartHostile(process, "churn");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    auto churned = [&] {
        DWORD_PTR count = 0;
        SendMessageTimeoutA(target, WM_HOSTILE_CHURNED, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
        return static_cast<int>(count);
    };

    DWORD start = GetTickCount();
    int first = churned();
    for (int second = 0; second < 5; ++second) {
        Pass(1000);
        ASSERT_TRUE(IsResponsive()) << "after " << second + 1 << " s of churn";
    }
    int made = churned() - first;
    DWORD seconds = (GetTickCount() - start + 999) / 1000;
    EXPECT_GE(made, 200) << "the target must churn for the test to mean anything";
    std::cout << "[          ] " << made << " controls made and destroyed in about " << seconds << " s, "
              << Conversions() << " conversions" << std::endl;

    EXPECT_EQ(ExitMorvane(), 0);
    ASSERT_TRUE(process.IsRunning());
    int afterExit = churned();
    Pass(500);
    EXPECT_GT(churned(), afterExit) << "the target goes on after Morvane has gone";
}

INSTANTIATE_TEST_SUITE_P(Modes, HostileWindows, ::testing::Values(0u, 1u),
                         [](const ::testing::TestParamInfo<DWORD>& info) {
                             return info.param == 0 ? "Normal" : "Hook";
                         });

WPARAM CycledIndexOf(const char* className)
{
    for (int i = 0; i < kCycledCount; ++i) {
        if (lstrcmpA(kCycledControls[i].className, className) == 0)
            return static_cast<WPARAM>(i);
    }
    return 0;
}

using ReusedHandles = HostileRunTest;

// The record of a destroyed control stays while its window is open; a new
// control that gets the same handle must still be judged by its own class and text.
TEST_F(ReusedHandles, AHandleHandedOutAgainBelongsToTheNewControl)
{
    ASSERT_NE(StartConverting(0), nullptr);
    CChildProcess process;
    HWND target = StartHostile(process, "plain");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    auto reuse = [&](const char* className) {
        DWORD_PTR control = 0;
        SendMessageTimeoutA(target, WM_HOSTILE_REUSE, CycledIndexOf(className), 0, SMTO_ABORTIFHUNG, 120000, &control);
        return reinterpret_cast<HWND>(control);
    };

    HWND button = reuse("Button");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(button) == "[r]"; }, 15000));
    HWND edit = reuse("Edit");
    ASSERT_EQ(edit, button) << "the system did not hand the handle out again";
    Pass(1500);
    EXPECT_EQ(TextOf(edit), "r") << "an edit control under a converted button's handle";
    HWND again = reuse("Button");
    ASSERT_EQ(again, button);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(again) == "[r]"; }, 15000));
    std::map<std::string, int> expected = {{"Button", 2}};
    EXPECT_EQ(ConversionsByClass(), expected);
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
}

} // namespace
