#include <gtest/gtest.h>

#include "tests/support/ExpectedTexts.h"
#include "tests/support/MorvaneRun.h"
#include "tests/support/TempFolder.h"
#include "ui/resource.h"

namespace {

// An engine that Morvane must refuse: a file written here or a faulty library.
struct RefusedEngine {
    const char* name;
    const char* writtenBytes; // null: fileName is a probe engine
    size_t writtenLength;
    const char* fileName;
    UINT message;        // an IDS_ id
    bool withLoadError;  // the code of the failed load is appended
};

const char kText[] = "This is a text file, not a library.\r\n";

// The headers of a 64-bit library (one empty section): a 32-bit process cannot
// map it, whatever it would hold.
std::string Library64()
{
    std::string image(0x400, '\0');
    auto put16 = [&](size_t at, unsigned value) { image[at] = char(value & 0xFF), image[at + 1] = char(value >> 8); };
    auto put32 = [&](size_t at, unsigned value) { put16(at, value & 0xFFFF), put16(at + 2, value >> 16); };
    const size_t pe = 0x40, optional = pe + 24, section = optional + 0xF0;
    image.replace(0, 2, "MZ");
    put32(0x3C, pe);
    image.replace(pe, 4, std::string("PE\0\0", 4));
    put16(pe + 4, 0x8664);             // x86-64
    put16(pe + 6, 1);                  // one section
    put16(pe + 20, 0xF0);              // the PE32+ optional header
    put16(pe + 22, 0x2022);            // executable, large addresses, a library
    put16(optional, 0x20B);            // PE32+
    put32(optional + 24, 0x00000000);  // image base, low half
    put32(optional + 28, 0x00000001);  // image base, high half: 0x100000000
    put32(optional + 32, 0x1000);      // section alignment
    put32(optional + 36, 0x200);       // file alignment
    put16(optional + 40, 6);           // operating system version
    put16(optional + 48, 6);           // subsystem version
    put32(optional + 56, 0x2000);      // size of image
    put32(optional + 60, 0x200);       // size of headers
    put16(optional + 68, 2);           // graphical subsystem
    put32(optional + 108, 16);         // data directories
    image.replace(section, 5, ".text");
    put32(section + 8, 0x1000);        // virtual size
    put32(section + 12, 0x1000);       // virtual address
    put32(section + 16, 0x200);        // raw size
    put32(section + 20, 0x200);        // raw offset
    put32(section + 36, 0x60000020);   // code, executable, readable
    return image;
}

const std::string kLibrary64 = Library64();

const RefusedEngine kRefused[] = {
    {"TextFile", kText, sizeof(kText) - 1, "TextFile.TXV", IDS_ENGINE_LOAD_FAILED, true},
    {"EmptyFile", "", 0, "Empty.TXV", IDS_ENGINE_LOAD_FAILED, true},
    {"Library64", kLibrary64.data(), kLibrary64.size(), "Library64.TXV", IDS_ENGINE_LOAD_FAILED, true},
    {"NoEngineExports", nullptr, 0, "ProbeNoExports.TXV", IDS_NOT_AN_ENGINE, false},
    {"ApiVersionZero", nullptr, 0, "ProbeApi00000000.TXV", IDS_NOT_AN_ENGINE, false},
    {"ApiVersionTwo", nullptr, 0, "ProbeApi00020000.TXV", IDS_ENGINE_API_TOO_HIGH, false},
    {"InitFails", nullptr, 0, "ProbeInitFails.TXV", IDS_ENGINE_INIT_FAILED, false},
};

class RefusedEngineTest : public MorvaneRunTest, public ::testing::WithParamInterface<RefusedEngine> {};

TEST_P(RefusedEngineTest, IsReportedOnceAndMorvaneRunsOnWithoutIt)
{
    const RefusedEngine& engine = GetParam();
    CTempFolder folder;
    std::string path = engine.writtenBytes != nullptr
                           ? folder.WriteFile(engine.fileName, std::string(engine.writtenBytes, engine.writtenLength))
                           : TestEnginePath(engine.fileName);
    std::string expected =
        engine.withLoadError ? ExpectedError(engine.message, LoadErrorOf(path)) : ExpectedString(engine.message);
    CPreferencesScope::SetString("Engine", path);

    ASSERT_NE(StartAnswering(), nullptr) << "Morvane goes on without an engine";
    ASSERT_EQ(m_startBoxes.size(), 1u) << "the failure is reported once";
    EXPECT_EQ(m_startBoxes[0].text, expected);
    EXPECT_EQ(m_startBoxes[0].buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(m_startBoxes[0].owner, nullptr);
    EXPECT_EQ(FindProcessDialog(m_morvane.Id(), nullptr), nullptr);
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(BadEngines, RefusedEngineTest, ::testing::ValuesIn(kRefused),
                         [](const ::testing::TestParamInfo<RefusedEngine>& info) { return info.param.name; });

// Engines that load but break the contract in what they write.
struct BadWriter {
    const char* engineFile;
    std::string converted;
};
const BadWriter kBadWriters[] = {
    // The output buffer arrives zero-filled, so a success without writing is the empty text.
    {"ProbeWritesNothing.TXV", ""},
    // Cut to its last byte.
    {"ProbeFillsBuffer.TXV", std::string(255, 'W')},
};

class BadWriterTest : public MorvaneRunTest, public ::testing::WithParamInterface<BadWriter> {};

TEST_P(BadWriterTest, HasWhatItWroteShownWithinTheBuffer)
{
    ASSERT_NE(StartWith(GetParam().engineFile, 0), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());
    HWND target = StartTarget("controls");
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(WaitAllConverted(target, GetParam().converted.c_str()))
        << "got " << ControlText(target, kPushButton).size() << " bytes";
    EXPECT_EQ(ControlText(target, kEdit), "Edit text");
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(BadEngines, BadWriterTest, ::testing::ValuesIn(kBadWriters));

using LoadedEngineTest = MorvaneRunTest;

TEST_F(LoadedEngineTest, AnUnterminatedDescriptionShowsWholeInTheAboutDialog)
{
    std::string path = TestEnginePath("ProbeLongDescription.TXV");
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

    HWND target = StartTarget("controls", "Long description");
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kPushButton) == "[OK]"; }, 20000))
        << "the engine still converts after its description was read";
    EXPECT_EQ(ExitMorvane(), 0);
}

