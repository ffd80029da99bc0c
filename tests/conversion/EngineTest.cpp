#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "app/MorvaneApp.h"
#include "conversion/Engine.h"
#include "conversion/EngineThread.h"
#include "tests/engines/ProbeEngine.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestApp.h"
#include "ui/resource.h"

namespace {

class Engine : public ::testing::Test {
protected:
    void SetUp() override { UseTestApplication(); }
    void ExpectCalls(const std::vector<std::string>& expected) const { EXPECT_EQ(m_log.Lines(), expected); }

    CProbeLog m_log;
};

TEST_F(Engine, AcceptsEveryApiVersionOfMajorVersionOne)
{
    for (const char* file : {"ProbeApi00000001.TXV", "ProbeComplete.TXV", "ProbeApi0001FFFF.TXV"}) {
        std::string path = TestEnginePath(file);
        CMessageBoxWatcher watcher(IDOK);
        CEngine engine(FALSE, g_pApp);
        EXPECT_TRUE(engine.Load(path.c_str())) << file;
        EXPECT_NE(GetModuleHandleA(path.c_str()), nullptr);
        EXPECT_STREQ(engine.GetPath(), path.c_str());
        EXPECT_FALSE(engine.IsInitialized());
        EXPECT_TRUE(engine.HasOnAbout());
        EXPECT_TRUE(engine.HasOnSetting());
        EXPECT_TRUE(watcher.Seen().empty());
    }
}

// A silent engine rejects the same libraries without a word.
TEST_F(Engine, RejectsAFaultyLibraryWithItsMessageAfterFreeingIt)
{
    CTempFolder folder;
    const std::pair<std::string, std::string> rejections[] = {
        {TestEnginePath("ProbeApi00020000.TXV"), ExpectedString(IDS_ENGINE_API_TOO_HIGH)},
        {TestEnginePath("ProbeApi00000000.TXV"), ExpectedString(IDS_NOT_AN_ENGINE)},
        {TestEnginePath("ProbeNoApiVersion.TXV"), ExpectedString(IDS_NOT_AN_ENGINE)},
        {TestEnginePath("Missing.TXV"), ExpectedError(IDS_ENGINE_LOAD_FAILED, ERROR_MOD_NOT_FOUND)},
        {folder.WriteFile("NotALibrary.TXV", "This is a text, not a library."),
         ExpectedError(IDS_ENGINE_LOAD_FAILED, ERROR_BAD_EXE_FORMAT)},
    };
    for (const auto& rejection : rejections) {
        SCOPED_TRACE(rejection.first);
        const std::string& path = rejection.first;
        bool loadedWhileShown = true;
        CMessageBoxWatcher watcher(IDOK, [&](const SeenMessageBox&) {
            loadedWhileShown = GetModuleHandleA(path.c_str()) != nullptr;
        });
        CEngine silent(TRUE, g_pApp);
        EXPECT_FALSE(silent.Load(path.c_str()));
        CEngine engine(FALSE, g_pApp);
        EXPECT_FALSE(engine.Load(path.c_str()));
        ASSERT_EQ(watcher.Seen().size(), 1u);
        EXPECT_EQ(watcher.Seen()[0], MorvaneWarning(rejection.second));
        EXPECT_FALSE(loadedWhileShown) << "the library is freed before the user is told";
        EXPECT_STREQ(engine.GetPath(), "");

        std::string complete = TestEnginePath("ProbeComplete.TXV");
        EXPECT_TRUE(engine.Load(complete.c_str())) << "a failed load leaves the object empty";
    }
}

TEST_F(Engine, SecondLoadFailsSilentlyAndKeepsTheFirstLibrary)
{
    std::string complete = TestEnginePath("ProbeComplete.TXV");
    CMessageBoxWatcher watcher(IDOK);
    CEngine engine(FALSE, g_pApp);
    ASSERT_TRUE(engine.Load(complete.c_str()));
    EXPECT_FALSE(engine.Load(TestEnginePath("ProbeBare.TXV").c_str()));
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_STREQ(engine.GetPath(), complete.c_str());
    EXPECT_EQ(GetModuleHandleA(TestEnginePath("ProbeBare.TXV").c_str()), nullptr);
}

// LoadLibraryA takes a path of 260 characters at most, one more than the host
// keeps: the padding segments are resolved by the loader.
TEST_F(Engine, KeepsTheFirst259CharactersOfALongerPath)
{
    const std::string folder = BinaryFolder() + "\\testengines\\";
    const std::string name = "ProbeComplete.TXV";
    std::string padding;
    while (folder.size() + padding.size() + name.size() < 260)
        padding += folder.size() + padding.size() + name.size() == 259 ? "\\" : ".\\";
    const std::string path = folder + padding + name;
    ASSERT_EQ(path.size(), 260u);
    CEngine engine(FALSE, g_pApp);
    ASSERT_TRUE(engine.Load(path.c_str()));
    EXPECT_EQ(engine.GetPath(), path.substr(0, 259));
}

TEST_F(Engine, ListsALoadedEngineWithoutStartingOrCallingIt)
{
    {
        CEngine engine(TRUE, g_pApp);
        ASSERT_TRUE(engine.Load(TestEnginePath("ProbeComplete.TXV").c_str()));
        char text[128];
        ASSERT_TRUE(engine.GetEngineDescription(text, sizeof(text)));
        EXPECT_STREQ(text, "Probe engine complete");
        ASSERT_TRUE(engine.GetEngineVersion(text, sizeof(text)));
        EXPECT_STREQ(text, "API 00010000");
        char out[256] = "untouched";
        EXPECT_FALSE(engine.ConvertCaptionString("Button", "OK", out, sizeof(out)));
        EXPECT_STREQ(out, "untouched");
        engine.OnAbout(NULL);
        engine.OnSetting(NULL);
        engine.ExitEngine();
    }
    ExpectCalls({"complete attach", "complete TXVGetAPIVersion", "complete TXVGetEngineDescription",
                 "complete TXVGetEngineVersion", "complete detach"});
}

TEST_F(Engine, CallsAStartedEngineUntilItIsEndedAndEndsItOnce)
{
    HWND owner = reinterpret_cast<HWND>(0x00012340);
    CEngine engine(FALSE, g_pApp);
    ASSERT_TRUE(engine.Load(TestEnginePath("ProbeComplete.TXV").c_str()));
    ASSERT_TRUE(engine.InitEngine());
    EXPECT_TRUE(engine.IsInitialized());
    char out[256] = "";
    EXPECT_TRUE(engine.ConvertCaptionString("Button", "OK", out, sizeof(out)));
    EXPECT_STREQ(out, "[OK]");
    engine.OnSetting(owner);
    engine.OnAbout(owner);
    engine.ExitEngine();
    EXPECT_FALSE(engine.IsInitialized());
    engine.ExitEngine();
    EXPECT_FALSE(engine.ConvertCaptionString("Button", "OK", out, sizeof(out)));
    engine.OnAbout(owner);
    engine.Unload();
    EXPECT_STREQ(engine.GetPath(), "");
    EXPECT_FALSE(engine.HasOnAbout());
    EXPECT_FALSE(engine.HasOnSetting());

    ExpectCalls({"complete attach", "complete TXVGetAPIVersion", "complete TXVInitEngine",
                 "complete TXVConvertCaptionString Button 256", "complete TXVOnSetting 00012340",
                 "complete TXVOnAbout 00012340", "complete TXVExitEngine", "complete detach"});
}

TEST_F(Engine, DestroyingAStartedEngineEndsItBeforeFreeingIt)
{
    {
        CEngine engine(FALSE, g_pApp);
        ASSERT_TRUE(engine.Load(TestEnginePath("ProbeComplete.TXV").c_str()));
        ASSERT_TRUE(engine.InitEngine());
    }
    ExpectCalls({"complete attach", "complete TXVGetAPIVersion", "complete TXVInitEngine", "complete TXVExitEngine",
                 "complete detach"});
}

TEST_F(Engine, AFailedStartLeavesTheEngineUnusableAndNeverEndsIt)
{
    {
        CEngine engine(FALSE, g_pApp);
        ASSERT_TRUE(engine.Load(TestEnginePath("ProbeInitFails.TXV").c_str()));
        EXPECT_FALSE(engine.InitEngine());
        EXPECT_FALSE(engine.IsInitialized());
        char out[256] = "";
        EXPECT_FALSE(engine.ConvertCaptionString("Button", "OK", out, sizeof(out)));
    }
    ExpectCalls({"initfails attach", "initfails TXVGetAPIVersion", "initfails TXVInitEngine", "initfails detach"});
}

TEST_F(Engine, WorksWithoutTheOptionalExports)
{
    {
        CEngine engine(FALSE, g_pApp);
        ASSERT_TRUE(engine.Load(TestEnginePath("ProbeBare.TXV").c_str()));
        EXPECT_FALSE(engine.HasOnAbout());
        EXPECT_FALSE(engine.HasOnSetting());
        ASSERT_TRUE(engine.InitEngine());
        engine.OnAbout(NULL);
        engine.OnSetting(NULL);
        char out[256] = "";
        EXPECT_TRUE(engine.ConvertCaptionString("Static", "a", out, sizeof(out)));
        EXPECT_STREQ(out, "[a]");
        engine.ExitEngine();
        EXPECT_FALSE(engine.IsInitialized());
    }
    ExpectCalls({"bare attach", "bare TXVGetAPIVersion", "bare TXVInitEngine",
                 "bare TXVConvertCaptionString Static 256", "bare detach"});
}

TEST_F(Engine, ADeclinedConversionReportsNoChange)
{
    CEngine engine(FALSE, g_pApp);
    ASSERT_TRUE(engine.Load(TestEnginePath("ProbeDeclines.TXV").c_str()));
    ASSERT_TRUE(engine.InitEngine());
    char out[256] = "";
    EXPECT_FALSE(engine.ConvertCaptionString("Button", "OK", out, sizeof(out)));
}

// The engine fills every byte with double-byte characters and no terminator;
// the host must end the text inside the buffer, between two characters.
TEST_F(Engine, TextsWithoutTerminatorAreEndedInsideTheBuffer)
{
    CEngine engine(FALSE, g_pApp);
    ASSERT_TRUE(engine.Load(TestEnginePath("ProbeUnterminated.TXV").c_str()));
    ASSERT_TRUE(engine.InitEngine());
    const std::pair<const char*, std::function<BOOL(char*, int)>> calls[] = {
        {"description", [&](char* buffer, int size) { return engine.GetEngineDescription(buffer, size); }},
        {"version", [&](char* buffer, int size) { return engine.GetEngineVersion(buffer, size); }},
        {"conversion",
         [&](char* buffer, int size) { return engine.ConvertCaptionString("Button", "OK", buffer, size); }},
    };
    for (const auto& call : calls) {
        for (int size : {128, 256, 7}) {
            std::vector<char> buffer(size + 16, 'x');
            buffer.back() = '\0';
            EXPECT_TRUE(call.second(buffer.data(), size));
            EXPECT_EQ(strlen(buffer.data()), static_cast<size_t>((size - 1) / 2 * 2)) << call.first << " in " << size;
            EXPECT_EQ(buffer[size], 'x') << call.first << " in " << size;
        }
    }
}

struct Stop {
    const char* mode; // MORVANE_FAULT for ProbeFaulting.TXV
    DWORD code;
};

class StoppedEngine : public Engine, public ::testing::WithParamInterface<Stop> {
protected:
    void TearDown() override { SetEnvironmentVariableA("MORVANE_FAULT", nullptr); }
};

// A stopped library stays loaded for good, so each case loads a copy of its own.
TEST_P(StoppedEngine, EndsTheCallIsToldOnceAndStaysLoadedNeverToBeCalledOrLoadedAgain)
{
    SetEnvironmentVariableA("MORVANE_FAULT", GetParam().mode);
    CTempFolder folder;
    std::string path = folder.PathOf(std::string("Stopped") + GetParam().mode + ".TXV");
    ASSERT_TRUE(CopyFileA(TestEnginePath("ProbeFaulting.TXV").c_str(), path.c_str(), FALSE));
    DWORD start = 0;
    DWORD told = 0;
    CMessageBoxWatcher watcher(IDOK, [&](const SeenMessageBox&) { told = told != 0 ? told : GetTickCount(); });
    {
        CEngine engine(FALSE, g_pApp);
        ASSERT_TRUE(engine.Load(path.c_str()));
        ASSERT_TRUE(engine.InitEngine());
        char out[256] = "";
        start = GetTickCount();
        EXPECT_FALSE(engine.ConvertCaptionString("Button", "OK", out, sizeof(out)));
        EXPECT_LT(told - start, 2000u);
        EXPECT_STREQ(out, "");
        EXPECT_FALSE(engine.ConvertCaptionString("Button", "OK", out, sizeof(out)));
        engine.OnSetting(NULL);
    }
    EXPECT_NE(GetModuleHandleA(path.c_str()), nullptr);
    EXPECT_FALSE(CEngine(FALSE, g_pApp).Load(path.c_str()));
    const std::vector<SeenMessageBox> boxes = {MorvaneWarning(ExpectedFault(GetParam().code, path)),
                                               MorvaneWarning(ExpectedString(IDS_ENGINE_STOPPED_EARLIER))};
    EXPECT_EQ(watcher.Seen(), boxes);
    // What the engine made keeps running its code.
    if (std::string(GetParam().mode) == "timer") {
        EXPECT_TRUE(WaitUntil([&] { return m_log.Count("faulting timer") >= 3; }, 10000));
    }
    std::vector<std::string> calls = m_log.Lines();
    calls.erase(std::remove(calls.begin(), calls.end(), "faulting timer"), calls.end());
    EXPECT_EQ(calls, std::vector<std::string>({"faulting attach", "faulting TXVGetAPIVersion", "faulting TXVInitEngine",
                                               "faulting TXVConvertCaptionString Button 256"}));
}

INSTANTIATE_TEST_SUITE_P(Stops, StoppedEngine,
                         ::testing::Values(Stop{"hang", CEngineThread::kHungCode}, Stop{"throw", 0xE06D7363},
                                           Stop{"timer", EXCEPTION_ACCESS_VIOLATION}),
                         [](const ::testing::TestParamInfo<Stop>& info) { return info.param.mode; });

} // namespace
