#include <gtest/gtest.h>

#include "tests/app/CaptionTarget.h"
#include "tests/reliability/MorvaneRun.h"
#include "tests/reliability/TempFolder.h"
#include "tests/support/Cp932.h"

namespace {

const char kLoadFailed[] = "エンジンの読み込みに失敗しました。";
const char kNotAnEngine[] = "エンジンの読み込みに失敗しました。\r\nMorvane用のエンジンではない可能性があります。";
const char kApiTooHigh[] =
    "エンジンのAPIバージョンが高いため、読み込みを中止します。\r\nこのエンジンのためには、新しいMorvaneを使ってください。";
const char kInitFailed[] = "エンジンの初期化に失敗しました。";

std::string WithErrorCode(const char* utf8, DWORD code)
{
    return Cp932(utf8) + "\n\n" + Cp932("[ エラー詳細 ]") + "\nERRCODE=" + std::to_string(code);
}

// An engine that Morvane must refuse: a file written here or a faulty library.
struct RefusedEngine {
    const char* name;
    const char* writtenBytes; // null: fileName is a built faulty engine
    size_t writtenLength;
    const char* fileName;
    const char* message; // UTF-8
    bool withLoadError;  // the code of the failed load is appended
};

const char kText[] = "This is a text file, not a library.\r\n";

const RefusedEngine kRefused[] = {
    {"TextFile", kText, sizeof(kText) - 1, "TextFile.TXV", kLoadFailed, true},
    {"EmptyFile", "", 0, "Empty.TXV", kLoadFailed, true},
    {"NoEngineExports", nullptr, 0, "NotAnEngine.TXV", kNotAnEngine, false},
    {"ApiVersionZero", nullptr, 0, "ApiVersionZero.TXV", kNotAnEngine, false},
    {"ApiVersionTwo", nullptr, 0, "ApiVersionTwo.TXV", kApiTooHigh, false},
    {"InitFails", nullptr, 0, "InitFails.TXV", kInitFailed, false},
};

class RefusedEngineTest : public MorvaneRunTest, public ::testing::WithParamInterface<RefusedEngine> {};

TEST_P(RefusedEngineTest, IsReportedOnceAndMorvaneRunsOnWithoutIt)
{
    const RefusedEngine& engine = GetParam();
    CTempFolder folder;
    std::string path = engine.writtenBytes != nullptr
                           ? folder.WriteFile(engine.fileName, std::string(engine.writtenBytes, engine.writtenLength))
                           : FaultyEnginePath(engine.fileName);
    std::string expected = engine.withLoadError ? WithErrorCode(engine.message, LoadErrorOf(path)) : Cp932(engine.message);
    CPreferencesScope::SetString("Engine", path);

    ASSERT_TRUE(m_morvane.Start("\"" + Bin("Morvane.exe") + "\""));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindProcessDialog(m_morvane.Id(), "Morvane")) != nullptr; }, 30000));
    SeenMessageBox seen = CMessageBoxWatcher::Read(box);
    EXPECT_EQ(seen.text, expected);
    EXPECT_EQ(seen.buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(seen.owner, nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    m_hMainWnd = WaitForTopLevelWindow("MorvaneWndClass", m_morvane.Id(), 30000);
    ASSERT_NE(m_hMainWnd, nullptr) << "Morvane goes on without an engine";
    EXPECT_EQ(FindProcessDialog(m_morvane.Id(), nullptr), nullptr) << "the failure is reported once";
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(BadEngines, RefusedEngineTest, ::testing::ValuesIn(kRefused),
                         [](const ::testing::TestParamInfo<RefusedEngine>& info) { return info.param.name; });

// Engines that load but break the contract in what they write.
using LoadedEngineTest = MorvaneRunTest;

TEST_F(LoadedEngineTest, AConversionThatWritesNothingEmptiesTheControls)
{
    CPreferencesScope::SetString("Engine", FaultyEnginePath("ConvertWritesNothing.TXV"));
    ASSERT_NE(StartAnswering(), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());
    CChildProcess process;
    HWND target = StartTarget(process, "Writes nothing");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    // The output buffer arrives zero-filled, so a success without writing is the empty text.
    EXPECT_TRUE(WaitForConvertedTexts(target, "", 20000));
    EXPECT_EQ(ControlText(target, kEdit), "Edit text");
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(LoadedEngineTest, AConversionThatFillsTheWholeBufferIsCutToItsLastByte)
{
    CPreferencesScope::SetString("Engine", FaultyEnginePath("ConvertFillsBuffer.TXV"));
    ASSERT_NE(StartAnswering(), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());
    CChildProcess process;
    HWND target = StartTarget(process, "Fills buffer");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    EXPECT_TRUE(WaitForConvertedTexts(target, std::string(255, 'W'), 20000))
        << "got " << ControlText(target, kPushButton).size() << " bytes";
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(LoadedEngineTest, AnUnterminatedDescriptionShowsWholeInTheAboutDialog)
{
    std::string path = FaultyEnginePath("LongDescription.TXV");
    CPreferencesScope::SetString("Engine", path);
    ASSERT_NE(StartAnswering(), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());

    Command(40002);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = FindProcessDialog(m_morvane.Id(), nullptr)) != nullptr; }, 15000));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(about, 1000)) == path; }, 5000));
    EXPECT_EQ(TextOf(GetDlgItem(about, 1001)), std::string(200, 'D'));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 10000));

    CChildProcess process;
    HWND target = StartTarget(process, "Long description");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kPushButton) == "[OK]"; }, 20000))
        << "the engine still converts after its description was read";
    EXPECT_EQ(ExitMorvane(), 0);
}

} // namespace
