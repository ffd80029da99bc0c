#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ProgramList.h"
#include "settings/Settings.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/Cp932.h"
#include "tests/support/PreferencesScope.h"
#include "tests/support/ProcessDriver.h"

namespace {

// The settings as the values they stand for, in the order they are saved.
std::vector<RawValue> AsValues(const CSettings& settings)
{
    return {SzValue("Engine", settings.Engine.Text()),
            SzValue("EngineFolder", settings.EngineFolder.Text()),
            SzValue("SampleString", settings.SampleString.Text()),
            DwordValue("ShowChangeEngineInfo", settings.ShowChangeEngineInfo),
            DwordValue("TimerElapseConv", settings.TimerElapseConv),
            DwordValue("TimerElapseGC", settings.TimerElapseGC),
            DwordValue("ResMode", settings.ResMode),
            DwordValue("ToggleHotKey", settings.ToggleHotKey),
            SzValue("ExcludedPrograms", settings.ExcludedPrograms.Text()),
            DwordValue("ConvertTitles", (settings.ConvertKinds & 1) != 0),
            DwordValue("ConvertTabs", (settings.ConvertKinds & 2) != 0),
            DwordValue("ConvertHeaders", (settings.ConvertKinds & 4) != 0),
            DwordValue("ConvertMenus", (settings.ConvertKinds & 8) != 0)};
}

class Settings : public ::testing::Test {
protected:
    CPreferencesScope m_preferences;
};

TEST_F(Settings, FirstRunLoadsTheDefaultsWithoutCreatingTheKey)
{
    CSettings settings;
    settings.Engine.Assign("changed");
    settings.ResMode = 1;
    EXPECT_TRUE(settings.Load());
    EXPECT_EQ(AsValues(settings), DefaultPreferences());
    EXPECT_FALSE(CUserKey(CPreferencesScope::kKey).Exists());
}

TEST_F(Settings, FirstSaveCreatesAllNineValuesWithTheirTypes)
{
    CSettings settings;
    ASSERT_TRUE(settings.Load());
    EXPECT_TRUE(settings.Save());
    ExpectStored(DefaultPreferences());
}

TEST_F(Settings, WhatIsSavedLoadsBackAndASecondLoadDiscardsChanges)
{
    CSettings saved;
    saved.Engine.Assign(Cp932("C:\\表\\辞書.TXV").c_str());
    saved.EngineFolder.Assign(Cp932("C:\\表").c_str());
    saved.SampleString.Assign(Cp932("ソフト & Help").c_str());
    saved.ShowChangeEngineInfo = 0;
    saved.TimerElapseConv = 250;
    saved.TimerElapseGC = 1000;
    saved.ResMode = 1;
    saved.ToggleHotKey = 0;
    saved.ExcludedPrograms.Assign("notepad.exe;calc.exe");
    saved.ConvertKinds = 2 | 8;
    ASSERT_TRUE(saved.Save());

    const std::vector<RawValue> expected = {SzValue("Engine", Cp932("C:\\表\\辞書.TXV")),
                                            SzValue("EngineFolder", Cp932("C:\\表")),
                                            SzValue("SampleString", Cp932("ソフト & Help")),
                                            DwordValue("ShowChangeEngineInfo", 0),
                                            DwordValue("TimerElapseConv", 250),
                                            DwordValue("TimerElapseGC", 1000),
                                            DwordValue("ResMode", 1),
                                            DwordValue("ToggleHotKey", 0),
                                            SzValue("ExcludedPrograms", "notepad.exe;calc.exe"),
                                            DwordValue("ConvertTitles", 0),
                                            DwordValue("ConvertTabs", 1),
                                            DwordValue("ConvertHeaders", 0),
                                            DwordValue("ConvertMenus", 1)};
    ExpectStored(expected);
    CSettings loaded;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(loaded.Load());
        EXPECT_EQ(AsValues(loaded), expected);
        loaded.ToggleHotKey = 9;
        loaded.ConvertKinds = 0;
        loaded.Engine.Assign("unsaved");
        loaded.EngineFolder.Assign("unsaved");
        loaded.SampleString.Assign("unsaved");
        loaded.ShowChangeEngineInfo = 1;
        loaded.TimerElapseConv = loaded.TimerElapseGC = loaded.ResMode = 9;
    }
}

