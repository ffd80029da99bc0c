#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/Cp932.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/MorvaneRun.h"
#include "tests/support/TempFolder.h"
#include "ui/resource.h"

namespace {

RawValue Raw(const char* name, DWORD type, const std::string& data)
{
    return RawValue{name, type, data};
}

std::string Repeat(const std::string& part, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += part;
    return text;
}

// The defaults with some values replaced.
std::vector<RawValue> DefaultsBut(const std::vector<RawValue>& changed)
{
    std::vector<RawValue> values = DefaultPreferences();
    for (const RawValue& change : changed) {
        for (RawValue& value : values) {
            if (value.name == change.name)
                value = change;
        }
    }
    return values;
}

// Stored values Morvane must survive, and what its exit writes back.
struct BadSettings {
    std::string name;
    std::vector<RawValue> stored;
    std::vector<RawValue> written;
    std::string refusedEngine; // the Engine value whose load failure is reported; empty when none
    bool engineIsFolder;
};

std::vector<BadSettings> BadSettingsCases()
{
    const std::string engine = TestEnginePath("ProbeComplete.TXV");
    const std::string longSample = Repeat(Cp932("サンプル"), 8191);
    const std::string longFolder = "C:\\" + std::string(65000, 'f');
    const std::string longEngine = "C:\\" + std::string(65528, 'e') + ".TXV";
    const std::string path300 = "C:\\" + std::string(293, 'p') + ".TXV";
    const std::string folderEngine = CTempFolder::Root() + "MorvaneFolder.TXV";
    const std::string unc = "\\\\nohost.invalid\\share\\Engine.TXV";
    const RawValue keptFolder = SzValue("EngineFolder", "C:\\Engines");
    std::vector<BadSettings> cases = {
        {"WrongTypes",
         {Raw("Engine", REG_EXPAND_SZ, engine + '\0'), Raw("EngineFolder", REG_MULTI_SZ, std::string("C:\\x\0\0", 6)),
          Raw("SampleString", REG_BINARY, "abc"), Raw("ShowChangeEngineInfo", REG_SZ, std::string("0\0", 2)),
          Raw("TimerElapseConv", REG_SZ, std::string("200\0", 4)),
          Raw("TimerElapseGC", REG_BINARY, DwordValue("", 50).data),
          Raw("ResMode", REG_QWORD, std::string("\1\0\0\0\0\0\0\0", 8))},
         DefaultPreferences(), "", false},
        {"WrongSizes",
         {Raw("ShowChangeEngineInfo", REG_DWORD, std::string("\0\0", 2)),
          Raw("TimerElapseConv", REG_DWORD, DwordValue("", 200).data + std::string(4, '\0')),
          Raw("TimerElapseGC", REG_DWORD, ""), Raw("ResMode", REG_DWORD, "\1"),
          Raw("SampleString", REG_DWORD, DwordValue("", 0x41414141).data)},
         DefaultPreferences(), "", false},
        {"UnterminatedStrings",
         {Raw("Engine", REG_SZ, engine), Raw("EngineFolder", REG_SZ, "C:\\Engines"),
          Raw("SampleString", REG_SZ, "Unterminated")},
         DefaultsBut({SzValue("Engine", engine), keptFolder, SzValue("SampleString", "Unterminated")}), "", false},
        {"Values64KiB",
         {SzValue("Engine", longEngine), SzValue("EngineFolder", longFolder), SzValue("SampleString", longSample),
          Raw("TimerElapseConv", REG_DWORD, std::string(65536, '\1'))},
         DefaultsBut({SzValue("Engine", longEngine), SzValue("EngineFolder", longFolder),
                      SzValue("SampleString", longSample)}),
         longEngine, false},
        {"MissingValues",
         {SzValue("Engine", "C:\\NoSuchFolder\\Sample.TXV"), DwordValue("ShowChangeEngineInfo", 0)},
         DefaultsBut({SzValue("Engine", "C:\\NoSuchFolder\\Sample.TXV"), SzValue("EngineFolder", "C:\\NoSuchFolder"),
                      DwordValue("ShowChangeEngineInfo", 0)}),
         "C:\\NoSuchFolder\\Sample.TXV", false},
        {"EngineIsAFolder", {SzValue("Engine", folderEngine), keptFolder},
         DefaultsBut({SzValue("Engine", folderEngine), keptFolder}), folderEngine, true},
        {"EngineIsUnc", {SzValue("Engine", unc), keptFolder}, DefaultsBut({SzValue("Engine", unc), keptFolder}), unc,
         false},
        {"EnginePath300", {SzValue("Engine", path300), keptFolder},
         DefaultsBut({SzValue("Engine", path300), keptFolder}), path300, false},
    };
    for (const char* device : {"NUL", "CON"}) {
        cases.push_back({std::string("EngineIs") + device, {SzValue("Engine", device), keptFolder},
                         DefaultsBut({SzValue("Engine", device), keptFolder}), device, false});
    }
    return cases;
}

void StoreAll(const std::vector<RawValue>& values)
{
    for (const RawValue& value : values)
        CPreferencesScope::Store(value);
}

class BadSettingsTest : public MorvaneRunTest, public ::testing::WithParamInterface<BadSettings> {
protected:
    // Runs Morvane once on what the registry holds: the expected engine
    // failure and nothing else is shown, it stays responsive, exits with 0.
    void RunOnce(const std::string& refusedEngine)
    {
        std::string expectedBox;
        if (!refusedEngine.empty())
            expectedBox = ExpectedError(IDS_ENGINE_LOAD_FAILED, LoadErrorOf(refusedEngine));
        ASSERT_NE(StartAnswering(), nullptr);
        if (refusedEngine.empty()) {
            EXPECT_TRUE(m_startBoxes.empty()) << m_startBoxes.front().text;
        } else {
            ASSERT_EQ(m_startBoxes.size(), 1u);
            EXPECT_EQ(m_startBoxes.front().text, expectedBox);
        }
        EXPECT_TRUE(IsResponsive());
        EXPECT_EQ(ExitMorvane(), 0);
        m_startBoxes.clear();
    }
};

TEST_P(BadSettingsTest, AreSurvivedAndWrittenBackInTheirLoadableForm)
{
    const BadSettings& settings = GetParam();
    if (settings.engineIsFolder)
        CreateDirectoryA(settings.refusedEngine.c_str(), nullptr);
    StoreAll(settings.stored);
    RunOnce(settings.refusedEngine);
    ExpectStored(settings.written);
    if (settings.engineIsFolder)
        RemoveDirectoryA(settings.refusedEngine.c_str());
}

INSTANTIATE_TEST_SUITE_P(Settings, BadSettingsTest, ::testing::ValuesIn(BadSettingsCases()),
                         [](const ::testing::TestParamInfo<BadSettings>& info) { return info.param.name; });

class SettingsRunTest : public BadSettingsTest {};

TEST_F(SettingsRunTest, WhatAnExitWroteLoadsAgainToTheSameState)
{
    std::vector<BadSettings> cases = BadSettingsCases();
    const BadSettings& settings = *std::find_if(
        cases.begin(), cases.end(), [](const BadSettings& candidate) { return candidate.name == "Values64KiB"; });
    StoreAll(settings.stored);
    RunOnce(settings.refusedEngine);
    ExpectStored(settings.written);
    RunOnce(settings.refusedEngine);
    ExpectStored(settings.written);
}

TEST_F(SettingsRunTest, ZeroTimerPeriodsStillConvert)
{
    StoreAll({SzValue("Engine", TestEnginePath("ProbeComplete.TXV")), DwordValue("TimerElapseConv", 0),
              DwordValue("TimerElapseGC", 0)});
    ASSERT_NE(StartAnswering(), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());
    HWND target = StartTarget("controls", "Zero timers");
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kPushButton) == "[OK]"; }, 20000));
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
    ExpectStored({DwordValue("TimerElapseConv", 0), DwordValue("TimerElapseGC", 0)});
}

