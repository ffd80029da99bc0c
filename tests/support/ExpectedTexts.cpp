#include "tests/support/ExpectedTexts.h"

#include "conversion/EngineThread.h"
#include "tests/support/Cp932.h"
#include "ui/resource.h"

namespace {

struct Text {
    UINT id;
    const char* utf8;
};

const Text kStrings[] = {
    {IDS_APP_NAME, "Morvane"},
    {IDS_APP_NAME_STOPPED, "Morvane [停止中]"},
    {IDS_CHOOSE_ENGINE_FOLDER, "エンジンの存在するフォルダを選択してください。"},
    {IDS_APP_NAME_ORIGINALS, "Morvane [原文表示中]"},
    {IDS_APP_NAME_REFUSED, "Morvane [管理者として実行中のウィンドウは変換できません]"},
    {IDS_COLUMN_FILE_NAME, "ファイル名"},
    {IDS_COLUMN_DESCRIPTION, "説明"},
    {IDS_COLUMN_VERSION, "バージョン"},
    {IDS_ERROR_DETAILS, "\n\n[ エラー詳細 ]\nERRCODE=%lu"},
    {IDS_TRAY_ICON_FAILED, "タスクトレイへのアイコン登録に失敗しました。"},
    {IDS_ENGINE_LOAD_FAILED, "エンジンの読み込みに失敗しました。"},
    {IDS_ENGINE_API_TOO_HIGH, "エンジンのAPIバージョンが高いため、読み込みを中止します。\r\n"
                              "このエンジンのためには、新しいMorvaneを使ってください。"},
    {IDS_OBJECT_CREATION_FAILED, "オブジェクトの生成に失敗しました。"},
    {IDS_SETTINGS_LOAD_FAILED, "設定の読み込みに失敗しました。"},
    {IDS_NOT_AN_ENGINE, "エンジンの読み込みに失敗しました。\r\nMorvane用のエンジンではない可能性があります。"},
    {IDS_ENGINE_INIT_FAILED, "エンジンの初期化に失敗しました。"},
    {IDS_ENGINE_FAULTED, "エンジンの実行中に例外が発生したため、エンジンの使用を中止しました。\r\n"
                         "例外コード: 0x%08lX\r\nエンジン: %s"},
    {IDS_ENGINE_HUNG, "エンジンが応答しなくなったため、エンジンの使用を中止しました。\r\nエンジン: %s"},
    {IDS_ENGINE_STOPPED_EARLIER, "このエンジンは使用を中止したため、Morvaneを再起動するまで読み込めません。"},
    {IDS_HOOK_FAILED, "フックモードを開始できなかったため、通常モードで変換します。"},
    {IDS_NO_ENGINE_SELECTED, "エンジンが選択されていません。よろしいですか?"},
    {IDS_ENGINE_CHANGED, "変更されたエンジンによる変換は今後表示されるウィンドウに対して行われます。\n"
                         "以前選択していたエンジンによって変換済みのウィンドウは再変換されません。"},
    {IDS_INTERNAL_ERROR, "内部エラーが発生しました。"},
    {IDS_OUT_OF_MEMORY, "メモリが不足しています。"},
    {IDS_DEFAULT_SAMPLE_STRING, "サンプル文字列です。"},
};

const Text kCaptions[] = {
    {IDD_ABOUT, "バージョン情報 - Morvane"},
    {IDD_ENGINE_SETTINGS, "エンジン設定 - Morvane"},
    {IDD_SAMPLE_STRING, "サンプル文字列の変更"},
    {IDD_ENGINE_CHANGE_NOTICE, "Morvane"},
    {IDD_OPTIONS, "オプション - Morvane"},
};

template <size_t N> std::string Find(const Text (&table)[N], UINT id)
{
    for (const Text& text : table) {
        if (text.id == id)
            return Cp932(text.utf8);
    }
    return "(no expected text " + std::to_string(id) + ")";
}

} // namespace

std::string ExpectedString(UINT id)
{
    return Find(kStrings, id);
}

std::string ExpectedCaption(UINT dialogId)
{
    return Find(kCaptions, dialogId);
}

std::vector<UINT> ExpectedStringIds()
{
    std::vector<UINT> ids;
    for (const Text& text : kStrings)
        ids.push_back(text.id);
    return ids;
}

std::string ExpectedError(UINT id, DWORD code)
{
    char details[128];
    wsprintfA(details, ExpectedString(IDS_ERROR_DETAILS).c_str(), static_cast<unsigned long>(code));
    return ExpectedString(id) + details;
}

std::string ExpectedFault(DWORD exceptionCode, const std::string& enginePath)
{
    bool hung = exceptionCode == CEngineThread::kHungCode;
    std::string format = ExpectedString(hung ? IDS_ENGINE_HUNG : IDS_ENGINE_FAULTED);
    std::string text(format.size() + enginePath.size() + 16, '\0');
    text.resize(
        hung ? wsprintfA(&text[0], format.c_str(), enginePath.c_str())
             : wsprintfA(&text[0], format.c_str(), static_cast<unsigned long>(exceptionCode), enginePath.c_str()));
    return text;
}
