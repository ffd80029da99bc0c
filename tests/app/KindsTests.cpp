#include <gtest/gtest.h>

#include "tests/support/MorvaneRun.h"

namespace {

class Kinds : public MorvaneRunTest {
protected:
    static std::string ItemText(HWND target, int control, int index)
    {
        return TextOf(reinterpret_cast<HWND>(Ask(target, WM_TARGET_ITEM_TEXT, MAKEWPARAM(control, index))));
    }
    // Whether the title, every tab and every column show their text, in brackets when converted.
    static bool Shows(HWND target, bool title, bool tabs, bool headers)
    {
        auto shown = [](const char* text, bool converted) { return converted ? "[" + std::string(text) + "]" : text; };
        bool all = TextOf(target) == shown("Kinds", title);
        for (int i = 0; i < 3; ++i) {
            all = all && ItemText(target, kTabs, i) == shown(kTabLabels[i], tabs) &&
                  ItemText(target, kList, i) == shown(kColumns[i], headers);
        }
        return all;
    }
    // Morvane in the mode and a kinds target whose texts it has all converted; null when it did not.
    HWND StartConverted(DWORD mode = 0)
    {
        if (StartWith("ProbeComplete.TXV", mode) == nullptr)
            return nullptr;
        HWND target = StartTarget("kinds", "Kinds");
        return WaitUntil([&] { return KeepInFront(target) && Shows(target, true, true, true); }, 20000) ? target
                                                                                                          : nullptr;
    }
};

class KindsInBothModes : public Kinds, public ::testing::WithParamInterface<DWORD> {};

// In hook mode as the window is created and its tabs and columns are inserted.
TEST_P(KindsInBothModes, TitleTabsAndHeadersAreConvertedOnceEachWithTheirClassNames)
{
    HWND target = StartConverted(GetParam());
    ASSERT_NE(target, nullptr);
    // Normal mode walks on; in hook mode nothing more is reported, and a moment is all there is to wait for.
    if (GetParam() == 0)
        ASSERT_GE(SettleWalks(target), 2);
    else
        WaitUntil([] { return false; }, 500);
    std::map<std::string, int> calls = ConversionsByClass();
    EXPECT_EQ(calls["@Title"], 1) << "in the steady state the engine is not called again";
    EXPECT_EQ(calls["@Tab"], 3);
    EXPECT_EQ(calls["@Header"], 3);

    SetWindowTextA(target, "Kinds");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(target) == "[Kinds]"; }, 5000)) << "a title set again is converted again";
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_P(KindsInBothModes, TheOriginalsOfEveryKindComeBackAndAreConvertedAgain)
{
    HWND target = StartConverted(GetParam());
    ASSERT_NE(target, nullptr);
    // Posted as the tray menu does: a sent command could arrive while a tick waits for the target and be refused.
    Command(40006);
    EXPECT_TRUE(WaitUntil([&] { return Shows(target, false, false, false); }, 5000));
    Command(40006);
    EXPECT_TRUE(WaitUntil([&] { return Shows(target, true, true, true); }, 5000))
        << "converted from the originals, never from Morvane's own texts";
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, KindsInBothModes, ::testing::Values(0u, 1u));

TEST_F(Kinds, AKindTurnedOffIsLeftAlone)
{
    const struct {
        const char* value;
        bool title, tabs, headers;
    } cases[] = {{"ConvertTitles", false, true, true},
                 {"ConvertTabs", true, false, true},
                 {"ConvertHeaders", true, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        CPreferencesScope::SetDWORD(c.value, 0);
        ASSERT_NE(StartWith("ProbeComplete.TXV", 0), nullptr);
        CChildProcess process;
        HWND target = StartTarget(process, "kinds", "Kinds");
        ASSERT_NE(target, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return KeepInFront(target) && Shows(target, c.title, c.tabs, c.headers); }, 20000));
        ASSERT_GE(SettleWalks(target), 2);
        EXPECT_TRUE(Shows(target, c.title, c.tabs, c.headers));
        EXPECT_EQ(ExitMorvane(), 0);
        CPreferencesScope::SetDWORD(c.value, 1);
    }
}

TEST_F(Kinds, ATitleRewrittenAtEveryTickIsWrittenAtMostOncePerChange)
{
    ASSERT_NE(StartWith("ProbeComplete.TXV", 0), nullptr);
    HWND target = StartTarget("clock", "Clock 0");
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return KeepInFront(target) && HIWORD(Ask(target, WM_TARGET_TITLES)) >= 5; }, 20000));
    ASSERT_TRUE(WaitUntil([&] { return LOWORD(Ask(target, WM_TARGET_TITLES)) >= 30; }, 20000));
    LRESULT titles = Ask(target, WM_TARGET_TITLES);
    EXPECT_LE(HIWORD(titles), LOWORD(titles) + 1) << "one write per change, never more";
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(Kinds, AHungProgramsTabsAndHeadersDoNotStopMorvane)
{
    HWND hung = StartConverted();
    ASSERT_NE(hung, nullptr);
    PostMessageA(hung, WM_TARGET_HANG, 30000, 0);
    // Its tabs are asked for at every tick while it stays in front.
    WaitUntil([] { return false; }, 3000);
    EXPECT_TRUE(IsResponsive());
    HWND live = StartTarget("controls", "Live");
    ASSERT_NE(live, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return KeepInFront(live) && AllConverted(live); }, 20000));
    EXPECT_EQ(ExitMorvane(), 0);
}

} // namespace
