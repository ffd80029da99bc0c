#include <gtest/gtest.h>

#include "conversion/Engine.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TestApp.h"

namespace {

// The example of docs/engines.md, driven through the host as Morvane drives it.
class UpperEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTestApplication();
        ASSERT_TRUE(m_engine.Load((BinaryFolder() + "\\testengines\\Upper.TXV").c_str()));
        ASSERT_TRUE(m_engine.InitEngine());
    }

    CEngine m_engine{TRUE, nullptr};
};

TEST_F(UpperEngine, IsListedAndConvertsLettersOnly)
{
    char description[128] = "";
    char version[128] = "";
    EXPECT_TRUE(m_engine.GetEngineDescription(description, sizeof(description)));
    EXPECT_TRUE(m_engine.GetEngineVersion(version, sizeof(version)));
    EXPECT_STREQ(description, "Capital letters");
    EXPECT_FALSE(m_engine.HasOnSetting());
    EXPECT_FALSE(m_engine.HasOnAbout());

    char out[256] = {};
    EXPECT_TRUE(m_engine.ConvertCaptionString("Button", "&Apply", out, sizeof(out)));
    EXPECT_STREQ(out, "&APPLY");
    char unchanged[256] = {};
    EXPECT_FALSE(m_engine.ConvertCaptionString("Button", "OK 1", unchanged, sizeof(unchanged)));
}

TEST_F(UpperEngine, LeavesDoubleByteCharactersWholeAndCutsAtACharacterBoundary)
{
    // 表 is 0x95 0x5C and ア is 0x83 0x41: neither trail byte is a letter to change.
    char out[256] = {};
    EXPECT_TRUE(m_engine.ConvertCaptionString("Static", "a\x95\x5c\x83\x41z", out, sizeof(out)));
    EXPECT_STREQ(out, "A\x95\x5c\x83\x41Z");

    char small[4] = {};
    EXPECT_TRUE(m_engine.ConvertCaptionString("Static", "ab\x95\x5c", small, sizeof(small)));
    EXPECT_STREQ(small, "AB");
}

} // namespace
