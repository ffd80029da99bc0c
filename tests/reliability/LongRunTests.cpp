#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "tests/support/MorvaneRun.h"

namespace {

// MORVANE_LONG_RUN_SECONDS sets how long each mode runs (scripts/long-run.sh).
DWORD RunSeconds()
{
    const char* value = std::getenv("MORVANE_LONG_RUN_SECONDS");
    int seconds = value != nullptr ? std::atoi(value) : 0;
    return seconds > 0 ? static_cast<DWORD>(seconds) : 20;
}

// Frees the records of closed windows within about 256 * 20 ms.
const DWORD kGCMs = 20;

// What Morvane holds.
struct Footprint {
    DWORD userObjects;
    DWORD gdiObjects;
    DWORD handles;
    SIZE_T privateBytes;
};

// The handle count of the process list, which Wine keeps for other processes
// too (as the size of the process's handle table, which doubles when full).
DWORD HandleCountOf(DWORD processId)
{
    typedef NTSTATUS(WINAPI * QuerySystem)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    QuerySystem query = reinterpret_cast<QuerySystem>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 20);
    ULONG length = 0;
    if (query == nullptr ||
        query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length) != 0)
        return 0;
    for (size_t at = 0;;) {
        const SYSTEM_PROCESS_INFORMATION* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&buffer[at]);
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == processId)
            return entry->HandleCount;
        if (entry->NextEntryOffset == 0)
            return 0;
        at += entry->NextEntryOffset;
    }
}

Footprint FootprintOf(HANDLE process)
{
    Footprint footprint{GetGuiResources(process, GR_USEROBJECTS), GetGuiResources(process, GR_GDIOBJECTS), 0, 0};
    if (!GetProcessHandleCount(process, &footprint.handles) || footprint.handles == 0)
        footprint.handles = HandleCountOf(GetProcessId(process));
    // PagefileUsage is the private commit, like PrivateUsage, which Wine leaves at 0.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process, &memory, sizeof(memory)))
        footprint.privateBytes = memory.PagefileUsage;
    return footprint;
}

std::ostream& operator<<(std::ostream& out, const Footprint& footprint)
{
    return out << footprint.userObjects << " USER, " << footprint.gdiObjects << " GDI, " << footprint.handles
               << " handles, " << footprint.privateBytes / 1024 << " KB private";
}

// Handles and private bytes are kept everywhere and must have been measured.
template <typename T> void ExpectFlat(const char* what, T before, T after, T allowance)
{
    ASSERT_GT(before, T(0)) << what << " not measured";
    EXPECT_LE(after, before + allowance) << what << " grew";
}

// Wine keeps no USER or GDI counts (they read 0 there): compared only where kept.
void ExpectGuiFlat(const Footprint& before, const Footprint& after)
{
    if (before.userObjects == 0 && before.gdiObjects == 0) {
        std::cout << "[          ] USER and GDI objects not kept here, not compared" << std::endl;
        return;
    }
    EXPECT_LE(after.userObjects, before.userObjects + 5) << "USER objects grew";
    EXPECT_LE(after.gdiObjects, before.gdiObjects + 5) << "GDI objects grew";
}

class LongRun : public MorvaneRunTest, public ::testing::WithParamInterface<DWORD> {
protected:
    bool HookMode() const { return GetParam() != 0; }

    // Waits until every control of the cycled window shows its expected text.
    bool WaitForTexts(HWND window, const std::string& text, DWORD timeoutMs)
    {
        return WaitUntil(
            [&] {
                for (int i = 0; i < kCycledCount; ++i) {
                    std::string expected = kCycledControls[i].target ? "[" + text + "]" : text;
                    if (TextOf(GetDlgItem(window, kFirstCycled + i)) != expected)
                        return false;
                }
                return true;
            },
            timeoutMs);
    }

    // Each target-class control of the window has had the text set from outside
    // that many times, the others never.
    static void ExpectWriteBacks(HWND window, int count, unsigned cycle)
    {
        for (int i = 0; i < kCycledCount; ++i) {
            DWORD_PTR writes = 0;
            SendMessageTimeoutA(window, WM_TARGET_FOREIGN_TEXTS, i, 0, SMTO_NORMAL, 5000, &writes);
            EXPECT_EQ(static_cast<int>(writes), kCycledControls[i].target ? count : 0)
                << "control " << i << " (" << kCycledControls[i].className << ") in cycle " << cycle;
        }
    }
};

