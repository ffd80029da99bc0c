#include <gtest/gtest.h>

#include <string>

#include "foundation/GString.h"
#include "settings/RegistryKey.h"
#include "tests/support/PreferencesScope.h"

namespace {

const char* const kKey = CPreferencesScope::kKey;

class RegistryKey : public ::testing::Test {
protected:
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
    ExpectStored({RawValue{"Text", REG_SZ, std::string("abc", 4)}, DwordValue("Number", 0x01020304)});
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
        CPreferencesScope::Store({"Text", REG_SZ, c.stored});
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
    CPreferencesScope::Store({"Expand", REG_EXPAND_SZ, std::string("x", 2)});
    CPreferencesScope::Store({"Binary", REG_BINARY, std::string("abcd", 4)});
    CPreferencesScope::Store({"Short", REG_DWORD, std::string("ab", 2)});
    CPreferencesScope::Store({"Long", REG_BINARY, std::string("abcdefgh", 8)});
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
