#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/app/CaptionTarget.h"
#include "tests/engines/ProbeEngine.h"
#include "tests/support/MorvaneProcess.h"

namespace {

const int kConvertedIds[] = {kPushButton, kCheckBox, kRadioButton, kGroupBox, kStatic, kTButton, kTCheckBox, kTGroupBox};

struct Original {
    int id;
    const char* text;
};
const Original kOriginals[] = {{kPushButton, "OK"},  {kCheckBox, "Check"}, {kRadioButton, "Radio"},
                               {kGroupBox, "Group"}, {kStatic, "Label"},   {kTButton, "TB"},
                               {kTCheckBox, "TC"},   {kTGroupBox, "TG"}};

// Runs Morvane with a probe engine against caption_target windows.
class Walker : public MorvaneProcessTest {
protected:
    void StartWith(const char* engineFile, DWORD resMode)
    {
        CPreferencesScope::SetString("Engine", TestEnginePath(engineFile));
        CPreferencesScope::SetDWORD("ResMode", resMode);
        ASSERT_NE(StartMorvane(), nullptr);
    }

    HWND StartTarget(CChildProcess& process, const std::string& title, const std::string& report = "")
    {
        std::string line = "\"" + Bin("caption_target.exe") + "\" \"" + title + "\"";
        if (!report.empty())
            line += " \"" + report + "\"";
        if (!process.Start(line))
            return nullptr;
        return WaitForTopLevelWindow(CAPTION_TARGET_CLASS, process.Id(), 15000);
    }

    static std::string ControlText(HWND target, int id) { return TextOf(GetDlgItem(target, id)); }

    static bool AllConverted(HWND target)
    {
        for (const Original& original : kOriginals) {
            if (ControlText(target, original.id) != std::string("[") + original.text + "]")
                return false;
        }
        return true;
    }

    int Conversions() const
    {
        const std::vector<std::string> lines = m_log.Lines();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.find(" TXVConvertCaptionString ") != std::string::npos;
        }));
    }

    // Lets Morvane run for a while, handling this thread's messages meanwhile.
    static void Pass(DWORD ms)
    {
        WaitUntil([] { return false; }, ms);
    }

    CProbeLog m_log;
};

TEST_F(Walker, NormalModeConvertsTheTargetClassesOfTheForegroundWindowOnce)
{
    StartWith("ProbeComplete.TXV", 0);
    CChildProcess process;
    HWND target = StartTarget(process, "Walker target");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);

    ASSERT_TRUE(WaitUntil([&] { return AllConverted(target); }, 20000));
    EXPECT_EQ(ControlText(target, kEdit), "Edit text");
    EXPECT_EQ(ControlText(target, kOtherClass), "Other");
    EXPECT_EQ(ControlText(target, kEmptyButton), "") << "an empty text never reaches the engine";
    EXPECT_EQ(TextOf(target), "Walker target") << "the foreground window's own title is left alone";

    Pass(1000);
    EXPECT_EQ(Conversions(), 8) << "in the steady state the engine is not called again";

    SendMessageA(GetDlgItem(target, kPushButton), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Again"));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kPushButton) == "[Again]"; }, 5000));
    Pass(500);
    EXPECT_EQ(Conversions(), 9);
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(Walker, NormalModeLeavesBackgroundWindowsUntilTheyComeToTheFront)
{
    // Both targets exist before Morvane starts: each comes to the front as it opens.
    CChildProcess frontProcess, backProcess;
    HWND back = StartTarget(backProcess, "Back");
    HWND front = StartTarget(frontProcess, "Front");
    ASSERT_NE(back, nullptr);
    ASSERT_NE(front, nullptr);
    SetForegroundWindow(front);
    StartWith("ProbeComplete.TXV", 0);
    ASSERT_TRUE(WaitUntil([&] { return AllConverted(front); }, 20000));
    Pass(500);
    EXPECT_EQ(ControlText(back, kPushButton), "OK");

    SetForegroundWindow(back);
    EXPECT_TRUE(WaitUntil([&] { return AllConverted(back); }, 20000));
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(Walker, NormalModeTriesADeclinedConversionAgainAtEveryTick)
{
    StartWith("ProbeDeclines.TXV", 0);
    CChildProcess process;
    HWND target = StartTarget(process, "Declined");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    ASSERT_TRUE(WaitUntil([&] { return Conversions() >= 8; }, 20000));
    int early = Conversions();
    Pass(1000);
    EXPECT_GE(Conversions(), early + 8 * 3) << "each tick asks again for every control";
    EXPECT_EQ(ControlText(target, kPushButton), "OK") << "a declined conversion leaves the control alone";
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(Walker, PauseStopsConversionAndResumingConvertsWhatChanged)
{
    StartWith("ProbeComplete.TXV", 0);
    CChildProcess process;
    HWND target = StartTarget(process, "Paused");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    ASSERT_TRUE(WaitUntil([&] { return AllConverted(target); }, 20000));

    Command(40004);
    Pass(300);
    SendMessageA(GetDlgItem(target, kPushButton), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Paused"));
    Pass(1000);
    EXPECT_EQ(ControlText(target, kPushButton), "Paused");

    Command(40004);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kPushButton) == "[Paused]"; }, 5000));
    EXPECT_EQ(ExitMorvane(), 0);
}