// The engine's own settings box runs a modal loop inside Morvane's engine
// settings dialog: Morvane must keep answering, convert nothing meanwhile, and
// afterwards use what the engine settled.
TEST_F(LoadedEngineTest, ASettingsBoxOfTheEngineKeepsMorvaneAnsweringAndRefreshesThePreview)
{
    CTempFolder folder;
    std::string path = folder.PathOf("ProbeSettingBox.TXV");
    ASSERT_TRUE(CopyFileA(TestEnginePath("ProbeSettingBox.TXV").c_str(), path.c_str(), FALSE));
    CPreferencesScope::SetString("Engine", path);
    CPreferencesScope::SetString("EngineFolder", folder.Path());
    CPreferencesScope::SetString("SampleString", "Sample");
    ASSERT_NE(StartAnswering(), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());

    Command(40003);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindProcessDialog(m_morvane.Id(), nullptr)) != nullptr; }, 15000));
    // The dialog is found as soon as it exists, before its controls do.
    HWND settings = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            settings = GetDlgItem(dialog, 1009);
            return IsWindowEnabled(settings) && TextOf(GetDlgItem(dialog, 1014)) == "[Sample]";
        },
        15000));
    PostMessageA(dialog, WM_COMMAND, 1009, reinterpret_cast<LPARAM>(settings));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindProcessDialog(m_morvane.Id(), "Probe settings")) != nullptr; }, 15000));
    EXPECT_EQ(CMessageBoxWatcher::Read(box).owner, dialog);

    HWND target = StartTarget("controls", "Settings box");
    ASSERT_NE(target, nullptr);
    // Conversion is suspended while the dialog is open, so no sentinel can tick: ten timer periods.
    WaitUntil([] { return false; }, 1000);
    EXPECT_TRUE(IsResponsive());
    EXPECT_EQ(ControlText(target, kPushButton), "OK") << "nothing is converted while the engine's box is up";

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(dialog, 1014)) == "<Sample>"; }, 15000));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 15000));
    // The engine is loaded afresh when the dialog closes, so its settings are gone.
    EXPECT_TRUE(WaitUntil([&] { return KeepInFront(target) && ControlText(target, kPushButton) == "[OK]"; }, 20000));
    EXPECT_EQ(ExitMorvane(), 0);
}

} // namespace
