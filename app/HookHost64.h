#pragma once

#include <windows.h>

// On 64-bit Windows, the program that hooks 64-bit programs for Morvane
// (MorLatch64Host.exe beside Morvane.exe): a 32-bit Morvane cannot load the
// 64-bit hook library itself. On 32-bit Windows, or without the program,
// nothing is started.
class CHookHost64 {
public:
    CHookHost64();
    ~CHookHost64();

    // Starts the host reporting to target and leaving the programs alone (as MorLatchExclude), unless it runs
    // already.
    void Start(HWND target, const char* excludedPrograms);
    // Asks the host to remove its hook and end, and ends it when it does not in time.
    void Stop();
    BOOL IsRunning() const { return m_process.hProcess != NULL; }

private:
    CHookHost64(const CHookHost64&) = delete;
    CHookHost64& operator=(const CHookHost64&) = delete;
    static BOOL IsWow64();

    PROCESS_INFORMATION m_process;
};