TEST_F(Settings, EngineFolderFallsBackToTheFolderOfTheEngine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"D:\\Engines\\sample.txv", "D:\\Engines"},
        {"sample.txv", ""},
        {Cp932("C:\\表\\x.txv"), Cp932("C:\\表")}, // 表 ends in the byte of a backslash
        {"C:\\sample.txv", "C:\\"},
        {"C:sample.txv", "C:"},
        {"", BinaryFolder()},
    };
    for (const auto& c : cases) {
        CPreferencesScope::Clear();
        CPreferencesScope::SetString("Engine", c.first);
        CSettings settings;
        ASSERT_TRUE(settings.Load());
        EXPECT_EQ(settings.EngineFolder.Text(), c.second) << c.first;
    }
    CPreferencesScope::SetString("EngineFolder", "E:\\Stored");
    CSettings settings;
    ASSERT_TRUE(settings.Load());
    EXPECT_STREQ(settings.EngineFolder.Text(), "E:\\Stored") << "a stored folder wins";
}

TEST_F(Settings, NumbersAreTakenAsStoredOnlyTheNoticeFlagIsNormalised)
{
    const struct {
        DWORD stored;
        DWORD notice;
    } cases[] = {{5, 1}, {0, 0}, {1, 1}, {0xFFFFFFFF, 1}};
    for (const auto& c : cases) {
        for (const char* name : {"ShowChangeEngineInfo", "TimerElapseConv", "TimerElapseGC", "ResMode"})
            CPreferencesScope::SetDWORD(name, c.stored);
        CSettings settings;
        ASSERT_TRUE(settings.Load());
        EXPECT_EQ(settings.ShowChangeEngineInfo, c.notice) << c.stored;
        EXPECT_EQ(settings.TimerElapseConv, c.stored);
        EXPECT_EQ(settings.TimerElapseGC, c.stored);
        EXPECT_EQ(settings.ResMode, c.stored);
    }
}

TEST_F(Settings, AValueOfTheWrongTypeOrSizeKeepsItsDefault)
{
    const std::string text("200", 4);
    const std::string zero(4, '\0');
    CPreferencesScope::Store({"TimerElapseConv", REG_SZ, text});
    CPreferencesScope::Store({"TimerElapseGC", REG_BINARY, "12345678"});
    CPreferencesScope::Store({"ResMode", REG_DWORD, std::string("\7", 2)});
    CPreferencesScope::Store({"ShowChangeEngineInfo", REG_BINARY, zero});
    CPreferencesScope::Store({"Engine", REG_EXPAND_SZ, std::string("%TEMP%\\x.txv", 13)});
    CPreferencesScope::Store({"SampleString", REG_BINARY, text});
    CPreferencesScope::Store({"EngineFolder", REG_DWORD, zero});
    CPreferencesScope::Store({"ToggleHotKey", REG_SZ, text});
    CSettings settings;
    ASSERT_TRUE(settings.Load());
    EXPECT_EQ(AsValues(settings), DefaultPreferences());
}

TEST_F(Settings, StringsAreReadWholeAtAnyLengthAndWithoutTerminator)
{
    for (size_t length : {0u, 127u, 128u, 259u, 260u, 261u, 600u}) {
        std::string text;
        while (text.size() < length)
            text += text.size() % 3 == 0 && text.size() + 2 <= length ? Cp932("表") : "a";
        for (DWORD terminator : {1u, 0u}) {
            CPreferencesScope::Store({"SampleString", REG_SZ, text + std::string(terminator, '\0')});
            CSettings settings;
            ASSERT_TRUE(settings.Load());
            EXPECT_EQ(settings.SampleString.Text(), text) << length << " bytes, terminator " << terminator;
            EXPECT_EQ(settings.SampleString.Length(), static_cast<int>(text.size()));
        }
    }
}

