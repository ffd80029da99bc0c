// Times the dictionary engine on a table of 10,000 entries: how long the
// table takes to load, and a conversion of each kind of caption. Prints one
// "bench: NAME=VALUE" line per figure. Not part of the test run.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/bench/BenchClock.h"
#include "tests/engines/EngineLibrary.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TempFolder.h"

const int kEntries = 10000;
const int kRounds = 20000;

int main()
{
    // A copy of the engine with a table of its own, so that the shipped one is not touched.
    CTempFolder bench;
    CopyFileA((BinaryFolder() + "\\Dictionary.TXV").c_str(), bench.PathOf("Bench.TXV").c_str(), FALSE);
    std::string table;
    char line[128];
    for (int i = 0; i < kEntries; ++i) {
        // "項目" in code page 932, then the entry's number.
        wsprintfA(line, "Sample caption %05d\t\x8D\x80\x96\xDA %05d\r\n", i, i);
        table += line;
    }
    bench.WriteFile("Bench.txt",
                    table + "Welcome to the * Setup Wizard\t* \x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76\r\n");
    CEngineLibrary engine(bench.PathOf("Bench.TXV"));
    if (!engine.IsLoaded()) {
        std::printf("bench: the engine could not be loaded\n");
        return 1;
    }
    LONGLONG start = Now();
    BOOL started = engine.Export<PFN_TXVInitEngine>("TXVInitEngine")();
    std::printf("bench: dictionary_load_ms=%.2f (%d entries, started %d)\n", Microseconds(Now() - start) / 1000,
                kEntries + 1, started);

    // Captions without a letter are never written down as untranslated, so
    // the unknown one leaves the user's files alone.
    const char* const captions[][2] = {
        {"exact", "Sample caption 04711"},
        {"decorated", "Sample &caption 04711:"},
        {"folded", "SAMPLE  CAPTION 04711..."},
        {"pattern", "Welcome to the Foo Setup Wizard"},
        {"unknown", "12345 67890"},
    };
    char out[256];
    for (const auto& caption : captions) {
        start = Now();
        int converted = 0;
        for (int i = 0; i < kRounds; ++i)
            converted += engine.Convert(caption[1], out, sizeof(out)) ? 1 : 0;
        std::printf("bench: dictionary_%s_us=%.2f (converted %d of %d)\n", caption[0],
                    Microseconds(Now() - start) / kRounds, converted, kRounds);
    }
    return 0;
}
