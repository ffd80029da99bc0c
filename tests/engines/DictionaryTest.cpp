#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "tests/engines/EngineLibrary.h"
#include "tests/support/Cp932.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/ProcessDriver.h"

namespace {

std::string Converted(const CEngineLibrary& engine, const std::string& text, int size = 256)
{
    std::vector<char> out(size, '\0');
    return engine.Convert(text.c_str(), out.data(), size) ? out.data() : "(unchanged)";
}

TEST(Dictionary, ShipsATableOfCommonLabelsInCodePage932)
{
    CEngineLibrary engine(BinaryFolder() + "\\Dictionary.TXV");
    ASSERT_TRUE(engine.IsLoaded());
    EXPECT_EQ(engine.Export<PFN_TXVGetAPIVersion>("TXVGetAPIVersion")(), 0x00010000u);
    ASSERT_TRUE(engine.Export<PFN_TXVInitEngine>("TXVInitEngine")());

    const std::pair<const char*, const char*> labels[] = {
        {"Cancel", "キャンセル"},     {"&Apply", "適用(&A)"},  {"&Yes", "はい(&Y)"},
        {"&No", "いいえ(&N)"},        {"Help", "ヘルプ"},      {"Close", "閉じる"},
        {"Browse...", "参照..."},     {"&Next >", "次へ(&N) >"}, {"< &Back", "< 戻る(&B)"},
        {"Finish", "完了"},
    };
    for (const auto& label : labels)
        EXPECT_EQ(Converted(engine, label.first), Cp932(label.second)) << label.first;
    for (const char* text : {"OK", "cancel", "Cancel ", "", "# Cancel"})
        EXPECT_EQ(Converted(engine, text), "(unchanged)") << "'" << text << "'";

    std::ifstream table(BinaryFolder() + "\\Dictionary.txt", std::ios::binary);
    int entries = 0;
    for (std::string line; std::getline(table, line);) {
        std::string::size_type tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos)
            continue;
        ++entries;
        std::string target = line.substr(tab + 1);
        EXPECT_EQ(Converted(engine, line.substr(0, tab)), target == line.substr(0, tab) ? "(unchanged)" : target);
    }
    EXPECT_GE(entries, 30);
}

// A copy of the engine in a folder of its own, with the table the test writes
// beside it under the copy's own name.
class DictionaryCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "morvane-dictionary";
        CreateDirectoryA(m_folder.c_str(), NULL);
        ASSERT_TRUE(CopyFileA((BinaryFolder() + "\\Dictionary.TXV").c_str(), (m_folder + "\\Custom.TXV").c_str(),
                              FALSE));
        m_owner = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    }
    void TearDown() override
    {
        m_engine.reset();
        DestroyWindow(m_owner);
        DeleteFileA(TablePath().c_str());
        DeleteFileA((m_folder + "\\Custom.TXV").c_str());
        RemoveDirectoryA(m_folder.c_str());
    }

    std::string TablePath() const { return m_folder + "\\Custom.txt"; }
    void WriteTable(const std::string& utf8)
    {
        std::ofstream(TablePath(), std::ios::binary) << Cp932(utf8.c_str());
    }
    BOOL Start()
    {
        m_engine.reset(new CEngineLibrary(m_folder + "\\Custom.TXV"));
        return m_engine->Export<PFN_TXVInitEngine>("TXVInitEngine")();
    }
    void OnSetting() { m_engine->Export<PFN_TXVOnSetting>("TXVOnSetting")(m_owner); }

    std::string m_folder;
    HWND m_owner = NULL;
    std::unique_ptr<CEngineLibrary> m_engine;
};

const char kTable[] = "# 表示\tcomment\n"
                      "\n"
                      "表示\tひょうじ\r\n"
                      "Save\t保存\n"
                      "Save\t二番目\n"
                      "NoTab\n"
                      "\tno source\n"
                      "Two words\tふた つ\n";

TEST_F(DictionaryCopy, ReadsItsOwnTableAndReplacesWholeCaptionsThatFit)
{
    WriteTable(kTable);
    ASSERT_TRUE(Start());
    EXPECT_EQ(Converted(*m_engine, Cp932("表示")), Cp932("ひょうじ"));
    EXPECT_EQ(Converted(*m_engine, "Save"), Cp932("保存")) << "the first pair for a source wins";
    EXPECT_EQ(Converted(*m_engine, "Two words"), Cp932("ふた つ"));
    for (const char* text : {"# 表示", "NoTab", "", "Save as"})
        EXPECT_EQ(Converted(*m_engine, Cp932(text)), "(unchanged)") << text;
    EXPECT_EQ(Converted(*m_engine, "Two words", 8), Cp932("ふた つ"));
    EXPECT_EQ(Converted(*m_engine, "Two words", 7), "(unchanged)") << "a replacement that does not fit is not cut";
}

TEST_F(DictionaryCopy, DoesNotStartWithoutItsTable)
{
    EXPECT_FALSE(Start());
}

TEST_F(DictionaryCopy, SettingsShowTheTableAndReloadItOnYes)
{
    WriteTable(kTable);
    ASSERT_TRUE(Start());
    WriteTable(std::string(kTable) + "Added\t追加\n");
    CMessageBoxWatcher watcher(IDNO);
    OnSetting();
    ASSERT_EQ(watcher.Seen().size(), 1u);
    const SeenMessageBox& box = watcher.Seen()[0];
    EXPECT_EQ(box.text, Cp932("辞書ファイル:\n") + TablePath() +
                            Cp932("\n\n登録数: 3 件\n\n辞書ファイルを読み込み直しますか?"));
    EXPECT_EQ(box.caption, Cp932("辞書エンジン"));
    EXPECT_EQ(box.buttons, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(box.owner, m_owner);
    EXPECT_EQ(Converted(*m_engine, "Added"), "(unchanged)") << "No keeps the table";

    watcher.SetAnswer(IDYES);
    OnSetting();
    EXPECT_EQ(Converted(*m_engine, "Added"), Cp932("追加"));
    OnSetting();
    ASSERT_EQ(watcher.Seen().size(), 3u);
    EXPECT_NE(watcher.Seen()[2].text.find(Cp932("登録数: 4 件")), std::string::npos);

    DeleteFileA(TablePath().c_str());
    OnSetting();
    ASSERT_EQ(watcher.Seen().size(), 5u) << "a failed reload is reported";
    EXPECT_EQ(watcher.Seen()[4].icon, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(watcher.Seen()[4].owner, m_owner);
    EXPECT_EQ(Converted(*m_engine, "Added"), Cp932("追加")) << "and the table in use stays";
}

TEST_F(DictionaryCopy, AboutBoxNamesTheEngineAndItsVersion)
{
    WriteTable(kTable);
    ASSERT_TRUE(Start());
    CMessageBoxWatcher watcher(IDOK);
    m_engine->Export<PFN_TXVOnAbout>("TXVOnAbout")(m_owner);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text.find(Cp932("辞書エンジン バージョン 1.0")), 0u);
    EXPECT_EQ(watcher.Seen()[0].buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(watcher.Seen()[0].owner, m_owner);
}

} // namespace
