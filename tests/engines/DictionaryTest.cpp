#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "tests/engines/EngineLibrary.h"
#include "tests/support/Cp932.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/SavedValue.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/DialogDriver.h"

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kOptions[] = "Software\\Quorvel\\Morvane\\Dictionary";

std::string Converted(const CEngineLibrary& engine, const std::string& text, int size = 256)
{
    std::vector<char> out(size, '\0');
    return engine.Convert(text.c_str(), out.data(), size) ? out.data() : "(unchanged)";
}

std::string ConvertedAs(const CEngineLibrary& engine, const char* className, const std::string& text)
{
    char out[256] = "";
    return engine.Export<PFN_TXVConvertCaptionString>("TXVConvertCaptionString")(className, text.c_str(), out, 256)
               ? out
               : "(unchanged)";
}

// The user's application data folder is a temporary one for each test, so the
// engine's own files there (its table, the untranslated captions) are the
// test's and never the user's. A copy of the engine lies in a folder of its
// own, with the shipped table the test writes beside it.
class DictionaryCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        CUserKey(kShellFolders).SetString("AppData", m_appData.Path());
        ASSERT_TRUE(CopyFileA((BinaryFolder() + "\\Dictionary.TXV").c_str(), m_folder.PathOf("Custom.TXV").c_str(),
                              FALSE));
        m_owner = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    }
    void TearDown() override
    {
        m_engine.reset();
        DestroyWindow(m_owner);
    }

    std::string UserFile(const char* name) const { return m_appData.PathOf("Morvane\\") + name; }
    void WriteTable(const std::string& utf8) { m_folder.WriteFile("Custom.txt", Cp932(utf8.c_str())); }
    void WriteUserTable(const std::string& bytes)
    {
        CreateDirectoryA(m_appData.PathOf("Morvane").c_str(), NULL);
        std::ofstream(UserFile("Dictionary.txt"), std::ios::binary) << bytes;
    }
    // The copy, unless another engine is named.
    BOOL Start(const std::string& engine = std::string())
    {
        m_engine.reset();
        m_engine.reset(new CEngineLibrary(engine.empty() ? m_folder.PathOf("Custom.TXV") : engine));
        return m_engine->Export<PFN_TXVInitEngine>("TXVInitEngine")();
    }
    void Stop()
    {
        m_engine->Export<PFN_TXVExitEngine>("TXVExitEngine")();
        m_engine.reset();
    }
    std::string AboutText()
    {
        CMessageBoxWatcher watcher(IDOK);
        m_engine->Export<PFN_TXVOnAbout>("TXVOnAbout")(m_owner);
        return watcher.Seen().empty() ? std::string() : watcher.Seen()[0].text;
    }

    CSavedValue m_savedAppData{kShellFolders, "AppData"};
    CTempFolder m_appData;
    CTempFolder m_folder;
    HWND m_owner = NULL;
    std::unique_ptr<CEngineLibrary> m_engine;
};

TEST_F(DictionaryCopy, ShipsATableOfCommonLabelsInCodePage932)
{
    ASSERT_TRUE(Start(BinaryFolder() + "\\Dictionary.TXV"));
    EXPECT_EQ(m_engine->Export<PFN_TXVGetAPIVersion>("TXVGetAPIVersion")(), 0x00010000u);
    char description[128] = "";
    EXPECT_TRUE(m_engine->Export<PFN_TXVGetEngineDescription>("TXVGetEngineDescription")(description, 128));
    EXPECT_NE(description[0], '\0');
    const std::pair<const char*, const char*> shipped[] = {
        {"Cancel", "キャンセル"},
        {"&Apply", "適用(&A)"},
        {"Yes to &All", "すべてはい(&A)"},
        {"< &Back", "< 戻る(&B)"},
        {"&Next >", "次へ(&N) >"},
        {"&Browse...", "参照(&B)..."},
        {"Save &As...", "名前を付けて保存(&A)..."},
        {"File &name:", "ファイル名(&N):"},
        {"All Files (*.*)", "すべてのファイル (*.*)"},
        {"Notepad has stopped working", "Notepad は動作を停止しました"},
        {"Show line &numbers", "行番号を表示する(&N)"},
        {"Clear all marks", "すべてのマークをクリアする"},
        {"Foreground colour:", "前景色:"},
        {"Are you sure you want to delete the selected files?",
         "選択したファイルを削除してもよろしいですか?"},
        {"Auto-close &brackets", "かっこを自動的に閉じる(&B)"}, // the parts of a hyphenated word
        {"Enable debugging", "デバッグを有効にする"},             // an -ing word as its verb's noun
        {"Start position:", "開始位置:"},                         // a label is a name
        {"Signed", "署名済み"},                                   // a modifier alone
    };
    EXPECT_EQ(ConvertedAs(*m_engine, "@Title", "Untitled - Frobber"), Cp932("無題 - Frobber"));
    for (const auto& c : shipped)
        EXPECT_EQ(Converted(*m_engine, c.first), Cp932(c.second)) << c.first;
    EXPECT_NE(AboutText().find(Cp932("読み飛ばした行: 0 行")), std::string::npos);
}