TEST_F(SettingsRunTest, LongestTimerPeriodsNeverTickAndStillExit)
{
    StoreAll({SzValue("Engine", TestEnginePath("ProbeComplete.TXV")), DwordValue("TimerElapseConv", 0xFFFFFFFF),
              DwordValue("TimerElapseGC", 0xFFFFFFFF), DwordValue("ShowChangeEngineInfo", 5)});
    ASSERT_NE(StartAnswering(), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());
    HWND target = StartTarget("controls", "Longest timers");
    ASSERT_NE(target, nullptr);
    // A timer that never fires leaves nothing to wait for: ten default periods.
    WaitUntil([] { return false; }, 1000);
    EXPECT_EQ(ControlText(target, kPushButton), "OK") << "the conversion timer has not fired";
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
    ExpectStored({DwordValue("TimerElapseConv", 0xFFFFFFFF), DwordValue("TimerElapseGC", 0xFFFFFFFF),
                  DwordValue("ShowChangeEngineInfo", 1)});
}

TEST_F(SettingsRunTest, AnyNonZeroResModeIsHookMode)
{
    StoreAll({SzValue("Engine", TestEnginePath("ProbeComplete.TXV")), DwordValue("ResMode", 7)});
    ASSERT_NE(StartAnswering(), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());
    HWND target = StartTarget("controls", "ResMode 7");
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(Ask(target, WM_TARGET_CREATED_TEXT, kPushButton), kCreatedConverted)
        << "the push button is converted while it is created";
    EXPECT_EQ(ExitMorvane(), 0);
    ExpectStored({DwordValue("ResMode", 7)});
}

} // namespace
