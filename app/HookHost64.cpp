#include "app/HookHost64.h"

#include "foundation/PathFunctions.h"

namespace {

const char kHostFile[] = "MorLatch64Host.exe";
// The host removes its hook at once when asked; one that does not answer is ended.
const DWORD kStopTimeout = 2000;

} // namespace

CHookHost64::CHookHost64()
{
    ZeroMemory(&m_process, sizeof(m_process));
}

CHookHost64::~CHookHost64()
{
    Stop();
}

BOOL CHookHost64::IsWow64()
{
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

void CHookHost64::Start(HWND target, const char* excludedPrograms)
{
    if (IsRunning() || !IsWow64())
        return;
    CGString path(JoinPath(ProgramFolder().Text(), kHostFile));
    if (GetFileAttributesA(path.Text()) == INVALID_FILE_ATTRIBUTES)
        return;
    char number[16];
    wsprintfA(number, "\" %lu ", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(target)));
    CGString commandLine("\"");
    commandLine.Append(path.Text());
    commandLine.Append(number);
    commandLine.Append(excludedPrograms);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    if (!CreateProcessA(path.Text(), commandLine.Buffer(-1), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &m_process))
        ZeroMemory(&m_process, sizeof(m_process));
}

void CHookHost64::Stop()
{
    if (!IsRunning())
        return;
    PostThreadMessageA(m_process.dwThreadId, WM_QUIT, 0, 0);
    if (WaitForSingleObject(m_process.hProcess, kStopTimeout) != WAIT_OBJECT_0)
        TerminateProcess(m_process.hProcess, 1);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
    ZeroMemory(&m_process, sizeof(m_process));
}