// Every write goes through this stand-in, which fails the one value a case names.
const char* g_failingValue = nullptr;
decltype(&RegSetValueExA) g_originalSetValue = nullptr;
std::vector<std::string> g_written;

LONG WINAPI SetValueFailingOne(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    g_written.push_back(name);
    if (lstrcmpA(name, g_failingValue) == 0)
        return ERROR_ACCESS_DENIED;
    return g_originalSetValue(key, name, reserved, type, data, size);
}

LONG WINAPI CreateKeyFailing(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD)
{
    return ERROR_ACCESS_DENIED;
}

TEST_F(Settings, AFailedWriteStillWritesTheRestAndFailsTheSave)
{
    std::vector<std::string> names;
    for (const RawValue& value : DefaultPreferences())
        names.push_back(value.name);
    CImportPatch patch("advapi32.dll", "RegSetValueExA", reinterpret_cast<void*>(SetValueFailingOne));
    ASSERT_TRUE(patch.IsApplied());
    g_originalSetValue = patch.Original<decltype(&RegSetValueExA)>();
    for (const std::string& failing : names) {
        CPreferencesScope::Clear();
        g_failingValue = failing.c_str();
        g_written.clear();
        CSettings settings;
        EXPECT_FALSE(settings.Save()) << failing;
        EXPECT_EQ(g_written, names) << "every write attempted, in order";
        for (const std::string& name : names)
            EXPECT_EQ(CPreferencesScope::Exists(name.c_str()), name != failing) << name << " with " << failing;
    }
    g_failingValue = "";
    CSettings settings;
    EXPECT_TRUE(settings.Save());
}

TEST_F(Settings, AKeyThatCannotBeCreatedFailsTheSaveWithoutWriting)
{
    CImportPatch patch("advapi32.dll", "RegCreateKeyExA", reinterpret_cast<void*>(CreateKeyFailing));
    ASSERT_TRUE(patch.IsApplied());
    CSettings settings;
    EXPECT_FALSE(settings.Save());
    EXPECT_FALSE(CUserKey(CPreferencesScope::kKey).Exists());
}

// The stored list as a user may have typed it, and what each operation leaves.
TEST(ProgramList, KeepsEachNameOnceWithoutBlanksAndComparesWithoutCase)
{
    const struct {
        const char* stored;
        const char* text;
        int count;
    } lists[] = {
        {"", "", 0},
        {" notepad.exe ; ;Calc.EXE;", "notepad.exe;Calc.EXE", 2},
        {"a.exe;A.EXE;b.exe", "a.exe;b.exe", 2},
        {";;", "", 0},
    };
    for (const auto& row : lists) {
        CProgramList list(row.stored);
        EXPECT_STREQ(list.Text(), row.text) << row.stored;
        EXPECT_EQ(list.Count(), row.count) << row.stored;
    }
    CProgramList list("notepad.exe;calc.exe");
    EXPECT_TRUE(list.Contains("NOTEPAD.EXE"));
    EXPECT_FALSE(list.Contains("notepad"));
    EXPECT_EQ(std::string(list.Name(1).Text()), "calc.exe");
    EXPECT_EQ(std::string(list.Name(2).Text()), "");
    for (const char* refused : {"", "Notepad.exe", "x.exe;y.exe", " "})
        EXPECT_FALSE(list.Add(refused)) << refused;
    EXPECT_TRUE(list.Add("game.exe"));
    list.Remove(0);
    EXPECT_STREQ(list.Text(), "calc.exe;game.exe");
    EXPECT_TRUE(CProgramList::IsAlwaysExcluded("Consent.exe"));
    EXPECT_FALSE(CProgramList::IsAlwaysExcluded("notepad.exe"));
}

} // namespace
