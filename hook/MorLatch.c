/* MorLatch: reports every window creation on the desktop to Morvane's main
   window. The system maps this library into every process whose threads the
   hook reaches, so it uses no runtime library, no heap and no constructors. */
#include "hook/MorLatch.h"

/* How long a creating thread waits for Morvane to handle a report. Every
   program on the desktop waits this long at most per window it creates while
   Morvane is busy, stopped or hung; in exchange, a report that Morvane does
   not take within the bound leaves that window unconverted at its creation
   (Morvane still converts it when it gets to the report, if it ever does). */
#define MORLATCH_REPORT_TIMEOUT 200

/* Wine ends a hook chain at a hook whose library a program cannot load, so
   the two bitnesses' libraries keep to chains of their own: the 64-bit one
   sees each message as it is sent, before the window handles it (a control's
   caption is set by then), the 32-bit one as the window returns. */
#ifdef _WIN64
#define MORLATCH_HOOK WH_CALLWNDPROC
typedef CWPSTRUCT MORLATCH_CALL;
#else
#define MORLATCH_HOOK WH_CALLWNDPROCRET
typedef CWPRETSTRUCT MORLATCH_CALL;
#endif

/* Only the target window must be the same in every process that maps the
   library, so it alone lives in a section shared by all of them. */
#ifdef _MSC_VER
#pragma data_seg(".shared")
static HWND s_hTarget = NULL;
#pragma data_seg()
#pragma comment(linker, "/SECTION:.shared,RWS")
#else
#define MORLATCH_SHARED __attribute__((section(".shared"), shared))
static HWND s_hTarget MORLATCH_SHARED = NULL;
#endif

/* The hook belongs to the process that installed it. Kept in shared memory,
   the handle of a Morvane that was killed would outlive its hook wherever the
   library stays mapped, and the next Morvane would take it for its own and
   install nothing. */
static HHOOK s_hHook;
static HINSTANCE s_hModule;

/* The call whose hook chain runs in this process. Where the system keeps the
   hook of a killed Morvane (Wine does), that hook runs this same procedure
   for the same call further down the chain: the window is reported once. */
static const MORLATCH_CALL* s_pReporting;

static BOOL IsWow64(HANDLE process)
{
    BOOL wow64 = FALSE;
    return IsWow64Process(process, &wow64) && wow64;
}

/* For a program of the other bitness the system runs the hook on the thread
   that installed it, and the rest of the chain from there: the library of the
   program's own bitness, reached further down that chain, reports it, so that
   each window is reported once. */
static BOOL IsOwnBitness(HWND hwnd)
{
    DWORD process = 0;
    HANDLE handle;
    BOOL same;
    if (GetWindowThreadProcessId(hwnd, &process) == 0)
        return FALSE;
    if (process == GetCurrentProcessId())
        return TRUE;
    /* Limited query rights, which Vista and later have, open elevated programs too. */
    handle = OpenProcess(0x1000, FALSE, process);
    if (handle == NULL)
        handle = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process);
    if (handle == NULL)
        return FALSE;
    same = IsWow64(handle) == IsWow64(GetCurrentProcess());
    CloseHandle(handle);
    return same;
}

static LRESULT CALLBACK CallWndRetProc(int code, WPARAM wParam, LPARAM lParam)
{
    const MORLATCH_CALL* call = (const MORLATCH_CALL*)lParam;
    /* The system finds the next hook without the handle, which only the
       installing process has. */
    if (code >= 0 && call->message == WM_CREATE && call != s_pReporting && IsOwnBitness(call->hwnd)) {
        const MORLATCH_CALL* outer = s_pReporting;
        DWORD_PTR result;
        LRESULT next;
        s_pReporting = call;
        SendMessageTimeoutA(s_hTarget, WM_MORLATCH_CREATED, (WPARAM)call->hwnd, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                            MORLATCH_REPORT_TIMEOUT, &result);
        next = CallNextHookEx(NULL, code, wParam, lParam);
        s_pReporting = outer;
        return next;
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

int MorLatch(HWND target)
{
    s_hTarget = target;
    /* A second call while hooked only moves the reports to the new target:
       installing another hook would orphan the first one. */
    if (s_hHook != NULL)
        return 1;
    s_hHook = SetWindowsHookExA(MORLATCH_HOOK, CallWndRetProc, s_hModule, 0);
    return s_hHook != NULL;
}

void MorUnlatch(void)
{
    if (s_hHook == NULL)
        return;
    UnhookWindowsHookEx(s_hHook);
    s_hHook = NULL;
    /* A hook left behind by a killed Morvane has nobody to report to now. */
    s_hTarget = NULL;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        s_hModule = instance;
    return TRUE;
}