TEST_F(Walker, AHungWindowDoesNotStopMorvane)
{
    StartWith("ProbeComplete.TXV", 0);
    CChildProcess hungProcess, liveProcess;
    HWND live = StartTarget(liveProcess, "Live");
    HWND hung = StartTarget(hungProcess, "Hung");
    ASSERT_NE(live, nullptr);
    ASSERT_NE(hung, nullptr);
    PostMessageA(hung, WM_TARGET_HANG, 60000, 0);
    Pass(200);
    SetForegroundWindow(hung);
    Pass(3000);

    SetForegroundWindow(live);
    EXPECT_TRUE(WaitUntil([&] { return AllConverted(live); }, 20000)) << "other windows are still converted";
    EXPECT_EQ(ExitMorvane(), 0) << "Morvane exits cleanly";
    hungProcess.Kill();
}

// The controls caption_target creates when it starts.
const size_t kCreatedControls = 11;

// The texts the target read back right after creating each control; only
// complete lines count, the target may still be writing.
std::map<int, std::string> ReadReport(const std::string& path)
{
    std::map<int, std::string> texts;
    std::ifstream file(path);
    std::stringstream content;
    content << file.rdbuf();
    std::string all = content.str();
    std::istringstream lines(all.substr(0, all.rfind('\n') + 1));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string id, className, text;
        std::getline(fields, id, '\t');
        std::getline(fields, className, '\t');
        std::getline(fields, text);
        texts[std::stoi(id)] = text;
    }
    return texts;
}

class HookMode : public Walker, public ::testing::WithParamInterface<DWORD> {};

TEST_P(HookMode, ConvertsTargetClassesAsTheyAreCreatedAndNeverAgain)
{
    StartWith("ProbeComplete.TXV", GetParam());
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string report = std::string(folder) + "morvane-hook-report.txt";
    DeleteFileA(report.c_str());

    CChildProcess process;
    HWND target = StartTarget(process, "Hooked", report);
    ASSERT_NE(target, nullptr);
    std::map<int, std::string> created;
    // The window exists before its controls: wait until it has made them all.
    ASSERT_TRUE(WaitUntil([&] { return (created = ReadReport(report)).size() == kCreatedControls; }, 15000));
    for (const Original& original : kOriginals)
        EXPECT_EQ(created[original.id], std::string("[") + original.text + "]") << "control " << original.id;
    EXPECT_EQ(created[kEmptyButton], "[]") << "hook mode passes empty texts too";
    EXPECT_EQ(created[kEdit], "Edit text");
    EXPECT_EQ(created[kOtherClass], "Other");
    EXPECT_EQ(TextOf(target), "Hooked");

    SendMessageA(GetDlgItem(target, kPushButton), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Later"));
    Pass(1000);
    EXPECT_EQ(ControlText(target, kPushButton), "Later") << "later changes are not converted in hook mode";

    Command(40004);
    Pass(300);
    PostMessageA(target, WM_TARGET_ADD_BUTTONS, 1, 0);
    Pass(500);
    EXPECT_EQ(ControlText(target, kFirstExtra), "Extra") << "nothing is converted while paused";
    Command(40004);
    Pass(300);
    PostMessageA(target, WM_TARGET_ADD_BUTTONS, 1, 0);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(target, kFirstExtra + 1) == "[Extra]"; }, 5000));

    EXPECT_EQ(ExitMorvane(), 0);
    DeleteFileA(report.c_str());
}

INSTANTIATE_TEST_SUITE_P(StoredModes, HookMode, ::testing::Values(1u, 2u));

class Originals : public Walker, public ::testing::WithParamInterface<DWORD> {
protected:
    static bool AllOriginal(HWND target)
    {
        for (const Original& original : kOriginals) {
            if (ControlText(target, original.id) != original.text)
                return false;
        }
        return true;
    }
};

TEST_P(Originals, TheCommandShowsTheOriginalsOfEveryOpenWindowAndConvertsThemAgain)
{
    StartWith("ProbeComplete.TXV", GetParam());
    CChildProcess firstProcess, secondProcess;
    HWND first = StartTarget(firstProcess, "First");
    ASSERT_NE(first, nullptr);
    SetForegroundWindow(first);
    ASSERT_TRUE(WaitUntil([&] { return AllConverted(first); }, 20000));
    HWND second = StartTarget(secondProcess, "Second");
    ASSERT_NE(second, nullptr);
    SetForegroundWindow(second);
    ASSERT_TRUE(WaitUntil([&] { return AllConverted(second); }, 20000));

    Command(40006);
    EXPECT_TRUE(WaitUntil([&] { return AllOriginal(first) && AllOriginal(second); }, 5000));
    PostMessageA(second, WM_TARGET_ADD_BUTTONS, 1, 0);
    Pass(1000);
    EXPECT_EQ(ControlText(second, kFirstExtra), "Extra") << "nothing is converted while the originals show";

    Command(40006);
    EXPECT_TRUE(WaitUntil([&] { return AllConverted(first) && AllConverted(second); }, 5000))
        << "converted from the originals, never from Morvane's own texts";
    EXPECT_TRUE(WaitUntil([&] { return ControlText(second, kFirstExtra) == "[Extra]"; }, 5000));
    EXPECT_EQ(ExitMorvane(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, Originals, ::testing::Values(0u, 1u));

} // namespace
