// The benchmark driver: measures what Morvane's normal mode costs per
// conversion tick and at rest against the least any poller must do, how soon
// a new window is converted, what hook mode costs every window creation
// against a bare converter, and Morvane's memory. Arguments: the exchange
// folder shared with the CPU sampler of scripts/bench.sh (as a Windows path),
// the conversion period in milliseconds, then the button counts to measure;
// "dN" stands for a window of N captions the engine declines and N edit controls.
// Morvane and the poller take turns over the same window, a few rounds each,
// so that what else the machine does weighs on both alike.
//
// Under Wine every read of another process's window goes to the Wine server,
// so the server's CPU time counts on both sides. Wine reports no times for
// other processes, and where 32-bit code runs emulated the emulator fakes the
// process table for the programs it runs, so a native sampler reads the times.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "conversion/CaptionWalker.h"
#include "tests/bench/BenchClock.h"
#include "tests/bench/BenchProtocol.h"
#include "tests/engines/ProbeEngine.h"
#include "tests/support/MorvaneProcess.h"
#include "ui/resource.h"

namespace {

const DWORD kWaitMs = 180000;
const LONG kSteadyEngineTicks = 100;
const int kMemoryPages = 50;
const int kMemoryButtons = 40;
const DWORD kMemoryGcMs = 20;
const int kHookButtons = 2000;
const int kHookRounds = 3;
const int kIdleButtons = 100;
const DWORD kIdleMs = 10000;
const DWORD kIdlePassMs = 100;
const int kRounds = 3;
const int kPhasePasses = 5;
const int kToggleButtons = 1000;
// Morvane's own periods when the settings name none.
const DWORD kDefaultConvMs = 100;
const DWORD kDefaultGcMs = 500;

std::string g_exchange;
int g_nSamples = 0;

// CPU seconds (user plus system) of the Wine server, Morvane and this driver,
// and Morvane's anonymous resident memory in kB, as the sampler read them
// when asked.
struct CpuSample {
    double server;
    double morvane;
    double driver;
    double morvaneKb;
};

// The sampler answers request N with answer N, renamed into place once written.
CpuSample SampleCpu()
{
    std::string number = std::to_string(++g_nSamples);
    std::string answer = g_exchange + "\\answer." + number;
    CloseHandle(
        CreateFileA((g_exchange + "\\request." + number).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    if (!WaitUntil([&answer] { return GetFileAttributesA(answer.c_str()) != INVALID_FILE_ATTRIBUTES; }, kWaitMs)) {
        fprintf(stderr, "the CPU sampler did not answer\n");
        exit(1);
    }
    CpuSample sample = {};
    std::ifstream(answer) >> sample.server >> sample.morvane >> sample.driver >> sample.morvaneKb;
    DeleteFileA(answer.c_str());
    return sample;
}

LRESULT Ask(HWND target, UINT msg, WPARAM wParam = 0, UINT timeoutMs = 30000)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(target, msg, wParam, 0, SMTO_ABORTIFHUNG, timeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

// A program of the benchmark and its window, null when it did not answer;
// closed when the object goes (by the command, when one is given), killed if
// it does not end.
class CProgram {
public:
    CProgram(const std::string& file, const std::string& arguments, const char* className, WPARAM closeCommand = 0)
        : m_closeCommand(closeCommand)
    {
        if (m_process.Start("\"" + BinaryFolder() + "\\" + file + "\" " + arguments))
            m_hWnd = WaitForTopLevelWindow(className, m_process.Id(), kWaitMs);
        // The target's window appears before its buttons; its first answer comes after them all.
        if (m_hWnd != NULL && Ask(m_hWnd, WM_NULL, 0, kWaitMs) == -1)
            m_hWnd = NULL;
    }
    ~CProgram()
    {
        if (m_hWnd != NULL)
            PostMessageA(m_hWnd, m_closeCommand != 0 ? WM_COMMAND : WM_CLOSE, m_closeCommand, 0);
        if (m_hWnd == NULL || m_process.WaitExit(60000) == -1)
            m_process.Kill();
    }
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    HWND Window() const { return m_hWnd; }

private:
    CChildProcess m_process;
    HWND m_hWnd = NULL;
    WPARAM m_closeCommand;
};

CProgram Target(int buttons, int pages = 0, int declined = 0)
{
    return CProgram("bench_target.exe",
                    std::to_string(buttons) + " " + std::to_string(pages) + " " + std::to_string(declined),
                    kBenchTargetClass);
}

// Morvane with the preferences as they stand, ended from its tray menu.
CProgram Morvane()
{
    return CProgram("Morvane.exe", "", "MorvaneWndClass", ID_TRAY_EXIT);
}

BOOL CALLBACK VisitForPoller(HWND hwnd, LPARAM lParam)
{
    char className[256];
    char text[1024];
    GetClassNameA(hwnd, className, sizeof(className));
    GetWindowTextA(hwnd, text, sizeof(text));
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

// CPU microseconds per pass, the process's own and the Wine server's.
struct PassCost {
    double ownUs;
    double serverUs;
    double Total() const { return ownUs + serverUs; }
};

// What the process (Morvane or this driver) and the Wine server spent between
// the samples, per one of count passes or ticks.
PassCost CostPer(int count, const CpuSample& before, const CpuSample& after, double CpuSample::*own)
{
    if (count <= 0)
        return PassCost{};
    return {(after.*own - before.*own) * 1e6 / count, (after.server - before.server) * 1e6 / count};
}

// CPU times around a poller's run and how many passes it made.
struct PollRun {
    CpuSample before;
    CpuSample after;
    int passes;
    int windows;
};

// The least a poller does per pass, every descendant's class name and text, at
// every tick of a timer of the period, the way Morvane's walk runs (a tight
// loop would find the caches warm that a tick finds cold); for at least minMs
// and minPasses.
PollRun PollPeriodically(HWND target, DWORD periodMs, DWORD minMs, int minPasses)
{
    int windows = 0;
    PollRun run = {};
    UINT_PTR timer = SetTimer(NULL, 0, periodMs, NULL);
    run.before = SampleCpu();
    DWORD start = GetTickCount();
    MSG msg;
    while ((GetTickCount() - start < minMs || run.passes < minPasses) && GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (msg.message != WM_TIMER) {
            DispatchMessageA(&msg);
            continue;
        }
        EnumChildWindows(target, VisitForPoller, reinterpret_cast<LPARAM>(&windows));
        ++run.passes;
    }
    run.after = SampleCpu();
    KillTimer(NULL, timer);
    run.windows = run.passes > 0 ? windows / run.passes : 0;
    return run;
}

// CPU microseconds per pass of the poller at the conversion period.
PassCost MeasurePoller(HWND target, DWORD periodMs)
{
    PollRun run = PollPeriodically(target, periodMs, 5000, 30);
    fprintf(stderr, "poller: %d windows per pass, %d passes\n", run.windows, run.passes);
    return CostPer(run.passes, run.before, run.after, &CpuSample::driver);
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

// The middle one by the key.
template <typename T, typename Key> T Median(std::vector<T> values, Key key)
{
    std::sort(values.begin(), values.end(), [&key](const T& a, const T& b) { return key(a) < key(b); });
    return values[values.size() / 2];
}

double Median(const std::vector<double>& values)
{
    return Median(values, [](double value) { return value; });
}

// Microseconds (wall time) per pass of each step of a steady conversion tick,
// done in this process the way the walker does them, with the walker's own
// records: the median of kPhasePasses passes, one per period, after a first
// pass that makes the records. Class names are timed although the walker
// reads them only for controls it meets first or whose text has changed.
struct PhaseTimes {
    double enumerateUs;
    double classesUs;
    double textsUs;
    double lookupUs;
};

PhaseTimes MeasurePhases(HWND target, DWORD periodMs)
{
    CWndList list;
    CWndEntry* top = list.AddTopEntry(CWndEntry(target, ""));
    if (top == NULL)
        return PhaseTimes{};
    std::vector<HWND> children;
    std::vector<double> passes[4];
    char className[256];
    char text[1024];
    for (int pass = 0; pass <= kPhasePasses; ++pass) {
        Sleep(periodMs);
        children.clear();
        LONGLONG start = Now();
        EnumChildWindows(target, CollectChild, reinterpret_cast<LPARAM>(&children));
        LONGLONG steps[4] = {Now() - start, 0, 0, 0};
        for (HWND hwnd : children) {
            LONGLONG before = Now();
            GetClassNameA(hwnd, className, sizeof(className));
            BOOL isTarget = CCaptionWalker::IsTargetClass(className);
            LONGLONG classRead = Now();
            GetWindowTextA(hwnd, text, sizeof(text));
            LONGLONG textRead = Now();
            CWndEntry* child = list.FindChildEntry(top, hwnd);
            if (child == NULL && isTarget)
                child = list.AddChildEntry(top, CWndEntry(hwnd, text));
            if (child != NULL)
                child->m_text.Compare(text, FALSE);
            steps[1] += classRead - before;
            steps[2] += textRead - classRead;
            steps[3] += Now() - textRead;
        }
        for (int step = 0; step < 4 && pass > 0; ++step)
            passes[step].push_back(Microseconds(steps[step]));
    }
    return {Median(passes[0]), Median(passes[1]), Median(passes[2]), Median(passes[3])};
}

struct TickCost {
    PassCost cpu;
    double tickMs;
    LONG ticks;
};

LONG Ticks(HWND target)
{
    return static_cast<LONG>(Ask(target, WM_BENCH_TICKS));
}

bool WaitTicks(HWND target, LONG ticks)
{
    LONG start = Ticks(target);
    return WaitUntil([target, start, ticks] { return Ticks(target) >= start + ticks; }, kWaitMs);
}

// CPU microseconds (Morvane's plus the Wine server's) per conversion tick
// while the target stays in the foreground, over at least minMs and minTicks.
TickCost MeasureTicks(HWND target, DWORD minMs, LONG minTicks)
{
    CpuSample before = SampleCpu();
    LONG ticks = Ticks(target);
    DWORD start = GetTickCount();
    LONG done = 0;
    DWORD elapsed = 0;
    do {
        // Seldom: each question costs the Wine server time, which counts as Morvane's.
        Sleep(100);
        done = Ticks(target) - ticks;
        elapsed = GetTickCount() - start;
    } while ((elapsed < minMs || done < minTicks) && elapsed < kWaitMs);
    CpuSample after = SampleCpu();
    return {CostPer(done, before, after, &CpuSample::morvane), done > 0 ? static_cast<double>(elapsed) / done : 0,
            done};
}

bool WaitFirstConvert(HWND target)
{
    return WaitUntil([target] { return Ask(target, WM_BENCH_FIRST_CONVERT_US) >= 0; }, kWaitMs);
}

// Morvane's memory at rest, after it has kept records of many windows, and
// after those windows are gone and the clean-up ticks have run. Wine reports
// no private usage of other processes, so it is the anonymous resident memory
// of Morvane's Unix process (with the emulator's own, where there is one).
struct MemoryFigures {
    double restKb;
    double recordsKb;
    double afterGcKb;
    int records;
};

MemoryFigures MeasureMemory()
{
    MemoryFigures figures = {-1, -1, -1, 0};
    CPreferencesScope::SetDWORD("TimerElapseGC", kMemoryGcMs);
    CProgram morvane = Morvane();
    if (morvane.Window() == NULL)
        return figures;
    Sleep(3000);
    figures.restKb = SampleCpu().morvaneKb;
    {
        CProgram target = Target(kMemoryButtons, kMemoryPages);
        for (int page = 1; page <= kMemoryPages; ++page) {
            if (Ask(target.Window(), WM_BENCH_FOREGROUND, page) == TRUE && WaitFirstConvert(target.Window()))
                figures.records += kMemoryButtons + 1;
        }
        figures.recordsKb = SampleCpu().morvaneKb;
    }
    // Long enough for several sweeps of all 256 buckets, one per clean-up tick.
    Sleep(256 * kMemoryGcMs * 4);
    figures.afterGcKb = SampleCpu().morvaneKb;
    return figures;
}

// Microseconds the target takes to create kHookButtons buttons (the median of
// kHookRounds batches), and whether each was converted during its creation.
struct CreateCost {
    double us;
    bool allConverted;
};

CreateCost MeasureCreation(HWND target)
{
    std::vector<double> times;
    CreateCost cost = {0, true};
    for (int round = 0; round < kHookRounds; ++round) {
        times.push_back(static_cast<double>(Ask(target, WM_BENCH_CREATE, kHookButtons, kWaitMs)));
        if (Ask(target, WM_BENCH_CREATED_CONVERTED) != kHookButtons)
            cost.allConverted = false;
    }
    cost.us = Median(times);
    return cost;
}

// The hook is installed some time after the converter's window appears.
bool WaitHooked(HWND target)
{
    return WaitUntil(
        [target] {
            Ask(target, WM_BENCH_CREATE, 1);
            return Ask(target, WM_BENCH_CREATED_CONVERTED) == 1;
        },
        kWaitMs);
}

struct HookFigures {
    CreateCost none;
    CreateCost bare;
    CreateCost morvane;
};

HookFigures MeasureHookMode()
{
    HookFigures figures = {{-1, false}, {-1, false}, {-1, false}};
    CProgram target = Target(0);
    if (target.Window() == NULL)
        return figures;
    figures.none = MeasureCreation(target.Window());
    {
        CProgram bare("bench_bare_converter.exe", "", kBenchConverterClass);
        if (bare.Window() != NULL && WaitHooked(target.Window()))
            figures.bare = MeasureCreation(target.Window());
    }
    CPreferencesScope::SetDWORD("ResMode", 1);
    {
        CProgram morvane = Morvane();
        if (morvane.Window() != NULL && WaitHooked(target.Window()))
            figures.morvane = MeasureCreation(target.Window());
    }
    CPreferencesScope::SetDWORD("ResMode", 0);
    return figures;
}

// CPU seconds, own plus the Wine server's, of the bare poller doing one pass
// per kIdlePassMs over a window of kIdleButtons buttons for kIdleMs.
double MeasureIdlePoller()
{
    CProgram target = Target(kIdleButtons);
    if (target.Window() == NULL)
        return -1;
    PollRun run = PollPeriodically(target.Window(), kIdlePassMs, kIdleMs, 0);
    return (run.after.driver - run.before.driver) + (run.after.server - run.before.server);
}

// CPU seconds of Morvane and of the Wine server over kIdleMs at the default
// periods, with a converted window of kIdleButtons buttons in the foreground.
struct IdleCost {
    double morvane;
    double server;
};

// Runs measure with a Morvane of its own once it has converted a window of
// that many buttons, in the foreground, whose sentinel stays as converted.
void WithConvertedWindow(int buttons, const std::function<void(HWND morvaneWnd)>& measure)
{
    CProgram morvane = Morvane();
    if (morvane.Window() == NULL)
        return;
    CProgram target = Target(buttons);
    Ask(target.Window(), WM_BENCH_SENTINEL, FALSE);
    if (Ask(target.Window(), WM_BENCH_FOREGROUND) == TRUE && WaitFirstConvert(target.Window()))
        measure(morvane.Window());
}

IdleCost MeasureIdleMorvane()
{
    IdleCost cost = {-1, -1};
    CPreferencesScope::SetDWORD("TimerElapseConv", kDefaultConvMs);
    CPreferencesScope::SetDWORD("TimerElapseGC", kDefaultGcMs);
    WithConvertedWindow(kIdleButtons, [&cost](HWND) {
        Sleep(1000);
        CpuSample before = SampleCpu();
        Sleep(kIdleMs);
        CpuSample after = SampleCpu();
        cost = {after.morvane - before.morvane, after.server - before.server};
    });
    return cost;
}

// Milliseconds (wall time) a tray command takes in Morvane's main window, its work included.
double TimeCommand(HWND morvaneWnd, WPARAM command)
{
    LONGLONG start = Now();
    if (Ask(morvaneWnd, WM_COMMAND, command, kWaitMs) == -1)
        return -1;
    return Microseconds(Now() - start) / 1000;
}

// The originals command and the command again, over a converted window of
// kToggleButtons buttons: every original written back, then every one converted.
struct ToggleFigures {
    double showMs;
    double againMs;
};

ToggleFigures MeasureToggle()
{
    ToggleFigures figures = {-1, -1};
    WithConvertedWindow(kToggleButtons, [&figures](HWND morvaneWnd) {
        figures.showMs = TimeCommand(morvaneWnd, ID_TRAY_ORIGINALS);
        figures.againMs = TimeCommand(morvaneWnd, ID_TRAY_ORIGINALS);
    });
    return figures;
}

// The pause command toggles; the second answer comes only after any walk that
// the command reached in the middle of (inside the walk's one write-back).
void TogglePause(HWND morvaneWnd)
{
    Ask(morvaneWnd, WM_COMMAND, ID_TRAY_PAUSE);
    Ask(morvaneWnd, WM_NULL);
}

int EngineCalls(const CProbeLog& log)
{
    std::vector<std::string> lines = log.Lines();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("TXVConvertCaptionString") != std::string::npos;
    }));
}

struct Figures {
    std::string label;
    int buttons;
    int declined;
    PassCost poller;
    TickCost tick;
    PhaseTimes phases;
    double firstConvertMs;
    double convertSpanMs;
    int steadyEngineCalls;
};

// Morvane's turns and the poller's over a window of entry.buttons, Morvane
// converting in the foreground; then the engine calls of its steady ticks.
void MeasureWindow(HWND morvaneWnd, DWORD periodMs, const CProbeLog& log, Figures& entry)
{
    CProgram target = Target(entry.buttons, 0, entry.declined);
    HWND window = target.Window();
    if (Ask(window, WM_BENCH_FOREGROUND) != TRUE) {
        fprintf(stderr, "target %s did not become the foreground window\n", entry.label.c_str());
        return;
    }
    entry.firstConvertMs = WaitFirstConvert(window) ? Ask(window, WM_BENCH_FIRST_CONVERT_US) / 1000.0 : -1;
    entry.convertSpanMs = Ask(window, WM_BENCH_CONVERT_SPAN_US) / 1000.0;
    std::vector<TickCost> ticks;
    std::vector<PassCost> passes;
    for (int round = 0; round < kRounds; ++round) {
        WaitTicks(window, 3);
        ticks.push_back(MeasureTicks(window, 5000, 30));
        const TickCost& tick = ticks.back();
        fprintf(stderr, "morvane %s: %.0f + %.0f us per tick, %.1f ms between ticks, %ld ticks\n", entry.label.c_str(),
                tick.cpu.ownUs, tick.cpu.serverUs, tick.tickMs, static_cast<long>(tick.ticks));
        // The poller's turn, over the same window with Morvane paused.
        TogglePause(morvaneWnd);
        LONG ticksBefore = Ticks(window);
        passes.push_back(MeasurePoller(window, periodMs));
        if (Ticks(window) != ticksBefore)
            fprintf(stderr, "Morvane converted during the poller's turn: its figures count in the poller's\n");
        fprintf(stderr, "poller %s: %.0f + %.0f us per pass\n", entry.label.c_str(), passes.back().ownUs,
                passes.back().serverUs);
        if (round == 0)
            entry.phases = MeasurePhases(window, periodMs);
        TogglePause(morvaneWnd);
    }
    entry.tick = Median(ticks, [](const TickCost& cost) { return cost.cpu.Total(); });
    entry.poller = Median(passes, std::mem_fn(&PassCost::Total));
    WaitTicks(window, 3);

    Ask(window, WM_BENCH_SENTINEL, FALSE);
    Sleep(static_cast<DWORD>(entry.tick.tickMs * 3));
    int before = EngineCalls(log);
    Sleep(static_cast<DWORD>(entry.tick.tickMs * kSteadyEngineTicks));
    entry.steadyEngineCalls = EngineCalls(log) - before;
    Ask(window, WM_BENCH_DECOY);
}

// Own + Wine server CPU microseconds, as the table shows them.
std::string OwnPlusServer(const PassCost& cost)
{
    char text[32];
    snprintf(text, sizeof(text), "%.0f+%.0f", cost.ownUs, cost.serverUs);
    return text;
}

void Print(const char* name, const std::string& label, double value, const char* format)
{
    printf(("bench: %s_%s=" + std::string(format) + "\n").c_str(), name, label.c_str(), value);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: morvane_bench EXCHANGE_FOLDER PERIOD_MS N...\n");
        return 2;
    }
    g_exchange = argv[1];
    DWORD periodMs = strtoul(argv[2], NULL, 10);
    std::vector<Figures> figures(argc - 3);
    for (int i = 3; i < argc; ++i) {
        Figures& entry = figures[i - 3];
        entry.label = argv[i];
        entry.declined = argv[i][0] == 'd' ? atoi(argv[i] + 1) : 0;
        entry.buttons = entry.declined > 0 ? 0 : atoi(argv[i]);
    }

    CPreferencesScope preferences;
    CPreferencesScope::SetString("Engine", TestEnginePath("ProbeSelective.TXV"));
    CPreferencesScope::SetDWORD("ResMode", 0);
    // MORVANE_BENCH_KINDS_OFF: Morvane converts captions only, for the cost of the other kinds against it.
    if (getenv("MORVANE_BENCH_KINDS_OFF") != NULL) {
        for (const char* kind : {"ConvertTitles", "ConvertTabs", "ConvertHeaders", "ConvertMenus"})
            CPreferencesScope::SetDWORD(kind, 0);
    }
    // MORVANE_BENCH_TICKS_ONLY: the tick figures alone; the others stay 0.
    const bool all = getenv("MORVANE_BENCH_TICKS_ONLY") == NULL;

    // Timer and message loop over a window with no other control, as Morvane's idle tick.
    PassCost pollerIdle = {};
    {
        CProgram target = Target(0);
        if (target.Window() != NULL)
            pollerIdle = MeasurePoller(target.Window(), periodMs);
    }
    double idlePoller = all ? MeasureIdlePoller() : 0;
    // Before the call log exists: the engine writes nothing while windows are made.
    HookFigures hook = all ? MeasureHookMode() : HookFigures{};
    fprintf(stderr, "hook: %.0f us without a hook, %.0f with the bare converter, %.0f with Morvane\n", hook.none.us,
            hook.bare.us, hook.morvane.us);
    CPreferencesScope::SetDWORD("TimerElapseConv", periodMs);
    ToggleFigures toggle = all ? MeasureToggle() : ToggleFigures{};

    // From here on the engine logs its calls, at rest and for the memory figures too.
    CProbeLog log;
    TickCost idle = {};
    {
        CProgram morvane = Morvane();
        if (morvane.Window() == NULL) {
            fprintf(stderr, "Morvane did not start\n");
            return 1;
        }
        {
            // Idle: the same timers and sentinel over a window with no other control.
            CProgram target = Target(0);
            if (Ask(target.Window(), WM_BENCH_FOREGROUND) != TRUE || !WaitTicks(target.Window(), 3)) {
                fprintf(stderr, "the idle target was not converted\n");
                return 1;
            }
            idle = MeasureTicks(target.Window(), 5000, 40);
            fprintf(stderr, "idle: %.0f + %.0f us per tick, %.1f ms between ticks\n", idle.cpu.ownUs, idle.cpu.serverUs,
                    idle.tickMs);
        }
        for (Figures& entry : figures)
            MeasureWindow(morvane.Window(), periodMs, log, entry);
    }
    IdleCost idleMorvane = all ? MeasureIdleMorvane() : IdleCost{};
    MemoryFigures memory = all ? MeasureMemory() : MemoryFigures{};

    // Morvane's and the poller's CPU per tick and pass: own + Wine server, in microseconds.
    printf("%7s %15s %13s %15s %13s %8s %9s %10s %9s %10s %7s\n", "buttons", "morvane/tick", "idle/tick", "poller/pass",
           "idle/pass", "ratio", "tick_ms", "first_ms", "periods", "own_ms", "engine");
    for (const Figures& entry : figures) {
        printf("%7s %15s %13s %15s %13s %8.2f %9.1f %10.1f %9.2f %10.1f %7d\n", entry.label.c_str(),
               OwnPlusServer(entry.tick.cpu).c_str(), OwnPlusServer(idle.cpu).c_str(),
               OwnPlusServer(entry.poller).c_str(), OwnPlusServer(pollerIdle).c_str(),
               (entry.tick.cpu.Total() - idle.cpu.Total()) / (entry.poller.Total() - pollerIdle.Total()),
               entry.tick.tickMs, entry.firstConvertMs, entry.firstConvertMs / periodMs, entry.convertSpanMs,
               entry.steadyEngineCalls);
    }
    printf("(CPU us per tick or pass, own+Wine server, both at every tick of the period;\n"
           " ratio = (morvane - idle tick) / (poller - idle pass); first_ms in periods;\n"
           " own_ms: from the first control converted to the last, the converting tick's own time)\n");
    double perWindow = 1.0 / kHookButtons;
    printf("hook mode, us per window created (median of %d batches of %d): none %.0f, bare converter %.0f%s,"
           " Morvane %.0f%s\n",
           kHookRounds, kHookButtons, hook.none.us * perWindow, hook.bare.us * perWindow,
           hook.bare.allConverted ? "" : " (not all converted)", hook.morvane.us * perWindow,
           hook.morvane.allConverted ? "" : " (not all converted)");
    double idleMorvaneTotal = idleMorvane.morvane + idleMorvane.server;
    printf("at rest over %.0f s, %d buttons: Morvane %.2f+%.2f s CPU (own+Wine server), bare poller %.2f s\n",
           kIdleMs / 1000.0, kIdleButtons, idleMorvane.morvane, idleMorvane.server, idlePoller);
    printf("memory (anonymous resident kB): %.0f at rest, %.0f with %d records, %.0f after clean-up\n", memory.restKb,
           memory.recordsKb, memory.records, memory.afterGcKb);
    printf("originals command over %d converted buttons: %.1f ms to show them, %.1f ms to convert again\n",
           kToggleButtons, toggle.showMs, toggle.againMs);
    printf("a steady tick step by step, ms per pass (wall time, done by the driver the way the walker does it;\n"
           " the walker reads class names only for controls met first or whose text has changed):\n");
    printf("%7s %10s %10s %10s %12s\n", "buttons", "enumerate", "texts", "look-up", "class names");
    for (const Figures& entry : figures) {
        printf("%7s %10.1f %10.1f %10.1f %12.1f\n", entry.label.c_str(), entry.phases.enumerateUs / 1000,
               entry.phases.textsUs / 1000, entry.phases.lookupUs / 1000, entry.phases.classesUs / 1000);
    }
    printf("bench: idle_tick_us=%.0f\n", idle.cpu.Total());
    printf("bench: hook_create_us_per_window_none=%.0f\n", hook.none.us * perWindow);
    printf("bench: hook_create_us_per_window_bare=%.0f\n", hook.bare.us * perWindow);
    printf("bench: hook_create_us_per_window_morvane=%.0f\n", hook.morvane.us * perWindow);
    printf("bench: hook_create_ratio=%.2f\n", hook.morvane.us / hook.bare.us);
    printf("bench: hook_all_converted=%d\n", hook.bare.allConverted && hook.morvane.allConverted ? 1 : 0);
    printf("bench: idle_cpu_ratio=%.2f\n", idleMorvaneTotal / idlePoller);
    printf("bench: idle_cpu_percent=%.2f\n", idleMorvane.morvane * 100000.0 / kIdleMs);
    printf("bench: idle_cpu_percent_with_server=%.2f\n", idleMorvaneTotal * 100000.0 / kIdleMs);
    printf("bench: memory_rest_kb=%.0f\n", memory.restKb);
    printf("bench: memory_records_kb=%.0f\n", memory.recordsKb);
    printf("bench: memory_after_gc_kb=%.0f\n", memory.afterGcKb);
    printf("bench: toggle_show_ms_%d=%.1f\n", kToggleButtons, toggle.showMs);
    printf("bench: toggle_again_ms_%d=%.1f\n", kToggleButtons, toggle.againMs);
    for (const Figures& entry : figures) {
        double net = entry.tick.cpu.Total() - idle.cpu.Total();
        double pollerNet = entry.poller.Total() - pollerIdle.Total();
        Print("tick_us", entry.label, net, "%.0f");
        Print("poller_pass_us", entry.label, pollerNet, "%.0f");
        Print("tick_ratio", entry.label, net / pollerNet, "%.2f");
        Print("first_convert_ms", entry.label, entry.firstConvertMs, "%.1f");
        Print("first_convert_periods", entry.label, entry.firstConvertMs / periodMs, "%.2f");
        Print("first_convert_own_ms", entry.label, entry.convertSpanMs, "%.1f");
        Print("first_convert_wait_ms", entry.label, entry.firstConvertMs - entry.convertSpanMs, "%.1f");
        Print("steady_engine_calls", entry.label, entry.steadyEngineCalls, "%.0f");
        Print("phase_enumerate_ms", entry.label, entry.phases.enumerateUs / 1000, "%.1f");
        Print("phase_texts_ms", entry.label, entry.phases.textsUs / 1000, "%.1f");
        Print("phase_lookup_ms", entry.label, entry.phases.lookupUs / 1000, "%.1f");
        Print("phase_class_names_ms", entry.label, entry.phases.classesUs / 1000, "%.1f");
    }
    return 0;
}
