#include <gtest/gtest.h>

#include "tests/support/Cp932.h"
#include "tests/support/MorvaneRun.h"

namespace {

const char* const kAllPreferences[] = {"Engine",          "EngineFolder",  "SampleString", "ShowChangeEngineInfo",
                                       "TimerElapseConv", "TimerElapseGC", "ResMode",      "ToggleHotKey"};

using LifeCycle = MorvaneRunTest;

TEST_F(LifeCycle, FirstRunStartsQuietlyAndExitWritesEveryPreference)
{
    ASSERT_NE(StartMorvane(), nullptr);
    EXPECT_FALSE(IsWindowVisible(m_hMainWnd));
    EXPECT_EQ(FindProcessDialog(m_morvane.Id(), nullptr), nullptr) << "nothing is shown on a first run";
    for (const char* name : kAllPreferences)
        EXPECT_FALSE(CPreferencesScope::Exists(name)) << name << " is written only at exit";

    EXPECT_EQ(ExitMorvane(), 0);
    EXPECT_FALSE(IsWindow(m_hMainWnd));
    std::string folder;
    ASSERT_TRUE(CPreferencesScope::GetString("EngineFolder", &folder));
    EXPECT_EQ(folder, BinaryFolder());
    std::string engine;
    EXPECT_TRUE(CPreferencesScope::GetString("Engine", &engine));
    EXPECT_EQ(engine, "");
    DWORD value = 0;
    EXPECT_TRUE(CPreferencesScope::GetDWORD("TimerElapseConv", &value));
    EXPECT_EQ(value, 100u);
    EXPECT_TRUE(CPreferencesScope::GetDWORD("TimerElapseGC", &value));
    EXPECT_EQ(value, 500u);
    EXPECT_TRUE(CPreferencesScope::GetDWORD("ShowChangeEngineInfo", &value));
    EXPECT_EQ(value, 1u);
    EXPECT_TRUE(CPreferencesScope::GetDWORD("ResMode", &value));
    EXPECT_EQ(value, 0u);
    EXPECT_TRUE(CPreferencesScope::GetDWORD("ToggleHotKey", &value));
    EXPECT_EQ(value, 0x0006007Bu) << "Ctrl+Shift+F12";
    EXPECT_TRUE(CPreferencesScope::Exists("SampleString"));
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

TEST_F(LifeCycle, AMissingEngineIsReportedWithItsErrorCodeAndMorvaneRunsOn)
{
    CPreferencesScope::SetString("Engine", Bin("Missing.TXV"));
    ASSERT_NE(StartAnswering(), nullptr) << "Morvane goes on without an engine";
    ASSERT_EQ(m_startBoxes.size(), 1u);
    EXPECT_EQ(m_startBoxes[0].text, Cp932("エンジンの読み込みに失敗しました。\n\n[ エラー詳細 ]\nERRCODE=126"));
    EXPECT_EQ(m_startBoxes[0].buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(ExitMorvane(), 0);
    std::string engine;
    EXPECT_TRUE(CPreferencesScope::GetString("Engine", &engine));
    EXPECT_EQ(engine, Bin("Missing.TXV")) << "the next start tries the same engine again";
}

TEST_F(LifeCycle, TheEndOfTheSessionSavesThePreferences)
{
    ASSERT_NE(StartMorvane(), nullptr);
    SendMessageA(m_hMainWnd, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(CPreferencesScope::Exists("ResMode")) << "a cancelled end of session saves nothing";
    SendMessageA(m_hMainWnd, WM_ENDSESSION, TRUE, 0);
    for (const char* name : kAllPreferences)
        EXPECT_TRUE(CPreferencesScope::Exists(name)) << name;
    EXPECT_EQ(ExitMorvane(), 0);
}

} // namespace
