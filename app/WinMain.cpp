#include <windows.h>

#include <new>

#include "app/MorvaneApp.h"
#include "app/QelException.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow)
{
    // The mutex is never released: it marks the running instance until the
    // process ends.
    HANDLE mutex = CreateMutexA(NULL, TRUE, "Quorvel_Morvane_OnlyOne_Mutex");
    if (mutex == NULL || GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;

    // No library may be picked up from whatever folder the process was started
    // in. Where the system can, the search leaves the current folder out
    // altogether (an empty DLL directory alone does not do it everywhere).
    SetDllDirectoryA("");
    typedef BOOL(WINAPI * PFN_SetDefaultDllDirectories)(DWORD);
    PFN_SetDefaultDllDirectories setDefaultDllDirectories = reinterpret_cast<PFN_SetDefaultDllDirectories>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories != NULL)
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);

    // No window procedure is there yet to report running out of memory while
    // the application object is built: end quietly, as with no memory at all.
    try {
        g_pApp = new (std::nothrow) CMorvaneApp;
    } catch (CQelException*) {
        g_pApp = NULL;
    }
    if (g_pApp == NULL)
        return 0;
    int result = g_pApp->Execute(instance, prevInstance, cmdLine, cmdShow);
    delete g_pApp;
    return result;
}
