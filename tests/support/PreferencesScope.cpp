#include "tests/support/PreferencesScope.h"

#include <gtest/gtest.h>

#include "tests/support/Cp932.h"
#include "tests/support/ProcessDriver.h"

const char CPreferencesScope::kKey[] = "Software\\Quorvel\\Morvane\\Preferences";

CPreferencesScope::CPreferencesScope()
{
    Clear();
}

CPreferencesScope::~CPreferencesScope()
{
    Clear();
}

bool CPreferencesScope::Exists(const char* name)
{
    RawValue value;
    return Load(name, &value);
}

std::vector<RawValue> DefaultPreferences()
{
    return {SzValue("Engine", ""),
            SzValue("EngineFolder", BinaryFolder()),
            SzValue("SampleString", Cp932("サンプル文字列です。")),
            DwordValue("ShowChangeEngineInfo", 1),
            DwordValue("TimerElapseConv", 100),
            DwordValue("TimerElapseGC", 500),
            DwordValue("ResMode", 0),
            DwordValue("ToggleHotKey", 0x0006007B), // Ctrl+Shift+F12
            SzValue("ExcludedPrograms", ""),
            DwordValue("ConvertTitles", 1),
            DwordValue("ConvertTabs", 1),
            DwordValue("ConvertHeaders", 1),
            DwordValue("ConvertMenus", 1)};
}

void ExpectStored(const std::vector<RawValue>& expected)
{
    for (const RawValue& value : expected) {
        RawValue stored;
        EXPECT_TRUE(CPreferencesScope::Load(value.name.c_str(), &stored)) << value.name << " is written";
        EXPECT_EQ(stored, value);
    }
}
