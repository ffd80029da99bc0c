#include <gtest/gtest.h>

#include "tests/support/MorvaneRun.h"

namespace {

using LifeCycle = MorvaneRunTest;

TEST_F(LifeCycle, FirstRunStartsQuietlyAndExitWritesEveryPreference)
{
    ASSERT_NE(StartMorvane(), nullptr);
    EXPECT_FALSE(IsWindowVisible(m_hMainWnd));
    EXPECT_EQ(FindProcessDialog(m_morvane.Id(), nullptr), nullptr) << "nothing is shown on a first run";
    for (const RawValue& value : DefaultPreferences())
        EXPECT_FALSE(CPreferencesScope::Exists(value.name.c_str())) << value.name << " is written only at exit";

    EXPECT_EQ(ExitMorvane(), 0);
    EXPECT_FALSE(IsWindow(m_hMainWnd));
    ExpectStored(DefaultPreferences());
}

TEST_F(LifeCycle, ASecondInstanceEndsAtOnceWithZeroAndShowsNothing)
{
    ASSERT_NE(StartMorvane(), nullptr);
    CChildProcess second;
    ASSERT_TRUE(second.Start("\"" + Bin("Morvane.exe") + "\""));
    EXPECT_EQ(second.WaitExit(10000), 0);
    EXPECT_EQ(FindProcessDialog(second.Id(), nullptr), nullptr);
    EXPECT_TRUE(m_morvane.IsRunning());
    EXPECT_EQ(WaitForTopLevelWindow("MorvaneWndClass", 0, 100), m_hMainWnd) << "only the first main window exists";
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(LifeCycle, TheEndOfTheSessionSavesThePreferences)
{
    ASSERT_NE(StartMorvane(), nullptr);
    SendMessageA(m_hMainWnd, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(CPreferencesScope::Exists("ResMode")) << "a cancelled end of session saves nothing";
    SendMessageA(m_hMainWnd, WM_ENDSESSION, TRUE, 0);
    ExpectStored(DefaultPreferences());
    EXPECT_EQ(ExitMorvane(), 0);
}

} // namespace
