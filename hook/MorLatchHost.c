/* MorLatch64Host: on 64-bit Windows, installs MorLatch64.dll's hook for the
   32-bit Morvane that started it, so that 64-bit programs report their windows
   to Morvane's main window too. Its one thread does nothing but pump messages,
   which is where the system runs the hook for programs of the other bitness.
   It ends when Morvane asks (WM_QUIT to this thread) or when Morvane's process
   ends, however it ends, so that no hook outlives Morvane. */
#include <windows.h>

#include "hook/MorLatch.h"

/* The command line is Morvane's main window as a decimal number, then after
   a blank the programs left alone, as MorLatchExclude takes them. */
static HWND TargetOf(const char* commandLine, const char** excluded)
{
    ULONG_PTR value = 0;
    const char* p;
    for (p = commandLine; *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + (ULONG_PTR)(*p - '0');
    *excluded = *p == ' ' ? p + 1 : p;
    return (HWND)value;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    const char* excluded;
    HWND target = TargetOf(commandLine, &excluded);
    DWORD morvane = 0;
    HANDLE process;
    MSG msg;
    (void)instance;
    (void)previous;
    (void)show;
    if (!IsWindow(target) || GetWindowThreadProcessId(target, &morvane) == 0)
        return 1;
    process = OpenProcess(SYNCHRONIZE, FALSE, morvane);
    if (process == NULL)
        return 1;
    MorLatchExclude(excluded);
    if (!MorLatch(target)) {
        CloseHandle(process);
        return 2;
    }
    for (;;) {
        DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1)
            break;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                goto done;
            DispatchMessageA(&msg);
        }
    }
done:
    MorUnlatch();
    CloseHandle(process);
    return 0;
}
