#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/engines/EngineLibrary.h"
#include "tests/support/Cp932.h"
#include "tests/support/ProcessDriver.h"

namespace {

class FullWidth : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_engine.IsLoaded());
        ASSERT_TRUE(m_engine.Export<PFN_TXVInitEngine>("TXVInitEngine")());
    }

    // Converts into a buffer of size bytes followed by guard bytes that must stay.
    BOOL Convert(const std::string& text, int size, std::string* out)
    {
        std::vector<char> buffer(size + 16, '\xCC');
        std::fill(buffer.begin(), buffer.begin() + size, '\0');
        BOOL result = m_engine.Convert(text.c_str(), buffer.data(), size);
        for (int i = size; i < size + 16; ++i)
            EXPECT_EQ(buffer[i], '\xCC') << "written past the buffer at " << i;
        *out = size > 0 ? std::string(buffer.data(), strnlen(buffer.data(), size)) : std::string();
        return result;
    }

    CEngineLibrary m_engine{BinaryFolder() + "\\FullWidth.TXV"};
};

TEST_F(FullWidth, IsAnEngineWithoutSettingsOrAboutBox)
{
    EXPECT_EQ(m_engine.Export<PFN_TXVGetAPIVersion>("TXVGetAPIVersion")(), 0x00010000u);
    char text[128];
    EXPECT_TRUE(m_engine.Export<PFN_TXVGetEngineDescription>("TXVGetEngineDescription")(text, sizeof(text)));
    EXPECT_EQ(text, Cp932(u8"半角の英数字と記号を全角に変換します"));
    EXPECT_TRUE(m_engine.Export<PFN_TXVGetEngineVersion>("TXVGetEngineVersion")(text, sizeof(text)));
    EXPECT_STREQ(text, "1.0");
    EXPECT_FALSE(m_engine.Has("TXVOnSetting"));
    EXPECT_FALSE(m_engine.Has("TXVOnAbout"));
}

TEST_F(FullWidth, TurnsEveryPrintableCharacterIntoItsFullWidthForm)
{
    for (int ch = 0x20; ch <= 0x7E; ++ch) {
        if (ch == '&')
            continue;
        // The quotation marks become the curly ones; every other character its
        // full-width form, the space the ideographic space.
        wchar_t wide = ch == ' '    ? L'\x3000'
                       : ch == '"'  ? L'\x201D'
                       : ch == '\'' ? L'\x2019'
                                    : static_cast<wchar_t>(0xFF01 + ch - 0x21);
        char expected[3] = "";
        WideCharToMultiByte(932, 0, &wide, 1, expected, 2, NULL, NULL);
        std::string out;
        EXPECT_TRUE(Convert(std::string(1, static_cast<char>(ch)), 256, &out)) << ch;
        EXPECT_EQ(out, expected) << "character 0x" << std::hex << ch;
    }
}

TEST_F(FullWidth, LeavesDoubleByteCharactersWholeAndStaysInsideTheBuffer)
{
    struct Case {
        const char* text;
        int size;
        const char* expected;
        BOOL changed;
    };
    const Case cases[] = {
        {"OK", 256, "ＯＫ", TRUE},
        {"A1 z", 256, "Ａ１　ｚ", TRUE},
        {"&Open", 256, "&Ｏｐｅｎ", TRUE}, // the access-key marker stays
        {"表示A", 256, "表示Ａ", TRUE},    // 表 ends in 0x5C, which is not a backslash here
        {"ソフト 1", 256, "ソフト　１", TRUE},
        {"ｱｲｳA", 256, "ｱｲｳＡ", TRUE},
        {"表示", 256, "表示", FALSE},
        {"ＯＫ", 256, "ＯＫ", FALSE},
        {"&", 256, "&", FALSE},
        {"", 256, "", FALSE},
        {"ABC", 7, "ＡＢＣ", TRUE},
        {"ABC", 6, "ＡＢ", TRUE}, // cut at a character boundary
        {"ABC", 2, "", FALSE},
        {"A表", 4, "Ａ", TRUE},
        {"表A", 4, "表", FALSE},
        {"表A", 3, "表", FALSE},
        {"表A", 2, "", FALSE},
        {"AB", 1, "", FALSE},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(Convert(Cp932(c.text), c.size, &out), c.changed) << c.text << " in " << c.size;
        EXPECT_EQ(out, Cp932(c.expected)) << c.text << " in " << c.size;
    }
    std::string out;
    EXPECT_TRUE(Convert(std::string(200, 'a'), 256, &out));
    EXPECT_EQ(out.size(), 254u) << "127 whole characters in a window's 256-byte buffer";
    EXPECT_FALSE(Convert("A", 0, &out));
}

} // namespace
