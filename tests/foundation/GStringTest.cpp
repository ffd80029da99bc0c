#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <tuple>

#include "app/QelException.h"
#include "foundation/GString.h"

namespace {

// 表 (0x95 0x5C) ends in the backslash byte; Ａ and ａ are the full-width capital and small A of code page 932.
const char kHyo[] = "\x95\x5C";
const char kWideCapitalA[] = "\x82\x60";
const char kWideSmallA[] = "\x82\x81";

void ExpectString(const CGString& s, const char* text, int capacity)
{
    EXPECT_STREQ(text, s.Text());
    EXPECT_EQ(lstrlenA(text), s.Length());
    EXPECT_EQ(capacity, s.Capacity());
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

TEST(GString, ConstructorsFitTheTextOrTheCapacityAndGiveAtLeastOneByte)
{
    // A copy fits the text, not the other's capacity.
    const CGString original("ab", 512);
    const struct {
        CGString s;
        const char* expected;
        int capacity;
    } cases[] = {{CGString("abc", 2), "a", 2},  {CGString("abc", 0), "abc", 4},  {CGString("abc", 10), "abc", 10},
                 {CGString(nullptr, 0), "", 1}, {CGString("abc", -5), "abc", 4}, {CGString(128), "", 128},
                 {CGString(0), "", 1},          {CGString(-3), "", 1},           {CGString(original), "ab", 3}};
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(i);
        ExpectString(cases[i].s, cases[i].expected, cases[i].capacity);
    }
    EXPECT_NE(original.Text(), cases[8].s.Text());
}

TEST(GString, CapacityGrowsExactlyAndNeverShrinks)
{
    CGString s("ab", 8);
    const char* before = s.Text();
    s.Reserve(8);
    s.Reserve(3);
    EXPECT_EQ(before, s.Text());
    ExpectString(s, "ab", 8);

    s.Reserve(300);
    ExpectString(s, "ab", 300);
    for (int i = 2; i < 300; ++i)
        ASSERT_EQ(0, s.Text()[i]) << "byte " << i << " of the grown block";

    s.Clear();
    ExpectString(s, "", 300);
    s.Assign("x");
    ExpectString(s, "x", 300);
}

TEST(GString, AppendingGrowsToTheExactSize)
{
    CGString s("ab");
    ExpectString(s.Append("cde"), "abcde", 6);
    ExpectString(s.AppendChar('f'), "abcdef", 7);
    ExpectString(s.Append(s.Text() + 4), "abcdefef", 9);
    ExpectString(s.Append(NULL), "abcdefef", 9);
    ExpectString(CGString::Concat(CGString("ab", 100), "cd"), "abcd", 5);

    CGString other("longer text");
    ExpectString(s.Assign(other), "longer text", 12);
    ExpectString(s.Assign(s), "longer text", 12);
    ExpectString(s.Assign(s.Text() + 7), "text", 12);
}

TEST(GString, SyncLengthStaysInsideTheBlock)
{
    CGString s(4);
    memcpy(s.Buffer(-1), "wxyz", 4);
    EXPECT_EQ(3, s.SyncLength());
    ExpectString(s, "wxy", 4);
}

TEST(GString, HeadAndSubKeepWithinTheText)
{
    const CGString s("abcdef", 64);
    const CGString hyo((std::string("a") + kHyo + "b").c_str());
    const struct {
        CGString result;
        const char* expected;
    } cases[] = {
        {s.Head(3), "abc"},     {s.Head(6), "abcdef"},  {s.Head(10), "abcdef"}, {s.Head(0), ""},
        {s.Head(-2), ""},       {s.Sub(2, 2), "cd"},    {s.Sub(2, -1), "cdef"}, {s.Sub(4, 10), "ef"},
        {s.Sub(6, 1), ""},      {s.Sub(60, -1), ""},    {s.Sub(-3, 2), "ab"},   {s.Sub(1, -5), "bcdef"},
        {hyo.Head(2), "a\x95"}, {hyo.Sub(1, 2), kHyo},  // bytes, not characters
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        ExpectString(c.result, c.expected, lstrlenA(c.expected) + 1);
    }
}

TEST(GString, CharHeadSplitsNoDoubleByteCharacter)
{
    std::string hyos; // 512 表, 1,024 bytes
    for (int i = 0; i < 512; ++i)
        hyos += kHyo;
    const std::string abc = std::string("ab") + kHyo + "c";
    const std::tuple<std::string, int, std::string> cases[] = {
        {abc, 3, "ab"}, {abc, 4, abc.substr(0, 4)}, {abc, 9, abc}, {abc, 0, ""}, {hyos, 1023, hyos.substr(0, 1022)},
        {"a" + hyos, 1023, "a" + hyos.substr(0, 1022)}, {std::string(1100, 'x'), 1023, std::string(1023, 'x')},
        {std::string("\xB1\xB1") + kHyo, 3, "\xB1\xB1"}, // ｱ is one byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::get<2>(c), CGString(std::get<0>(c).c_str()).CharHead(std::get<1>(c)).Text()) << std::get<1>(c);
}

TEST(GString, SearchesTreatDoubleByteCharactersAsUnits)
{
    // a \ 表 b \ : the trail byte of 表 at index 3 is no backslash.
    const CGString s((std::string("a\\") + kHyo + "b\\").c_str());
    EXPECT_EQ(1, s.FindChar('\\', 0));
    EXPECT_EQ(5, s.FindChar('\\', 2));
    EXPECT_EQ(-1, s.FindChar('\\', 6));
    EXPECT_EQ(1, s.FindChar('\\', -4));
    EXPECT_EQ(5, s.FindLastChar('\\'));
    EXPECT_EQ(4, s.FindChar('b', 0));

    const CGString hyo(kHyo);
    EXPECT_EQ(-1, hyo.FindChar('\\', 0));
    EXPECT_EQ(-1, hyo.FindLastChar('\\'));
}

TEST(GString, LeadByteBeforeTheTerminatorEndsTheText)
{
    // A backslash left behind the terminator must stay out of reach of a lead byte at the end.
    CGString s(8);
    memcpy(s.Buffer(-1), "a\x95\0\\", 4);
    s.SyncLength();
    EXPECT_EQ(-1, s.FindChar('\\', 0));
    EXPECT_EQ(-1, s.FindLastChar('\\'));
    EXPECT_EQ(0, s.Compare("a", FALSE));
}

TEST(GString, CompareOrdersByUnitsAndFoldsCase)
{
    const std::string hyo = kHyo, capitalA = kWideCapitalA, smallA = kWideSmallA;
    const struct {
        std::string left;
        std::string right;
        BOOL ignoreCase;
        int sign;
    } cases[] = {
        {"abc", "abc", FALSE, 0},
        {"abc", "ABC", FALSE, 1},
        {"abc", "ABC", TRUE, 0},
        {"ab", "abc", TRUE, -1},
        {"_", "A", FALSE, 1},
        {"_", "A", TRUE, -1},
        {capitalA, smallA, FALSE, -1},
        {capitalA, smallA, TRUE, 0},
        {capitalA + "x", smallA + "X", TRUE, 0},
        {"\x83\x9F", "\x83\xBF", TRUE, 0},
        {"\xB1", hyo, FALSE, -1},
        {hyo + "a", hyo + "b", TRUE, -1},
        {"\x84\x4E", "\x84\x7E", TRUE, 0}, // Cyrillic capital and small letters on both sides of 0x847F
        {"\x84\x4F", "\x84\x80", TRUE, 0},
        {"\x87\x54", "\xFA\x4A", FALSE, -1}, // the two codes of the Roman numeral one
        {"\x87\x54", "\xFA\x4A", TRUE, 0},
        {"\x87\x54", "\xFA\x40", TRUE, 0},
        {"\x87\x9A", "\x81\xE6", TRUE, 1}, // second codes of characters without case stay their own
        {"\xFA\x54", "\x81\xCA", TRUE, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.left << "\" \"" << c.right << "\" ignoreCase " << c.ignoreCase);
        EXPECT_EQ(c.sign, Sign(CGString(c.left.c_str()).Compare(c.right.c_str(), c.ignoreCase)));
    }
    EXPECT_EQ(1, Sign(CGString("abc").Compare(NULL, FALSE)));
}

TEST(GString, FailedGrowthThrowsAndKeepsTheText)
{
    CGString s("keep", 8);
    try {
        s.Reserve(0x7FFFFFF0);
        FAIL() << "an impossible block was granted";
    } catch (CQelException* e) {
        EXPECT_NE(nullptr, dynamic_cast<CQelMemoryException*>(e));
    }
    ExpectString(s, "keep", 8);
    ExpectString(s.Append("ing"), "keeping", 8);
    EXPECT_THROW(CGString(0x7FFFFFF0), CQelMemoryException*);
}

} // namespace
