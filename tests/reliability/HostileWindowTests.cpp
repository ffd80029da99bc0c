#include <gtest/gtest.h>

#include <map>

#include "tests/support/MorvaneRun.h"

namespace {

struct LongText {
    int id;
    char fill;
    int length;
};
const LongText kLongTexts[] = {
    {kText1023, 'a', 1023},
    {kText1024, 'b', 1024},
    {kText100000, 'c', 100000},
    {kTButton100000, 'd', 100000},
};

class HostileWindows : public MorvaneRunTest, public ::testing::WithParamInterface<DWORD> {};

// The button inside the last long-class window.
HWND NestedButton(HWND target)
{
    return GetDlgItem(GetDlgItem(target, kFirstLongClass + kLongClassCount - 1), kNestedButton);
}

TEST_P(HostileWindows, LongTextsAreCutAndLongClassNamesAreNeverTargets)
{
    // The engine calls counted are the captions'.
    CPreferencesScope::SetDWORD("ConvertTitles", 0);
    ASSERT_NE(StartWith("ProbeComplete.TXV", GetParam()), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());
    if (GetParam() != 0) {
        CChildProcess probe;
        HWND probeWindow = StartTarget(probe, "plain");
        ASSERT_TRUE(WaitUntilHooked(probeWindow));
        probe.Kill();
        m_log.Clear();
    }
    CChildProcess process;
    HWND target = StartTarget(process, "long");
    ASSERT_NE(target, nullptr);
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
        std::string expected = "[" + std::string(254, text.fill);
        EXPECT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(target, text.id)) == expected; }, 5000))
            << "control " << text.id << " has " << TextOf(GetDlgItem(target, text.id)).size() << " bytes";
    }
    // Hook mode converts inside each creation, normal mode at its walks.
    int sentinelTicks = GetParam() == 0 ? SettleWalks(target) : 0;
    ASSERT_GE(sentinelTicks, 0);
    for (int i = 0; i < kLongClassCount; ++i)
        EXPECT_EQ(TextOf(GetDlgItem(target, kFirstLongClass + i)), "x") << "long class " << i;
    // Once each: a text that reads back as written is not converted again. Hook mode converts
    // the button created empty both empty and with the text set after its creation.
    std::map<std::string, int> expected = {
        {"Button", GetParam() == 0 ? 4 + sentinelTicks : 5}, {"Static", 1}, {"TButton", 1}};
    EXPECT_EQ(ConversionsByClass(), expected);

    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
    EXPECT_TRUE(process.IsRunning());
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

using ReusedHandles = MorvaneRunTest;

// The record of a destroyed control stays while its window is open; a new
// control that gets the same handle must still be judged by its own class and text.
TEST_F(ReusedHandles, AHandleHandedOutAgainBelongsToTheNewControl)
{
    // The engine calls counted are the captions'.
    CPreferencesScope::SetDWORD("ConvertTitles", 0);
    ASSERT_NE(StartWith("ProbeComplete.TXV", 0), nullptr);
    HWND target = StartTarget("plain");
    ASSERT_NE(target, nullptr);
    auto reuse = [&](const char* className) {
        return reinterpret_cast<HWND>(Ask(target, WM_TARGET_REUSE, CycledIndexOf(className)));
    };

    HWND button = reuse("Button");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(button) == "[r]"; }, 15000));
    HWND edit = reuse("Edit");
    ASSERT_EQ(edit, button) << "the system did not hand the handle out again";
    int sentinelTicks = SettleWalks(target);
    ASSERT_GE(sentinelTicks, 2);
    EXPECT_EQ(TextOf(edit), "r") << "an edit control under a converted button's handle";
    HWND again = reuse("Button");
    ASSERT_EQ(again, button);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(again) == "[r]"; }, 15000));
    std::map<std::string, int> expected = {{"Button", 2 + sentinelTicks}};
    EXPECT_EQ(ConversionsByClass(), expected);
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
}

} // namespace
