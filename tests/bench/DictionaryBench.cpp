// Times the dictionary engine with its shipped table: how long the table takes
// to load, and a conversion of each kind of caption. Given files of captions
// (one a line, '#' comments), it also prints how many of them convert, the
// short ones (four words at most) and all; "-v" lists every caption with its
// conversion. Prints one "bench: NAME=VALUE" line per figure. Not part of the
// test run.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/bench/BenchClock.h"
#include "tests/engines/EngineLibrary.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TempFolder.h"

namespace {

const int kRounds = 20000;

double ThreadMicroseconds()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return (k.QuadPart + u.QuadPart) / 10.0;
}

int Words(const std::string& caption)
{
    int words = 0;
    bool inWord = false;
    for (char c : caption) {
        bool blank = c == ' ' || c == '\t';
        words += !blank && !inWord ? 1 : 0;
        inWord = !blank;
    }
    return words;
}

void Measure(const CEngineLibrary& engine, const char* path, bool list)
{
    std::ifstream file(path, std::ios::binary);
    int shortTotal = 0, shortConverted = 0, total = 0, converted = 0;
    char out[256];
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        ZeroMemory(out, sizeof(out));
        bool done = engine.Convert(line.c_str(), out, sizeof(out)) != FALSE;
        bool isShort = Words(line) <= 4;
        total += 1;
        converted += done ? 1 : 0;
        shortTotal += isShort ? 1 : 0;
        shortConverted += isShort && done ? 1 : 0;
        if (list)
            std::printf("%s\t%s\n", line.c_str(), done ? out : "-");
    }
    std::printf("bench: coverage_short=%.1f%% (%d of %d) coverage_all=%.1f%% (%d of %d) in %s\n",
                shortTotal ? 100.0 * shortConverted / shortTotal : 0.0, shortConverted, shortTotal,
                total ? 100.0 * converted / total : 0.0, converted, total, path);
}

} // namespace

int main(int argc, char** argv)
{
    // A copy of the engine and its table, so that a renamed engine brings its own.
    CTempFolder bench;
    CopyFileA((BinaryFolder() + "\\Dictionary.TXV").c_str(), bench.PathOf("Bench.TXV").c_str(), FALSE);
    CopyFileA((BinaryFolder() + "\\Dictionary.txt").c_str(), bench.PathOf("Bench.txt").c_str(), FALSE);
    CEngineLibrary engine(bench.PathOf("Bench.TXV"));
    if (!engine.IsLoaded()) {
        std::printf("bench: the engine could not be loaded\n");
        return 1;
    }
    LONGLONG start = Now();
    BOOL started = engine.Export<PFN_TXVInitEngine>("TXVInitEngine")();
    std::printf("bench: dictionary_load_ms=%.2f (started %d)\n", Microseconds(Now() - start) / 1000, started);

    bool list = false;
    for (int i = 1; i < argc; ++i) {
        if (lstrcmpA(argv[i], "-v") == 0)
            list = true;
        else
            Measure(engine, argv[i], list);
    }

    // Captions without a letter are never written down as untranslated, so
    // the unknown one leaves the user's files alone.
    const char* const captions[][2] = {
        {"exact", "Cancel"},
        {"decorated", "&Browse..."},
        {"pattern", "Welcome to the Foo Setup Wizard"},
        {"grammar_short", "Show line &numbers"},
        {"grammar_long", "Are you sure you want to delete the selected files?"},
        {"unknown", "12345 67890"},
    };
    // The thread's own time beside the wall time: other programs on a busy
    // machine stretch the one, not the other.
    char out[256];
    for (const auto& caption : captions) {
        start = Now();
        double cpuStart = ThreadMicroseconds();
        int converted = 0;
        for (int i = 0; i < kRounds; ++i)
            converted += engine.Convert(caption[1], out, sizeof(out)) ? 1 : 0;
        std::printf("bench: dictionary_%s_us=%.2f cpu_us=%.2f (converted %d of %d)\n", caption[0],
                    Microseconds(Now() - start) / kRounds, (ThreadMicroseconds() - cpuStart) / kRounds, converted,
                    kRounds);
    }
    return 0;
}
