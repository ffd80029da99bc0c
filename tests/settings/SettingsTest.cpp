#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/Settings.h"
#include "tests/settings/ImportPatch.h"
#include "tests/support/Cp932.h"
#include "tests/support/ProcessDriver.h"

namespace {

const char kKey[] = "Software\\Quorvel\\Morvane\\Preferences";

void Store(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL), ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

struct RawValue {
    DWORD type;
    std::string data;
};

bool Query(const char* name, RawValue* value)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char data[1024];
    DWORD size = sizeof(data);
    LONG result = RegQueryValueExA(key, name, NULL, &value->type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    value->data.assign(data, result == ERROR_SUCCESS ? size : 0);
    return result == ERROR_SUCCESS;
}

std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
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
    EXPECT_STREQ(settings.Engine.Text(), "");
    EXPECT_EQ(settings.EngineFolder.Text(), BinaryFolder());
    EXPECT_NE(settings.EngineFolder.Text()[settings.EngineFolder.Length() - 1], '\\');
    EXPECT_EQ(settings.SampleString.Text(), Cp932("サンプル文字列です。"));
    EXPECT_EQ(settings.ShowChangeEngineInfo, 1u);
    EXPECT_EQ(settings.TimerElapseConv, 100u);
    EXPECT_EQ(settings.TimerElapseGC, 500u);
    EXPECT_EQ(settings.ResMode, 0u);
    EXPECT_EQ(settings.ToggleHotKey, 0x0006007Bu) << "Ctrl+Shift+F12";
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(Settings, FirstSaveCreatesAllEightValuesWithTheirTypes)
{
    CSettings settings;
    ASSERT_TRUE(settings.Load());
    EXPECT_TRUE(settings.Save());
    const std::pair<const char*, RawValue> expected[] = {
        {"Engine", {REG_SZ, std::string("", 1)}},
        {"EngineFolder", {REG_SZ, BinaryFolder() + std::string("", 1)}},
        {"SampleString", {REG_SZ, Cp932("サンプル文字列です。") + std::string("", 1)}},
        {"ShowChangeEngineInfo", {REG_DWORD, Dword(1)}},
        {"TimerElapseConv", {REG_DWORD, Dword(100)}},
        {"TimerElapseGC", {REG_DWORD, Dword(500)}},
        {"ResMode", {REG_DWORD, Dword(0)}},
        {"ToggleHotKey", {REG_DWORD, Dword(0x0006007B)}},
    };
    for (const auto& value : expected) {
        RawValue stored;
        ASSERT_TRUE(Query(value.first, &stored)) << value.first;
        EXPECT_EQ(stored.type, value.second.type) << value.first;
        EXPECT_EQ(stored.data, value.second.data) << value.first;
    }
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
    ASSERT_TRUE(saved.Save());

    CSettings loaded;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(loaded.Load());
        EXPECT_STREQ(loaded.Engine.Text(), saved.Engine.Text());
        EXPECT_STREQ(loaded.EngineFolder.Text(), saved.EngineFolder.Text());
        EXPECT_STREQ(loaded.SampleString.Text(), saved.SampleString.Text());
        EXPECT_EQ(loaded.ShowChangeEngineInfo, 0u);
        EXPECT_EQ(loaded.TimerElapseConv, 250u);
        EXPECT_EQ(loaded.TimerElapseGC, 1000u);
        EXPECT_EQ(loaded.ResMode, 1u);
        EXPECT_EQ(loaded.ToggleHotKey, 0u) << "no hot key";
        loaded.ToggleHotKey = 9;
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
        CPreferencesScope::SetDWORD("ShowChangeEngineInfo", c.stored);
        CPreferencesScope::SetDWORD("TimerElapseConv", c.stored);
        CPreferencesScope::SetDWORD("TimerElapseGC", c.stored);
        CPreferencesScope::SetDWORD("ResMode", c.stored);
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
    const char text[] = "200";
    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const WORD two = 7;
    const DWORD four = 0;
    Store("TimerElapseConv", REG_SZ, text, sizeof(text));
    Store("TimerElapseGC", REG_BINARY, eight, sizeof(eight));
    Store("ResMode", REG_DWORD, &two, sizeof(two));
    Store("ShowChangeEngineInfo", REG_BINARY, &four, sizeof(four));
    Store("Engine", REG_EXPAND_SZ, "%TEMP%\\x.txv", 13);
    Store("SampleString", REG_BINARY, text, sizeof(text));
    Store("EngineFolder", REG_DWORD, &four, sizeof(four));
    Store("ToggleHotKey", REG_SZ, text, sizeof(text));
    CSettings settings;
    ASSERT_TRUE(settings.Load());
    EXPECT_EQ(settings.TimerElapseConv, 100u);
    EXPECT_EQ(settings.TimerElapseGC, 500u);
    EXPECT_EQ(settings.ResMode, 0u);
    EXPECT_EQ(settings.ShowChangeEngineInfo, 1u);
    EXPECT_STREQ(settings.Engine.Text(), "");
    EXPECT_EQ(settings.SampleString.Text(), Cp932("サンプル文字列です。"));
    EXPECT_EQ(settings.EngineFolder.Text(), BinaryFolder());
    EXPECT_EQ(settings.ToggleHotKey, 0x0006007Bu);
}

TEST_F(Settings, StringsAreReadWholeAtAnyLengthAndWithoutTerminator)
{
    for (size_t length : {0u, 127u, 128u, 259u, 260u, 261u, 600u}) {
        std::string text;
        while (text.size() < length)
            text += text.size() % 3 == 0 && text.size() + 2 <= length ? Cp932("表") : "a";
        for (DWORD terminator : {1u, 0u}) {
            Store("SampleString", REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + terminator));
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
    const std::vector<std::string> names = {"Engine",          "EngineFolder",  "SampleString", "ShowChangeEngineInfo",
                                            "TimerElapseConv", "TimerElapseGC", "ResMode",      "ToggleHotKey"};
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
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

} // namespace