TEST_P(LongRun, ConvertsEachChangeOnceAndKeepsItsFootprintFlat)
{
    CPreferencesScope::SetDWORD("TimerElapseGC", kGCMs);
    // The engine calls counted are the captions'.
    CPreferencesScope::SetDWORD("ConvertTitles", 0);
    ASSERT_NE(StartWith("ProbeComplete.TXV", GetParam()), nullptr);
    HWND window = StartTarget("plain");
    ASSERT_NE(window, nullptr);
    std::map<std::string, int> expected;
    if (HookMode()) {
        ASSERT_TRUE(WaitUntilHooked(window));
        expected = ConversionsByClass();
    }

    Footprint before{};
    bool measured = false;
    const DWORD runMs = RunSeconds() * 1000;
    const DWORD start = GetTickCount();
    unsigned cycles = 0;
    while (!measured || cycles < 5 || GetTickCount() - start < runMs) {
        ++cycles;
        DWORD_PTR next = 0;
        ASSERT_TRUE(SendMessageTimeoutA(window, WM_TARGET_CYCLE, cycles, 0, SMTO_NORMAL, 10000, &next));
        HWND last = window;
        window = reinterpret_cast<HWND>(next);
        ASSERT_NE(window, nullptr);
        std::string created = "c" + std::to_string(cycles);
        ASSERT_TRUE(WaitForTexts(window, created, 10000))
            << "cycle " << cycles << ": " << TextOf(GetDlgItem(window, kFirstCycled));
        // Closed only now that the walker visits the new window: a control that
        // vanishes while the walker reads it reads as empty, and the empty text
        // differs from the remembered one, so the engine would be called for it once more.
        ASSERT_TRUE(SendMessageTimeoutA(last, WM_CLOSE, 0, 0, SMTO_NORMAL, 10000, nullptr));
        for (const CycledControl& control : kCycledControls) {
            if (control.target)
                ++expected[control.className];
        }
        ExpectWriteBacks(window, 1, cycles);

        ASSERT_TRUE(SendMessageTimeoutA(window, WM_TARGET_RECAPTION, cycles, 0, SMTO_NORMAL, 10000, nullptr));
        std::string changed = "d" + std::to_string(cycles);
        ASSERT_TRUE(WaitForTexts(window, changed, 10000)) << "cycle " << cycles;
        ExpectWriteBacks(window, 2, cycles);
        for (const CycledControl& control : kCycledControls) {
            if (control.target)
                ++expected[control.className];
        }
        // Measured once Morvane (and the emulator's code cache) has warmed up.
        if (!measured && cycles >= 3 && GetTickCount() - start >= runMs / 3) {
            before = FootprintOf(m_morvane.Handle());
            measured = true;
        }
    }
    ASSERT_TRUE(IsResponsive());
    // Long enough for any late second conversion, and for a whole clean-up round.
    WaitUntil([] { return false; }, 256 * kGCMs + 2000);
    EXPECT_EQ(ConversionsByClass(), expected) << "after " << cycles << " cycles";
    Footprint after = FootprintOf(m_morvane.Handle());
    std::cout << "[          ] " << cycles << " cycles in " << (GetTickCount() - start) / 1000
              << " s; before: " << before << "; after: " << after << std::endl;
    ExpectGuiFlat(before, after);
    ExpectFlat("handles", before.handles, after.handles, 10ul);
    ExpectFlat("private bytes", before.privateBytes, after.privateBytes, static_cast<SIZE_T>(1024 * 1024));

    EXPECT_EQ(ExitMorvane(), 0);
}

// A window in front whose program replaces its ten controls every 10 ms: the
// records of the controls it destroyed must go while the window stays open.
TEST_P(LongRun, ControlsReplacedWithoutEndInAnOpenWindowLeaveNoRecordsBehind)
{
    ASSERT_NE(StartWith("ProbeComplete.TXV", GetParam()), nullptr);
    CChildProcess process;
    HWND target = StartTarget(process, "churn");
    ASSERT_NE(target, nullptr);
    auto churned = [&] { return static_cast<int>(Ask(target, WM_TARGET_CHURNED)); };
    const int first = churned();
    // A soak: the time itself is what is tested. The first sixth lets the footprint settle.
    const DWORD runMs = RunSeconds() * 1000;
    WaitUntil([] { return false; }, runMs / 6);
    ASSERT_TRUE(IsResponsive());
    Footprint before = FootprintOf(m_morvane.Handle());
    WaitUntil([] { return false; }, runMs - runMs / 6);
    // Morvane is asked between the target's batches all along: a few hundred controls, however slow the machine.
    ASSERT_TRUE(WaitUntil([&] { return !IsResponsive() || churned() - first >= 250; }, 60000));
    ASSERT_TRUE(IsResponsive()) << "after " << churned() - first << " controls of churn";
    Footprint after = FootprintOf(m_morvane.Handle());
    std::cout << "[          ] " << churned() - first << " controls churned; before: " << before
              << "; after: " << after << std::endl;
    ExpectFlat("private bytes", before.privateBytes, after.privateBytes, before.privateBytes / 10);
    ExpectFlat("handles", before.handles, after.handles, 10ul);
    EXPECT_EQ(ExitMorvane(), 0);
    ASSERT_TRUE(process.IsRunning());
    const int afterExit = churned();
    EXPECT_TRUE(WaitUntil([&] { return churned() > afterExit; }, 5000)) << "the target goes on after Morvane has gone";
}

INSTANTIATE_TEST_SUITE_P(Modes, LongRun, ::testing::Values(0u, 1u), [](const ::testing::TestParamInfo<DWORD>& info) {
    return info.param == 0 ? "Normal" : "Hook";
});

} // namespace
