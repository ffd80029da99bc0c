#pragma once

#include <windows.h>

// The thread of Morvane that holds MorLatch's hook: it installs the hook, does
// nothing but pump messages until it is stopped or the thread that started it
// ends, and removes the hook. The system runs the hook of programs of another
// bitness on the installing thread, so that thread must never wait on a
// conversion or an engine; the reports go to the target window's thread.
class CHookThread {
public:
    CHookThread();
    ~CHookThread();

    // Installs the hook reporting to target; FALSE when none could be installed.
    BOOL Start(HWND target);
    // Removes the hook and ends the thread; does nothing when none runs.
    void Stop();
    BOOL IsRunning() const { return m_hThread != NULL; }

private:
    CHookThread(const CHookThread&) = delete;
    CHookThread& operator=(const CHookThread&) = delete;

    static DWORD WINAPI ThreadProc(LPVOID param);
    static void Pump(HANDLE starter);
    void Close();

    HANDLE m_hThread;
    DWORD m_nThreadId;
    // The thread that called Start: the hook goes when it ends.
    HANDLE m_hStarter;
    HANDLE m_hReady;
    HWND m_hTarget;
    BOOL m_bLatched;
};
