/* MorLatch: reports the windows whose texts Morvane converts to Morvane's main
   window as they are created, retitled or given items. The system maps this
   library into every process whose threads the hook reaches, so it uses no
   runtime library, no heap and no constructors, and it decides within the
   program, from the message and the class, whether a window is worth the trip
   to Morvane at all. */
#include "hook/MorLatch.h"

#include <commctrl.h>

#include "hook/ReportedClasses.h"

/* How long a reporting thread waits for Morvane to handle a report. Every
   program on the desktop waits this long at most per report while Morvane is
   busy, stopped or hung; in exchange, a report that Morvane does not take
   within the bound leaves that window unconverted for the moment (Morvane
   still converts it when it gets to the report, if it ever does). */
#define MORLATCH_REPORT_TIMEOUT 200

/* Wine ends a hook chain at a hook whose library a program cannot load, so
   the two bitnesses' libraries keep to chains of their own: the 64-bit one
   sees each message as it is sent, before the window handles it (a control's
   caption is set by then), the 32-bit one as the window returns. */
#ifdef _WIN64
#define MORLATCH_HOOK WH_CALLWNDPROC
#define MORLATCH_SEES_BEFORE 1
typedef CWPSTRUCT MORLATCH_CALL;
#else
#define MORLATCH_HOOK WH_CALLWNDPROCRET
#define MORLATCH_SEES_BEFORE 0
typedef CWPRETSTRUCT MORLATCH_CALL;
#endif

/* Only the target window and the programs Morvane leaves alone must be the
   same in every process that maps the library, so they alone live in a
   section shared by all of them. The count goes up with each new list, so that
   every process looks at its own name again. */
#define MORLATCH_EXCLUDED_SIZE 2048
#ifdef _MSC_VER
#pragma data_seg(".shared")
static HWND s_hTarget = NULL;
static char s_excluded[MORLATCH_EXCLUDED_SIZE] = "";
static LONG s_nExcludedCount = 0;
#pragma data_seg()
#pragma comment(linker, "/SECTION:.shared,RWS")
#else
#define MORLATCH_SHARED __attribute__((section(".shared"), shared))
static HWND s_hTarget MORLATCH_SHARED = NULL;
static char s_excluded[MORLATCH_EXCLUDED_SIZE] MORLATCH_SHARED = "";
static LONG s_nExcludedCount MORLATCH_SHARED = 0;
#endif

/* This process's verdict, and the list it was given for. */
static LONG s_nExcludedSeen = -1;
static BOOL s_bExcluded;

/* The hook belongs to the process that installed it. Kept in shared memory,
   the handle of a Morvane that was killed would outlive its hook wherever the
   library stays mapped, and the next Morvane would take it for its own and
   install nothing. */
static HHOOK s_hHook;
static HINSTANCE s_hModule;

/* Per thread: the call whose hook chain runs on it. Where the system keeps the
   hook of a killed Morvane (Wine does), that hook runs this same procedure for
   the same call further down the chain: the window is reported once. A slot
   of the system's own, taken when the library is mapped: thread-local
   variables of the compiler are not set up for a library that the system
   loads into a running program on the way to a hook, as on Windows XP. A
   process without a free slot is not served. */
static DWORD s_nReportingSlot = TLS_OUT_OF_INDEXES;

/* Names are compared here, as the library has no runtime to do it. */
static BOOL SameName(const char* name, const char* wanted)
{
    while (*name != '\0' && *name == *wanted) {
        ++name;
        ++wanted;
    }
    return *name == *wanted;
}

/* Whether the list names this program's file, compared without case. */
static BOOL IsListed(const char* list)
{
    char path[MAX_PATH];
    char name[MAX_PATH];
    const char* file = path;
    const char* p;
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return FALSE;
    for (p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/')
            file = p + 1;
    }
    while (*list != '\0') {
        int n = 0;
        while (*list != '\0' && *list != ';') {
            if (n < MAX_PATH - 1)
                name[n++] = *list;
            ++list;
        }
        name[n] = '\0';
        if (n != 0 && lstrcmpiA(name, file) == 0)
            return TRUE;
        if (*list == ';')
            ++list;
    }
    return FALSE;
}

/* A program Morvane leaves alone is never reported: the hook only passes on. */
static BOOL IsExcludedProgram(void)
{
    LONG count = s_nExcludedCount;
    BOOL excluded;
    if (count == s_nExcludedSeen)
        return s_bExcluded;
    excluded = IsListed(s_excluded);
    /* A list that changed while it was read is read again next time. */
    if (s_nExcludedCount == count) {
        s_bExcluded = excluded;
        InterlockedExchange(&s_nExcludedSeen, count);
    }
    return excluded;
}

