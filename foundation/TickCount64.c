/* The posix thread runtime that the C++ runtime brings along measures its
   waits with GetTickCount64, which Windows XP's kernel32 lacks: a binary that
   imports it does not start there. This defines the import slot the runtime
   calls through, so the linker takes it instead of kernel32's entry; the
   system's function is used where it exists. */
#include <windows.h>

typedef ULONGLONG(WINAPI* PFN_GetTickCount64)(void);

/* GetTickCount wraps after 49.7 days: the wraps are counted, which holds as
   long as some wait asks at least once in that time (the runtime's do). */
static ULONGLONG WINAPI TickCountExtended(void)
{
    static volatile LONG s_nLast;
    static volatile LONG s_nWraps;
    DWORD now = GetTickCount();
    DWORD last = (DWORD)InterlockedExchange(&s_nLast, (LONG)now);
    if (now < last)
        InterlockedIncrement(&s_nWraps);
    return ((ULONGLONG)(DWORD)s_nWraps << 32) | now;
}

static ULONGLONG WINAPI TickCount64(void);

PFN_GetTickCount64 MorvaneImportGetTickCount64 __asm__("__imp__GetTickCount64@0") = TickCount64;

/* The first call chooses for good. */
static ULONGLONG WINAPI TickCount64(void)
{
    PFN_GetTickCount64 system =
        (PFN_GetTickCount64)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64");
    MorvaneImportGetTickCount64 = system != NULL ? system : TickCountExtended;
    return MorvaneImportGetTickCount64();
}
