// The hostile target program: see HostileTarget.h.
#include "tests/reliability/HostileTarget.h"

#include <stdio.h>
#include <string.h>

#include <string>

namespace {

const UINT_PTR kChurnTimer = 1;
const int kChurnBatch = 10;

enum Mode { kPlain, kLong, kChurn };

Mode g_mode = kPlain;
int g_windows = 0;
int g_nextCreated = kFirstCreated;
HWND g_churned[kChurnBatch] = {};
LRESULT g_churnCount = 0;

// createText, for the own control classes: a text set during WM_CREATE, so
// that hook mode already sees it.
HWND CreateChild(HWND parent, int id, const char* className, DWORD style, const char* text, int y,
                 const char* createText = NULL)
{
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, y, 300, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(NULL),
                           const_cast<char*>(createText));
}

void CreateLongControls(HWND window)
{
    CreateChild(window, kText1023, "Button", BS_PUSHBUTTON, std::string(1023, 'a').c_str(), 10);
    CreateChild(window, kText1024, "Static", SS_LEFT, std::string(1024, 'b').c_str(), 32);
    // A window name longer than 32767 characters makes Wine's CreateWindowExA fail.
    SetWindowTextA(CreateChild(window, kText100000, "Button", BS_PUSHBUTTON, "", 54), std::string(100000, 'c').c_str());
    CreateChild(window, kTButton100000, "TButton", 0, "", 76, std::string(100000, 'd').c_str());
    CreateChild(window, kShortButton, "Button", BS_PUSHBUTTON, "x", 98);
    HWND last = NULL;
    for (int i = 0; i < kLongClassCount; ++i) {
        char name[256];
        LongClassNameOf(i, name);
        last = CreateChild(window, kFirstLongClass + i, name, 0, "x", 120 + i * 22);
    }
    CreateChild(last, kNestedButton, "Button", BS_PUSHBUTTON, "y", 0);
}

void Churn(HWND window)
{
    for (HWND& control : g_churned) {
        if (control != NULL)
            DestroyWindow(control);
        control = CreateChild(window, 500, g_churnCount % 2 == 0 ? "Button" : "Static", 0, "c", 10);
        ++g_churnCount;
    }
}

LRESULT CreateButtons(HWND window, int count)
{
    int converted = 0;
    DWORD start = GetTickCount();
    for (int i = 0; i < count; ++i) {
        HWND button = CreateChild(window, g_nextCreated++, "Button", BS_PUSHBUTTON, "h", 10);
        char text[16] = "";
        GetWindowTextA(button, text, sizeof(text));
        if (strcmp(text, "[h]") == 0)
            ++converted;
    }
    DWORD elapsed = GetTickCount() - start;
    return MAKELRESULT(elapsed > 0xFFFF ? 0xFFFF : elapsed, converted);
}

HWND OpenWindow(const char* title);

HWND g_cycled = NULL;
LRESULT g_foreignTexts[kCycledCount] = {};

