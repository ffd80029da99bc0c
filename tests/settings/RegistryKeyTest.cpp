#include <gtest/gtest.h>

#include <string>

#include "foundation/GString.h"
#include "settings/RegistryKey.h"
#include "tests/support/ProcessDriver.h"

namespace {

const char kKey[] = "Software\\Quorvel\\Morvane\\Preferences";

class RegistryKey : public ::testing::Test {
protected:
    void Store(const char* name, DWORD type, const std::string& data)
    {
        CRegistryKey writer;
        ASSERT_TRUE(writer.Open(kKey, FALSE));
        RegSetValueExA(writer.m_hKey, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
    }

    CPreferencesScope m_preferences;
};

TEST_F(RegistryKey, ReadingNeedsAnExistingKeyWritingCreatesItWithItsParents)
{
    const char deep[] = "Software\\Quorvel\\MorvaneTest\\Deep";
    CRegistryKey key;
    EXPECT_FALSE(key.Open(deep, TRUE));
    EXPECT_EQ(key.m_hKey, nullptr);
    ASSERT_TRUE(key.Open(deep, FALSE));
    EXPECT_TRUE(key.SetDWORD("Value", 3));
    DWORD value = 0;
    EXPECT_FALSE(key.QueryDWORD("Value", &value)) << "a key opened for writing is not opened for reading";
    EXPECT_TRUE(key.Open(deep, TRUE)) << "opening again closes the first handle";
    EXPECT_TRUE(key.QueryDWORD("Value", &value));
    EXPECT_EQ(value, 3u);
    key.Close();
    EXPECT_EQ(key.m_hKey, nullptr);
    key.Close();
    RegDeleteKeyA(HKEY_CURRENT_USER, deep);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quorvel\\MorvaneTest");
}

TEST_F(RegistryKey, SetStringStoresTheTerminatorAndSetDwordFourBytes)
{
    {
        CRegistryKey key;
        ASSERT_TRUE(key.Open(kKey, FALSE));
        EXPECT_TRUE(key.SetString("Text", "abc"));
        EXPECT_TRUE(key.SetDWORD("Number", 0x01020304));
    }
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE data[16];
    DWORD size = sizeof(data);
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Text", NULL, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), std::string("abc", 4));
    size = sizeof(data);
    EXPECT_EQ(RegQueryValueExA(key, "Number", NULL, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    RegCloseKey(key);
}

// A text that fills the string's block, with or without its terminator, must
// still end inside the block.
TEST_F(RegistryKey, QueryStringEndsTheTextInsideTheBlock)
{
    const struct {
        std::string stored;
        int capacity;
        const char* expected;
    } cases[] = {
        {"ABCDEFGH", 8, "ABCDEFGH"},
        {std::string("ABCDEFG", 8), 8, "ABCDEFG"},
        {"ABCDEFGH", 128, "ABCDEFGH"},
        {std::string("ABCDEFGH", 9), 9, "ABCDEFGH"},
        {"", 1, ""},
    };
    for (const auto& c : cases) {
        Store("Text", REG_SZ, c.stored);
        CRegistryKey key;
        ASSERT_TRUE(key.Open(kKey, TRUE));
        CGString out("previous", c.capacity);
        EXPECT_TRUE(key.QueryString("Text", out));
        EXPECT_STREQ(out.Text(), c.expected) << c.stored.size() << " bytes in " << c.capacity;
        EXPECT_EQ(out.Length(), lstrlenA(c.expected));
        EXPECT_LT(out.Length(), out.Capacity());
    }
}

TEST_F(RegistryKey, QueriesAcceptOnlyTheirOwnTypes)
{
    Store("Expand", REG_EXPAND_SZ, std::string("x", 2));
    Store("Binary", REG_BINARY, std::string("abcd", 4));
    Store("Short", REG_DWORD, std::string("ab", 2));
    Store("Long", REG_BINARY, std::string("abcdefgh", 8));
    CRegistryKey key;
    ASSERT_TRUE(key.Open(kKey, TRUE));
    CGString out(16);
    EXPECT_FALSE(key.QueryString("Expand", out));
    EXPECT_FALSE(key.QueryString("Binary", out));
    EXPECT_FALSE(key.QueryString("Missing", out));
    DWORD value = 0;
    EXPECT_FALSE(key.QueryDWORD("Binary", &value));
    EXPECT_FALSE(key.QueryDWORD("Short", &value));
    EXPECT_FALSE(key.QueryDWORD("Long", &value));
    EXPECT_FALSE(key.QueryDWORD("Missing", &value));
}

} // namespace
