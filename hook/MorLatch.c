/* MorLatch: reports every window creation on the desktop to Morvane's main
   window. The system maps this library into every process whose threads the
   hook reaches, so it uses no runtime library, no heap and no constructors. */
#include "hook/MorLatch.h"

/* The hook handle and the target window must be the same in every process
   that maps the library, so they live in a section shared by all of them. */
#ifdef _MSC_VER
#pragma data_seg(".shared")
static HHOOK s_hHook = NULL;
static HWND s_hTarget = NULL;
#pragma data_seg()
#pragma comment(linker, "/SECTION:.shared,RWS")
#else
#define MORLATCH_SHARED __attribute__((section(".shared"), shared))
static HHOOK s_hHook MORLATCH_SHARED = NULL;
static HWND s_hTarget MORLATCH_SHARED = NULL;
#endif

static HINSTANCE s_hModule;

static LRESULT CALLBACK CallWndRetProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) {
        const CWPRETSTRUCT* call = (const CWPRETSTRUCT*)lParam;
        if (call->message == WM_CREATE)
            SendMessageA(s_hTarget, WM_MORLATCH_CREATED, (WPARAM)call->hwnd, 0);
    }
    return CallNextHookEx(s_hHook, code, wParam, lParam);
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
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        s_hModule = instance;
    return TRUE;
}
