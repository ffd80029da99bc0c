#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Pumps this thread's messages until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// The folder of the running test program, where every built binary lands.
std::string BinaryFolder();

// A child process, killed if it still runs when the object goes.
class CChildProcess {
public:
    CChildProcess() = default;
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Starts the command line in the folder, the build's binary folder when none is given.
    bool Start(const std::string& commandLine, const std::string& folder = std::string());
    // Returns the exit code, or -1 when the process is still running after the time. Messages
    // keep flowing meanwhile: in hook mode the hook library in this process talks to the child.
    int WaitExit(DWORD timeoutMs);
    bool IsRunning() const;
    void Kill();
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }
    HANDLE MainThread() const { return m_info.hThread; }

private:
    // Closes the handles of the process started last, if any.
    void Release();

    PROCESS_INFORMATION m_info{};
};

// The first visible-or-hidden top-level window of the class that belongs to the
// process (any process for 0), waited for.
HWND WaitForTopLevelWindow(const char* className, DWORD processId, DWORD timeoutMs);

// The message boxes and dialogs (#32770) that a process shows.
HWND FindProcessDialog(DWORD processId, const char* caption);

// A button of the dialog clicked as the dialog manager reports it.
void Click(HWND dialog, int id);     // sends: for buttons whose handling returns to the caller
void PostClick(HWND dialog, int id); // posts: for buttons that open a nested modal window, or in another process

// The whole text, however long ("" when the window does not answer in time).
std::string TextOf(HWND hwnd);
