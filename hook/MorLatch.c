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
static const CWPRETSTRUCT* s_pReporting;

static LRESULT CALLBACK CallWndRetProc(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* call = (const CWPRETSTRUCT*)lParam;
    /* The system finds the next hook without the handle, which only the
       installing process has. */
    if (code >= 0 && call->message == WM_CREATE && call != s_pReporting) {
        const CWPRETSTRUCT* outer = s_pReporting;
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
    s_hHook = SetWindowsHookExA(WH_CALLWNDPROCRET, CallWndRetProc, s_hModule, 0);
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
