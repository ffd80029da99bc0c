// The benchmark's target: one window with N push buttons (the count is the
// first argument), a sentinel button that counts Morvane's conversion ticks,
// a decoy window without controls to hand the foreground to, and as many more
// windows with N buttons each as the second argument asks. A third argument D
// adds D push buttons whose captions the selective probe engine declines and D
// edit controls to the first window, as most captions of a Japanese program are.
//
// In hook mode the target times the creation of a batch of buttons, each of
// which Morvane (or a bare converter) converts before its creation returns.
//
// The sentinel: a timer of the target puts a fresh plain text into it several
// times a conversion period, so every tick converts it exactly once. Not in
// answer to Morvane's write: Morvane takes what the control reads right after
// its write for the control's own rendering of it.
//
// MORVANE_BENCH_ITEMS=n adds to the main window a tab control of n tabs and a
// list view of n columns, for the cost of converting them at every tick.
#include <windows.h>

#include <commctrl.h>

#include <stdlib.h>

#include <vector>

#include "tests/bench/BenchClock.h"
#include "tests/bench/BenchProtocol.h"

namespace {

const UINT_PTR kSentinelTimer = 1;
const UINT kSentinelMs = 10;
const int kSentinelId = 999;
const int kFirstButtonId = 1000;

HWND g_hMain = NULL;
std::vector<HWND> g_pages;
HWND g_hDecoy = NULL;
HWND g_hSentinel = NULL;
WNDPROC g_pfnButtonProc = NULL;
int g_nButtons = 0;
int g_nConverted = 0;
LONG g_nTicks = 0;
LONG g_nResets = 0;
LRESULT g_nCreatedConverted = 0;
BOOL g_bSentinel = TRUE;
LONGLONG g_foregroundAt = 0;
LONGLONG g_firstConvertedAt = 0;
LONGLONG g_allConvertedAt = 0;

// Morvane writes back bracketed texts through the probe engine; anything else
// is the target's own writing.
bool IsConverted(const char* text)
{
    return text != NULL && text[0] == '[';
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETTEXT && IsConverted(reinterpret_cast<const char*>(lParam))) {
        if (hwnd == g_hSentinel) {
            ++g_nTicks;
        } else if (g_foregroundAt != 0) {
            if (++g_nConverted == 1)
                g_firstConvertedAt = Now();
            if (g_nConverted == g_nButtons)
                g_allConvertedAt = Now();
        }
    }
    return CallWindowProcA(g_pfnButtonProc, hwnd, msg, wParam, lParam);
}

HWND CreateControl(const char* className, HWND parent, int id, int index, const char* text, DWORD visible)
{
    const int columns = 20;
    return CreateWindowExA(0, className, text, WS_CHILD | visible | BS_PUSHBUTTON, 4 + (index % columns) * 62,
                           4 + (index / columns) * 16, 60, 15, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(NULL), NULL);
}

HWND CreateButton(HWND parent, int id, int index, const char* text, DWORD visible = WS_VISIBLE)
{
    HWND button = CreateControl("Button", parent, id, index, text, visible);
    g_pfnButtonProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonProc)));
    return button;
}

void CreateButtons(HWND parent)
{
    for (int i = 0; i < g_nButtons; ++i) {
        char text[16];
        wsprintfA(text, "B%d", i);
        CreateButton(parent, kFirstButtonId + i, i + 1, text);
    }
}

