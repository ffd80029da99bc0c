#include <gtest/gtest.h>

#include <string>

#include "app/AppBase.h"
#include "app/QelException.h"
#include "foundation/GString.h"
#include "tests/foundation/TestStringIds.h"
#include "tests/support/ExpectedTexts.h"
#include "ui/resource.h"

namespace {

std::string Digits(int length)
{
    std::string digits;
    for (int i = 0; i < length; ++i)
        digits += static_cast<char>('0' + i % 10);
    return digits;
}

// The test program's own module carries the program's string table.
class StringTable : public testing::Test {
protected:
    void SetUp() override
    {
        m_app.m_hInstance = GetModuleHandleA(NULL);
        CAppBase::s_pRunningApp = &m_app;
    }
    void TearDown() override { CAppBase::s_pRunningApp = NULL; }

    CAppBase m_app;
};

TEST_F(StringTable, LoadDoublesTheBlockWhileTheTextFillsIt)
{
    const struct {
        UINT id;
        int capacity;
        std::string expected;
        int expectedCapacity;
    } cases[] = {
        {IDS_TEST_126_BYTES, 128, Digits(126), 128},
        {IDS_TEST_127_BYTES, 128, Digits(127), 256},
        {IDS_TEST_255_BYTES, 128, Digits(255), 512},
        {IDS_APP_NAME, 1, "Morvane", 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        CGString s(c.capacity);
        ASSERT_TRUE(s.LoadText(c.id, GetModuleHandleA(NULL)));
        EXPECT_EQ(c.expected, s.Text());
        EXPECT_EQ(static_cast<int>(c.expected.size()), s.Length());
        EXPECT_EQ(c.expectedCapacity, s.Capacity());
    }
}

TEST_F(StringTable, MissingTextReturnsFalse)
{
    for (UINT id : {IDS_TEST_EMPTY, IDS_TEST_NO_BLOCK}) {
        CGString s(128);
        EXPECT_FALSE(s.LoadText(id)) << id;
    }
}

TEST_F(StringTable, ProgramTextsInCodePage932)
{
    ASSERT_EQ(932u, GetACP());
    for (UINT id : ExpectedStringIds()) {
        CGString s(128);
        ASSERT_TRUE(s.LoadText(id)) << id;
        EXPECT_EQ(ExpectedString(id), s.Text()) << id;
    }
}

TEST_F(StringTable, ExceptionTexts)
{
    CQelMemoryException memory;
    CQelException internal(0);
    EXPECT_EQ(ExpectedString(IDS_OUT_OF_MEMORY), static_cast<CQelException&>(memory).GetErrorText());
    EXPECT_EQ(ExpectedString(IDS_INTERNAL_ERROR), internal.GetErrorText());
}

} // namespace
