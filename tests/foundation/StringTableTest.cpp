#include <gtest/gtest.h>

#include <string>

#include "app/AppBase.h"
#include "app/QelException.h"
#include "foundation/GString.h"
#include "tests/foundation/TestStringIds.h"
#include "ui/resource.h"

namespace {

// The texts as the program sees them: in code page 932, whatever this source file's encoding.
std::string Cp932(const char* utf8)
{
    WCHAR wide[512];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
    char bytes[1024];
    WideCharToMultiByte(932, 0, wide, n, bytes, sizeof(bytes), NULL, NULL);
    return bytes;
}

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
    const struct {
        UINT id;
        const char* utf8;
    } cases[] = {
        {1, "Morvane"},
        {2, "Morvane [停止中]"},
        {3, "エンジンの存在するフォルダを選択してください。"},
        {16, "ファイル名"},
        {17, "説明"},
        {18, "バージョン"},
        {256, "\n\n[ エラー詳細 ]\nERRCODE=%lu"},
        {257, "タスクトレイへのアイコン登録に失敗しました。"},
        {258, "エンジンの読み込みに失敗しました。"},
        {259, "エンジンのAPIバージョンが高いため、読み込みを中止します。\r\n"
              "このエンジンのためには、新しいMorvaneを使ってください。"},
        {260, "オブジェクトの生成に失敗しました。"},
        {261, "設定の読み込みに失敗しました。"},
        {262, "エンジンの読み込みに失敗しました。\r\nMorvane用のエンジンではない可能性があります。"},
        {263, "エンジンの初期化に失敗しました。"},
        {512, "エンジンが選択されていません。よろしいですか?"},
        {768, "変更されたエンジンによる変換は今後表示されるウィンドウに対して行われます。\n"
              "以前選択していたエンジンによって変換済みのウィンドウは再変換されません。"},
    };
    ASSERT_EQ(932u, GetACP());
    for (const auto& c : cases) {
        CGString s(128);
        ASSERT_TRUE(s.LoadText(c.id)) << c.id;
        EXPECT_EQ(Cp932(c.utf8), s.Text()) << c.id;
    }
}

TEST_F(StringTable, ExceptionTexts)
{
    CQelMemoryException memory;
    CQelException internal(0);
    EXPECT_EQ(Cp932("メモリが不足しています。"), static_cast<CQelException&>(memory).GetErrorText());
    EXPECT_EQ(Cp932("内部エラーが発生しました。"), internal.GetErrorText());
}

} // namespace
