// Hook mode on 64-bit Windows, in a 64-bit Wine prefix: Morvane runs under
// WOW64 and hooks 64-bit programs through its 64-bit host program.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <string>

#include "tests/support/MorvaneRun.h"

namespace {

const DWORD kWaitMs = 15000;

// How many processes of that file name run on the desktop.
int ProcessesNamed(const char* fileName)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        count += lstrcmpiA(entry.szExeFile, fileName) == 0;
    CloseHandle(snapshot);
    return count;
}

using Hook64 = MorvaneRunTest;

TEST_F(Hook64, A64BitProgramsButtonsAreConvertedAtCreationAndTheHostEndsWithMorvane)
{
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64) && wow64) << "runs in a 64-bit prefix";
    ASSERT_NE(StartWith("ProbeComplete.TXV", 1), nullptr);
    ASSERT_TRUE(WaitUntil([] { return ProcessesNamed("MorLatch64Host.exe") == 1; }, kWaitMs));
    // Both bitnesses at once: a 32-bit program's buttons too.
    HWND target32 = StartTarget("controls", "Target32");
    ASSERT_NE(target32, nullptr);
    EXPECT_TRUE(WaitUntilHooked(target32));

    CChildProcess target64;
    ASSERT_TRUE(target64.Start("\"" + Bin("hook_target64.exe") + "\""));
    HWND window = WaitForTopLevelWindow("#32770", target64.Id(), kWaitMs);
    ASSERT_NE(window, nullptr);
    for (const char* caption : {"OK", "Cancel", "Help"}) {
        const std::string converted = std::string("[") + caption + "]";
        EXPECT_TRUE(WaitUntil([&] { return FindWindowExA(window, nullptr, "Button", converted.c_str()) != nullptr; },
                              kWaitMs))
            << caption;
    }

    m_morvane.Kill();
    EXPECT_TRUE(WaitUntil([] { return ProcessesNamed("MorLatch64Host.exe") == 0; }, 5000)) << "no host outlives Morvane";
    target64.Kill();
}

} // namespace