// Counts the texts that other threads (Morvane's write-backs) set into the
// controls of the current cycled window, from their creation on.
LRESULT CALLBACK CountingHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETTEXT && wParam == 0 && GetParent(call->hwnd) == g_cycled) {
        int index = GetDlgCtrlID(call->hwnd) - kFirstCycled;
        if (index >= 0 && index < kCycledCount)
            ++g_foreignTexts[index];
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

LRESULT Cycle(WPARAM n)
{
    HWND next = OpenWindow("Cycled");
    char text[32];
    sprintf(text, "c%u", static_cast<unsigned>(n));
    g_cycled = next;
    for (LRESULT& count : g_foreignTexts)
        count = 0;
    for (int i = 0; i < kCycledCount; ++i)
        CreateChild(next, kFirstCycled + i, kCycledControls[i].className, kCycledControls[i].style, text, 10 + i * 22);
    SetForegroundWindow(next);
    return reinterpret_cast<LRESULT>(next);
}

void Recaption(HWND window, WPARAM n)
{
    char text[32];
    sprintf(text, "d%u", static_cast<unsigned>(n));
    for (int i = 0; i < kCycledCount; ++i)
        SetWindowTextA(GetDlgItem(window, kFirstCycled + i), text);
}

// Wine hands a freed handle slot out again before any other, its generation
// (the high word) one higher, wrapping from 0xFFFE to 1: once the slot has been
// taken 65534 times, the old handle comes back. Menus share the table with
// windows and cost far less to make.
void TakeSlotRound(HWND old)
{
    const UINT_PTR wanted = HIWORD(reinterpret_cast<UINT_PTR>(old));
    for (int i = 0; i < 2 * 0xFFFF; ++i) {
        HMENU menu = CreateMenu();
        UINT_PTR slot = LOWORD(reinterpret_cast<UINT_PTR>(menu));
        UINT_PTR next = HIWORD(reinterpret_cast<UINT_PTR>(menu)) + 1;
        DestroyMenu(menu);
        if (slot == LOWORD(reinterpret_cast<UINT_PTR>(old)) && (next >= 0xFFFF ? 1 : next) == wanted)
            return;
    }
}

LRESULT Reuse(HWND window, WPARAM index)
{
    HWND old = GetDlgItem(window, kReused);
    if (old != NULL) {
        DestroyWindow(old);
        TakeSlotRound(old);
    }
    const CycledControl& control = kCycledControls[index % kCycledCount];
    return reinterpret_cast<LRESULT>(CreateChild(window, kReused, control.className, control.style, "r", 10));
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        const char* text = static_cast<const char*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (text != NULL)
            SetWindowTextA(hwnd, text);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        Churn(hwnd);
        return 0;
    case WM_HOSTILE_CREATE:
        return CreateButtons(hwnd, static_cast<int>(wParam));
    case WM_HOSTILE_CYCLE:
        return Cycle(wParam);
    case WM_HOSTILE_RECAPTION:
        Recaption(hwnd, wParam);
        return 0;
    case WM_HOSTILE_CHURNED:
        return g_churnCount;
    case WM_HOSTILE_FOREIGN_TEXTS:
        return wParam < static_cast<WPARAM>(kCycledCount) ? g_foreignTexts[wParam] : -1;
    case WM_HOSTILE_REUSE:
        return Reuse(hwnd, wParam);
    case WM_DESTROY:
        // A cycle opens the next window before the last one is closed.
        if (--g_windows == 0)
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND OpenWindow(const char* title)
{
    HWND window = CreateWindowExA(0, HOSTILE_TARGET_CLASS, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 420, 420,
                                  NULL, NULL, GetModuleHandleA(NULL), NULL);
    if (window != NULL)
        ++g_windows;
    return window;
}

void RegisterClasses(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpfnWndProc = ControlProc;
    static const char* const ownClasses[] = {"TButton", "TCheckBox", "TGroupBox", "OtherClass"};
    for (const char* name : ownClasses) {
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    for (int i = 0; i < kLongClassCount; ++i) {
        char name[256];
        LongClassNameOf(i, name);
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = HOSTILE_TARGET_CLASS;
    RegisterClassA(&wc);
}

} // namespace

// hostile_target.exe long|churn|plain
int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "long") == 0)
        g_mode = kLong;
    else if (argc > 1 && strcmp(argv[1], "churn") == 0)
        g_mode = kChurn;
    RegisterClasses(GetModuleHandleA(NULL));
    SetWindowsHookExA(WH_CALLWNDPROC, CountingHook, NULL, GetCurrentThreadId());
    HWND window = OpenWindow("Hostile target");
    if (window == NULL)
        return 1;
    if (g_mode == kLong)
        CreateLongControls(window);
    else if (g_mode == kChurn)
        SetTimer(window, kChurnTimer, 10, NULL);
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