void CreateItems(HWND parent, int count)
{
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 4, 820, 600, 24, parent, NULL,
                                GetModuleHandleA(NULL), NULL);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 620, 820, 600, 60, parent, NULL,
                                GetModuleHandleA(NULL), NULL);
    for (int i = 0; i < count; ++i) {
        char text[16];
        wsprintfA(text, "I%d", i);
        TCITEMA tab = {TCIF_TEXT, 0, 0, text, 0, 0, 0};
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
        LVCOLUMNA column = {LVCF_TEXT | LVCF_WIDTH, 0, 40, text, 0, 0, 0, 0};
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

LRESULT CreateBatch(int count)
{
    HWND page = CreateWindowExA(0, kBenchPageClass, "Bench batch", WS_OVERLAPPEDWINDOW, 60, 60, 1260, 900, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    std::vector<HWND> buttons(count);
    LONGLONG start = Now();
    for (int i = 0; i < count; ++i)
        buttons[i] = CreateWindowExA(0, "Button", "C", WS_CHILD | BS_PUSHBUTTON, 0, 0, 60, 15, page, NULL,
                                     GetModuleHandleA(NULL), NULL);
    LONGLONG end = Now();
    g_nCreatedConverted = 0;
    for (HWND button : buttons) {
        char text[8] = "";
        GetWindowTextA(button, text, sizeof(text));
        if (IsConverted(text))
            ++g_nCreatedConverted;
    }
    DestroyWindow(page);
    return static_cast<LRESULT>(Microseconds(end - start));
}

// Microseconds from the moment given to the moment all buttons were converted.
LRESULT ConvertedMicroseconds(LONGLONG from)
{
    if (g_nConverted < g_nButtons || g_foregroundAt == 0)
        return -1;
    return g_nButtons == 0 ? 0 : static_cast<LRESULT>(Microseconds(g_allConvertedAt - from));
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_BENCH_FOREGROUND: {
        HWND window = wParam == 0 ? hwnd : g_pages[wParam - 1];
        g_nConverted = 0;
        g_foregroundAt = Now();
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    }
    case WM_BENCH_FIRST_CONVERT_US:
        return ConvertedMicroseconds(g_foregroundAt);
    case WM_BENCH_CONVERT_SPAN_US:
        return ConvertedMicroseconds(g_firstConvertedAt);
    case WM_BENCH_TICKS:
        return g_nTicks;
    case WM_BENCH_CREATE:
        return CreateBatch(static_cast<int>(wParam));
    case WM_BENCH_CREATED_CONVERTED:
        return g_nCreatedConverted;
    case WM_BENCH_SENTINEL:
        g_bSentinel = static_cast<BOOL>(wParam);
        return 0;
    case WM_BENCH_DECOY:
        SetForegroundWindow(g_hDecoy);
        return GetForegroundWindow() == g_hDecoy;
    case WM_TIMER:
        if (g_bSentinel) {
            char text[32];
            wsprintfA(text, "s%ld", ++g_nResets);
            SetWindowTextA(g_hSentinel, text);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int main(int argc, char** argv)
{
    g_nButtons = argc > 1 ? atoi(argv[1]) : 0;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kBenchTargetClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = kBenchPageClass;
    RegisterClassA(&wc);

    g_hDecoy = CreateWindowExA(0, kBenchPageClass, "Decoy", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, NULL,
                               NULL, wc.hInstance, NULL);
    SetForegroundWindow(g_hDecoy);
    g_hMain = CreateWindowExA(0, kBenchTargetClass, "Bench target", WS_OVERLAPPEDWINDOW, 40, 40, 1260, 900, NULL, NULL,
                              wc.hInstance, NULL);
    // Hidden, so that its conversion at every tick repaints nothing: the cost of
    // painting grows with the number of buttons and would count as the walk's.
    g_hSentinel = CreateButton(g_hMain, kSentinelId, 0, "s0", 0);
    CreateButtons(g_hMain);
    for (int i = 0, declined = argc > 3 ? atoi(argv[3]) : 0; i < declined; ++i) {
        char text[16];
        wsprintfA(text, "-D%d", i);
        CreateButton(g_hMain, 0, g_nButtons + 1 + i, text);
        CreateControl("Edit", g_hMain, 0, g_nButtons + 1 + declined + i, text + 1, WS_VISIBLE);
    }
    SetTimer(g_hMain, kSentinelTimer, kSentinelMs, NULL);
    const char* items = getenv("MORVANE_BENCH_ITEMS");
    if (items != NULL && atoi(items) > 0) {
        InitCommonControls();
        CreateItems(g_hMain, atoi(items));
    }
    ShowWindow(g_hMain, SW_SHOWNOACTIVATE);
    for (int i = argc > 2 ? atoi(argv[2]) : 0; i > 0; --i) {
        g_pages.push_back(CreateWindowExA(0, kBenchPageClass, "Bench page", WS_OVERLAPPEDWINDOW, 60, 60, 1260, 900,
                                          NULL, NULL, wc.hInstance, NULL));
        CreateButtons(g_pages.back());
        ShowWindow(g_pages.back(), SW_SHOWNOACTIVATE);
    }

    // The driver's WM_CLOSE destroys the main window and ends the program.
    MSG msg;
    while (IsWindow(g_hMain) && GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