const char kTable[] = "# 表示\tcomment\n"
                      "\n"
                      "表示\tひょうじ\r\n"
                      "Save\t保存\n"
                      "Save\t二番目\n"
                      "Two words\tふた つ\n"
                      "Font\tフォント\n"
                      "Save As\t名前を付けて保存\n"
                      "Next\t次へ\n"
                      "Back\t戻る\n"
                      "Details\t詳細\n"
                      "Add\t追加\n"
                      "OK\tOK\n"
                      "Cancel\tキャンセル(&X)\n"
                      "Tom && Jerry\tトムとジェリー\n"
                      "Look &in:\tファイルの場所(&I):\n"
                      "Welcome to the * Setup Wizard\t* セットアップ ウィザードへようこそ\n"
                      "Run *\t* を実行する\n";

TEST_F(DictionaryCopy, TakesDecorationsOffAndPutsThemBackTheJapaneseWay)
{
    WriteTable(kTable);
    ASSERT_TRUE(Start());
    const std::pair<const char*, const char*> cases[] = {
        {"Save", "保存"},                     // the first pair for a source wins
        {"表示", "ひょうじ"},
        {"&Font:", "フォント(&F):"},          // mnemonic letter after the words, colon kept
        {"Save &As...", "名前を付けて保存(&A)..."},
        {"&next >", "次へ(&N) >"},             // upper-cased letter, arrows kept
        {"< &Back", "< 戻る(&B)"},
        {"&Details >>", "詳細(&D) >>"},
        {"&Add ->", "追加(&A) ->"},
        {"Font：", "フォント："},              // full-width colon
        {"Font…", "フォント…"},                // code page 932 ellipsis
        {" Font ", " フォント "},              // surrounding blanks
        {"FONT", "フォント"},                  // case
        {"save   as", "名前を付けて保存"},     // runs of blanks
        {"&OK", "&OK"},                        // an all-ASCII answer keeps the letter in place
        {"&Cancel", "キャンセル(&X)"},         // the entry's own mnemonic wins
        {"Tom && Jerry", "トムとジェリー"},    // "&&" is an ampersand, not a mnemonic
        {"Look &in:", "ファイルの場所(&I):"},  // a whole caption first
        {"Welcome to the Foo Bar Setup Wizard", "Foo Bar セットアップ ウィザードへようこそ"},
        {"&Run Foo", "Foo を実行する(&R)"},
        {"Two words", "ふた つ"},
        {"Font Size", "(unchanged)"},          // half known is not known
        {"Fo&nt Save", "(unchanged)"},
        {"Welcome to the  Setup Wizard", "(unchanged)"},
        {"&&Font", "(unchanged)"},
        {"# 表示", "(unchanged)"},
        {"", "(unchanged)"},
        {"...", "(unchanged)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Converted(*m_engine, Cp932(c.first)), c.second[0] == '(' ? c.second : Cp932(c.second)) << c.first;
    EXPECT_EQ(Converted(*m_engine, "Two words", 8), Cp932("ふた つ"));
    EXPECT_EQ(Converted(*m_engine, "Two words", 7), "(unchanged)") << "a replacement that does not fit is not cut";
}

const char kGrammar[] = "する\tしない\t:not\n"
                        "する\tして\t:te\n"
                        "する\t\t:stem\n"
                        "{v} {n}\t{2}を{1}\tvp\n"
                        "{a} {n}\t{1}{2}\tn\n"
                        "{n} {n}\t{1}{2}\tn\n"
                        "{n} of {n}\t{2}の{1}\tn\n"
                        "{vp} in {n}\t{2}で{1}\tvp\n"
                        "{n} and {n}\t{1}と{2}\tn\n"
                        "{n} or {n}\t{1}または{2}\tn\n"
                        "do not {vp}\t{1:not}\tvp\n"
                        "are you sure you want to {vp} ?\t{1:te}もよろしいですか?\ts\n"
                        "every {num} {n}\t{1} {2}ごと\tn\n"
                        "show\t表示する\tv\n"
                        "delete\t削除する\tv\n"
                        "line\t行\tn\n"
                        "line\t線\tn\tdraw paint.exe\n"
                        "number\t番号\tn\n"
                        "color\t色\tn\n"
                        "custom\tカスタム\ta\n"
                        "file\tファイル\tn\n"
                        "minute\t分\tn\n"
                        "Open\t開始\t-\tdelimiter\n";

TEST_F(DictionaryCopy, BuildsCaptionsFromTheirWordsOnlyWhenARuleCoversThemAll)
{
    WriteTable(std::string(kTable) + kGrammar);
    ASSERT_TRUE(Start());
    const char* const cases[][3] = {
        {"Button", "Show line &numbers", "行番号を表示する(&N)"}, // verb and object, a compound, a plural
        {"Button", "&Custom Colour:", "カスタム色(&C):"},         // a modifier, a British spelling
        {"Button", "Number of files", "ファイルの番号"},
        {"Button", "Show files in line", "行でファイルを表示する"},
        {"Button", "Line and color", "行と色"},
        {"Button", "Line or color", "行または色"},
        {"Button", "Do not show files", "ファイルを表示しない"},
        {"Static", "Are you sure you want to delete files?", "ファイルを削除してもよろしいですか?"},
        {"Button", "Every 5 minutes", "5 分ごと"},
        {"Button", "Show files...", "ファイルを表示..."},            // a push button names its action
        {"TButton", "Show files", "ファイルを表示"},
        {"@Menu", "&Show Files\tCtrl+F", "ファイルを表示(&S)\tCtrl+F"}, // the accelerator stays
        {"@Title", "Details - Foo", "詳細 - Foo"},                  // a program's name stays
        {"Button", "Save", "保存"},                                 // a whole caption before the grammar
        {"Button", "Show frobs", "(unchanged)"},                    // an unknown word
        {"Button", "Files show", "(unchanged)"},                    // no rule for the shape
        {"Button", "Line of", "(unchanged)"},
        {"Button", "5", "(unchanged)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertedAs(*m_engine, c[0], Cp932(c[1])), c[2][0] == '(' ? c[2] : Cp932(c[2])) << c[1];
}

// The senses follow the captions the engine was asked about before, while
// the same window stays in the foreground.
TEST_F(DictionaryCopy, ChoosesASenseByTheCaptionsAskedAboutBefore)
{
    WriteTable(std::string(kTable) + kGrammar);
    ASSERT_TRUE(Start());
    const char* const steps[][2] = {
        {"Line color", "行色"},     // no context: the entry without one
        {"Open:", "(unchanged)"},   // a sense with a context that does not hold is no entry
        {"Draw", "(unchanged)"},
        {"Line color", "線色"},
        {"Delimiter", "(unchanged)"},
        {"&Open:", "開始(&O):"},
    };
    for (const auto& step : steps)
        EXPECT_EQ(Converted(*m_engine, step[0]), step[1][0] == '(' ? step[1] : Cp932(step[1])) << step[0];
    EXPECT_EQ(ConvertedAs(*m_engine, "@Sample", "Line color"), Cp932("線色"));
}

TEST_F(DictionaryCopy, SkipsAndCountsBadLinesAndNeverWritesPastTheBuffer)
{
    const std::string side255(255, 'x');
    const std::pair<std::string, bool> lines[] = {
        {"NoTab", false},
        {"\tno source", false},
        {"No target\t", false},
        {"Four\ttabs\tn\there\tx", false},
        {"Blank kind\tx\tn n", false},
        {std::string(256, 'a') + "\tlong source", false},
        {"Long target\t" + std::string(256, 'b'), false},
        {"Bad trail\t\x82\xFD", false},
        {"Lone lead\tx\x81", false},
        {"Control\tx\x01y", false},
        {side255 + "\t" + side255, true},
        {"Good\tgood", true},
    };
    std::string table;
    for (const auto& line : lines)
        table += line.first + "\n";
    m_folder.WriteFile("Custom.txt", table);
    ASSERT_TRUE(Start());
    for (const auto& line : lines) {
        std::string source = line.first.substr(0, line.first.find('\t'));
        EXPECT_EQ(Converted(*m_engine, source) != "(unchanged)", line.second) << line.first.substr(0, 40);
    }
    EXPECT_NE(AboutText().find(Cp932("読み飛ばした行: 10 行")), std::string::npos);
    EXPECT_EQ(Converted(*m_engine, "&" + side255), "(unchanged)") << "the rebuilt caption would not fit 256 bytes";

    // A UTF-8 table: a character code page 932 lacks, or bytes that are not UTF-8, spoil only their line.
    WriteUserTable("\xEF\xBB\xBF" "Caf\xC3\xA9\tx\n" "Broken\t\xC3\x28\n" "Good\t\xE8\x89\xAF\r\n");
    Stop();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Converted(*m_engine, "Good"), Cp932("良")) << "the user's table wins";
    EXPECT_EQ(Converted(*m_engine, "Broken"), "(unchanged)");
    EXPECT_NE(AboutText().find(Cp932("読み飛ばした行: 12 行")), std::string::npos);
}

TEST_F(DictionaryCopy, DoesNotStartWithoutItsTable)
{
    EXPECT_FALSE(Start());
}

TEST_F(DictionaryCopy, ReadsTheUserTableAgainWhenItChanges)
{
    WriteTable(kTable);
    ASSERT_TRUE(Start());
    EXPECT_EQ(Converted(*m_engine, "Added"), "(unchanged)");
    WriteUserTable("\xEF\xBB\xBF" "Added\t\xE8\xBF\xBD\xE5\x8A\xA0\n" "Save\t\xE3\x82\xBB\xE3\x83\xBC\xE3\x83\x96\n");
    EXPECT_TRUE(WaitUntil([&] { return Converted(*m_engine, "Added") != "(unchanged)"; }, 20000));
    EXPECT_EQ(Converted(*m_engine, "Added"), Cp932("追加"));
    EXPECT_EQ(Converted(*m_engine, "&Save"), Cp932("セーブ(&S)")) << "the user's entries win";
}

// An editor or a scanner holding the file open must not cost the user's
// entries, and the table is read once it is free again.
TEST_F(DictionaryCopy, KeepsTheUserTableWhileItsFileIsLocked)
{
    WriteTable(kTable);
    WriteUserTable("Added\tadded\n");
    ASSERT_TRUE(Start());
    HANDLE lock = CreateFileA(UserFile("Dictionary.txt").c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(lock, "Added\tadded\nLater\tlater\n", 26, &written, NULL);
    // The engine looks at its files once a second.
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2500;)
        ASSERT_EQ(Converted(*m_engine, "Added"), "added");
    CloseHandle(lock);
    EXPECT_TRUE(WaitUntil([&] { return Converted(*m_engine, "Later") == "later"; }, 20000));
}

TEST_F(DictionaryCopy, WritesEachUntranslatedCaptionDownOnceAcrossRuns)
{
    WriteTable(kTable);
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(Start());
        for (const char* caption : {"Frobnicate", "Frobnicate", "Two\r\nlines", "Save", "12", "表示する"})
            Converted(*m_engine, Cp932(caption));
        Stop();
    }
    std::ifstream written(UserFile("Untranslated.txt"), std::ios::binary);
    EXPECT_EQ(written.peek(), '#') << "a new file starts with what to do with it";
    std::string captions; // the lines after the header
    for (std::string line; std::getline(written, line);) {
        if (line.empty() || line[0] != '#')
            captions += line + "\n";
    }
    EXPECT_EQ(captions, "Frobnicate\t\r\nTwo  lines\t\r\n");
}

TEST_F(DictionaryCopy, SettingsTurnCaptureOffAndKeepTheChoice)
{
    CSavedValue savedCapture(kOptions, "CaptureUntranslated");
    WriteTable(kTable);
    ASSERT_TRUE(Start());
    CDialogDriver driver;
    driver.Then(Cp932("辞書エンジンの設定"), [](HWND dialog) {
        EXPECT_EQ(IsDlgButtonChecked(dialog, 1003), BST_CHECKED) << "capture is on by default";
        CheckDlgButton(dialog, 1003, BST_UNCHECKED);
        Click(dialog, IDOK);
    });
    m_engine->Export<PFN_TXVOnSetting>("TXVOnSetting")(m_owner);
    EXPECT_TRUE(driver.Finished());
    DWORD capture = 1;
    EXPECT_TRUE(CUserKey(kOptions).GetDWORD("CaptureUntranslated", &capture));
    EXPECT_EQ(capture, 0u);
    Stop();
    ASSERT_TRUE(Start());
    Converted(*m_engine, "Frobnicate");
    EXPECT_EQ(GetFileAttributesA(UserFile("Untranslated.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