/* What a message would make of its window, or -1 when it is never reported. */
static int KindOf(const MORLATCH_CALL* call)
{
    switch (call->message) {
    case WM_CREATE: return MORLATCH_CREATED;
    case WM_SETTEXT: return call->wParam == MORLATCH_OWN_TEXT ? -1 : MORLATCH_TEXT_SET;
    case TCM_INSERTITEMA:
    case TCM_INSERTITEMW:
    case TCM_SETITEMA:
    case TCM_SETITEMW:
    case HDM_INSERTITEMA:
    case HDM_INSERTITEMW:
    case HDM_SETITEMA:
    case HDM_SETITEMW: return MORLATCH_ITEMS_CHANGED;
    default: return -1;
    }
}

/* Whether the window is of interest for what happened to it. Tab and header
   messages share their numbers with other classes' private messages. */
static BOOL IsReported(const MORLATCH_CALL* call, int kind)
{
    char name[REPORTED_CLASS_BUFFER];
    LONG style;
    int i;
    if (GetClassNameA(call->hwnd, name, sizeof(name)) == 0)
        return FALSE;
    if (kind == MORLATCH_ITEMS_CHANGED)
        return SameName(name, call->message >= TCM_FIRST ? kTabClass : kHeaderClass);
    for (i = 0; i < CAPTION_CLASS_COUNT; ++i) {
        if (SameName(name, kCaptionClasses[i]))
            return TRUE;
    }
    if (kind == MORLATCH_CREATED && (SameName(name, kTabClass) || SameName(name, kHeaderClass)))
        return TRUE;
    /* Menus, tooltips and the system's IME windows have no title to show. */
    style = GetWindowLongA(call->hwnd, GWL_STYLE);
    return (style & WS_CHILD) == 0 && (style & WS_CAPTION) == WS_CAPTION;
}

/* Where the hook sees a message before the window handles it, a new text or
   item is there only once the call returns: that report is posted. */
static void Report(const MORLATCH_CALL* call, int kind)
{
    DWORD_PTR result;
    if (MORLATCH_SEES_BEFORE && kind != MORLATCH_CREATED) {
        PostMessageA(s_hTarget, WM_MORLATCH_REPORT, (WPARAM)call->hwnd, kind);
        return;
    }
    SendMessageTimeoutA(s_hTarget, WM_MORLATCH_REPORT, (WPARAM)call->hwnd, kind, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                        MORLATCH_REPORT_TIMEOUT, &result);
}

static LRESULT CALLBACK CallWndRetProc(int code, WPARAM wParam, LPARAM lParam)
{
    const MORLATCH_CALL* call = (const MORLATCH_CALL*)lParam;
    int kind = code >= 0 ? KindOf(call) : -1;
    /* The system finds the next hook without the handle, which only the
       installing process has. */
    if (kind < 0 || s_nReportingSlot == TLS_OUT_OF_INDEXES)
        return CallNextHookEx(NULL, code, wParam, lParam);
    {
        /* The program may look at its last error once its call returns. */
        DWORD error = GetLastError();
        const void* outer = TlsGetValue(s_nReportingSlot);
        LRESULT next;
        /* On the installing thread the system runs the hook of programs this
           library cannot be mapped into: their windows are out of reach. */
        if (outer == call || GetWindowThreadProcessId(call->hwnd, NULL) != GetCurrentThreadId() ||
            !IsReported(call, kind) || IsExcludedProgram()) {
            SetLastError(error);
            return CallNextHookEx(NULL, code, wParam, lParam);
        }
        TlsSetValue(s_nReportingSlot, (void*)call);
        Report(call, kind);
        next = CallNextHookEx(NULL, code, wParam, lParam);
        TlsSetValue(s_nReportingSlot, (void*)outer);
        SetLastError(error);
        return next;
    }
}

void MorLatchExclude(const char* programs)
{
    lstrcpynA(s_excluded, programs != NULL ? programs : "", MORLATCH_EXCLUDED_SIZE);
    InterlockedIncrement(&s_nExcludedCount);
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
    if (reason == DLL_PROCESS_ATTACH) {
        s_hModule = instance;
        s_nReportingSlot = TlsAlloc();
    } else if (reason == DLL_PROCESS_DETACH && reserved == NULL && s_nReportingSlot != TLS_OUT_OF_INDEXES) {
        /* Unloaded from a process that goes on (the hook was removed): the slot is its own again. */
        TlsFree(s_nReportingSlot);
    }
    return TRUE;
}
