// The target program of the process tests: see CaptionTarget.h.
#include <windows.h>

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "tests/app/CaptionTarget.h"

namespace {

const UINT WM_RESET_SENTINEL = WM_APP + 50;
const UINT WM_RESET_INSISTING = WM_APP + 51;
const UINT WM_WIZARD_FINISH = WM_APP + 52;
const UINT_PTR kChurnTimer = 1;
const UINT_PTR kClockTimer = 2;
const int kChurnBatch = 10;

const int kControlCount = sizeof(kControls) / sizeof(kControls[0]);
LRESULT g_createdTexts[kControlCount] = {};
HWND g_main = NULL;
int g_windows = 0;
int g_nextCreated = kFirstCreated;
HWND g_churned[kChurnBatch] = {};
LRESULT g_churnCount = 0;
HWND g_cycled = NULL;
LRESULT g_foreignTexts[kCycledCount] = {};
HWND g_sentinels[2] = {};
BOOL g_sentinelOn = FALSE;
LRESULT g_ticks = 0;
BOOL g_ready = FALSE;
HWND g_insisting = NULL;
LRESULT g_insisted = 0;

HANDLE g_startCreating = CreateEventA(NULL, TRUE, FALSE, NULL);
int g_threadButtons = 0;
LRESULT g_retitles = 0;
LRESULT g_foreignTitles = 0;
HWND g_itemText = NULL;

// createText, for the own control classes: a text set during WM_CREATE, so
// that hook mode already sees it.
HWND CreateChild(HWND parent, int id, const char* className, DWORD style, const char* text, int y,
                 const char* createText = NULL)
{
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, y, 300, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(NULL),
                           const_cast<char*>(createText));
}

void CreateControls(HWND window)
{
    for (int i = 0; i < kControlCount; ++i) {
        const TargetControl& spec = kControls[i];
        HWND control = CreateChild(window, spec.id, spec.className, spec.style, spec.text, 10 + i * 22);
        char text[1024] = "";
        GetWindowTextA(control, text, sizeof(text));
        g_createdTexts[i] = text == "[" + std::string(spec.text) + "]" ? kCreatedConverted
                            : strcmp(text, spec.text) == 0               ? kCreatedOriginal
                                                                         : -1;
    }
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

void CreateKindsControls(HWND window)
{
    HWND tabs = CreateChild(window, kTabs, WC_TABCONTROLA, 0, "", 10);
    TCITEMA tab = {};
    tab.mask = TCIF_TEXT;
    for (int i = 0; i < 3; ++i) {
        tab.pszText = const_cast<char*>(kTabLabels[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
    }
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 40, 300, 100, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kList)), GetModuleHandleA(NULL), NULL);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 80;
    for (int i = 0; i < 3; ++i) {
        column.pszText = const_cast<char*>(kColumns[i]);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    g_itemText = CreateChild(window, 0, "OtherClass", 0, "", 150);
    ShowWindow(g_itemText, SW_HIDE);
}

LRESULT ItemText(HWND window, WPARAM id, WPARAM index)
{
    char text[1024] = "";
    BOOL read = FALSE;
    if (id == kTabs) {
        TCITEMA tab = {};
        tab.mask = TCIF_TEXT;
        tab.pszText = text;
        tab.cchTextMax = sizeof(text);
        read = static_cast<BOOL>(SendDlgItemMessageA(window, kTabs, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&tab)));
    } else {
        HDITEMA column = {};
        column.mask = HDI_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof(text);
        HWND header = reinterpret_cast<HWND>(SendDlgItemMessageA(window, kList, LVM_GETHEADER, 0, 0));
        read = static_cast<BOOL>(SendMessageA(header, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&column)));
    }
    SetWindowTextA(g_itemText, text);
    return read ? reinterpret_cast<LRESULT>(g_itemText) : 0;
}

void Retitle(HWND window)
{
    char text[32];
    sprintf(text, "Clock %ld", static_cast<long>(++g_retitles));
    SetWindowTextA(window, text);
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

// Counts the texts that other threads (Morvane's write-backs) set into the
// sentinel and into the controls of the current cycled window.
LRESULT CALLBACK CountingHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETTEXT && wParam == 0) {
        int index = GetDlgCtrlID(call->hwnd) - kFirstCycled;
        if (call->hwnd == g_main) {
            ++g_foreignTitles;
        } else if (call->hwnd == g_insisting) {
            ++g_insisted;
            PostMessageA(g_main, WM_RESET_INSISTING, 0, 0);
        } else if (call->hwnd == g_sentinels[0] || call->hwnd == g_sentinels[1]) {
            ++g_ticks;
            // Not now: Morvane is still inside its SendMessage of this text.
            PostMessageA(g_main, WM_RESET_SENTINEL, call->hwnd == g_sentinels[0], 0);
        } else if (GetParent(call->hwnd) == g_cycled && index >= 0 && index < kCycledCount) {
            ++g_foreignTexts[index];
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

LRESULT Sentinel(HWND window, BOOL on)
{
    for (int i = 0; i < 2 && g_sentinels[i] == NULL; ++i)
        g_sentinels[i] = CreateWindowExA(0, "Button", "s0", WS_CHILD | BS_PUSHBUTTON, 0, 0, 60, 20, window,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSentinels + i)),
                                         GetModuleHandleA(NULL), NULL);
    g_sentinelOn = on;
    if (on)
        PostMessageA(window, WM_RESET_SENTINEL, 0, 0);
    return g_ticks;
}

HWND OpenWindow(const char* title);

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

INT_PTR CALLBACK WizardProc(HWND dialog, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG && PostMessageA(dialog, WM_WIZARD_FINISH, 0, 0))
        SetDlgItemTextA(dialog, kWizardButton, "&Next >");
    else if (msg == WM_WIZARD_FINISH)
        SetDlgItemTextA(dialog, kWizardButton, "&Finish");
    return msg == WM_INITDIALOG;
}

LRESULT Wizard(HWND owner)
{
#pragma pack(push, 4)
    struct {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title[7];
        DLGITEMTEMPLATE item;
        WORD itemClass[2], itemTitle[8], extra;
    } dialogTemplate = {{WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 1, 0, 0, 120, 40}, 0, 0, {'W', 'i', 'z', 'a', 'r', 'd', 0},
                        {WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 10, 10, 60, 14, kWizardButton}, {0xFFFF, 0x0080},
                        {'&', 'N', 'e', 'x', 't', ' ', '>', 0}, 0};
#pragma pack(pop)
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(NULL), &dialogTemplate.dialog, owner, WizardProc, 0);
    char text[32] = "";
    GetDlgItemTextA(dialog, kWizardButton, text, sizeof(text));
    return strcmp(text, "[&Next >]") == 0;
}

DWORD WINAPI CreatorProc(LPVOID)
{
    HWND window = CreateWindowExA(0, "OtherClass", "", WS_POPUP, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    WaitForSingleObject(g_startCreating, INFINITE);
    return HIWORD(CreateButtons(window, g_threadButtons));
}

// Two threads at once, the same code each time.
LRESULT CreateOnThreads(int count)
{
    g_threadButtons = count;
    ResetEvent(g_startCreating);
    HANDLE threads[2];
    for (HANDLE& thread : threads)
        thread = CreateThread(NULL, 0, CreatorProc, NULL, 0, NULL);
    SetEvent(g_startCreating);
    WaitForMultipleObjects(2, threads, TRUE, INFINITE);
    DWORD converted[2] = {};
    for (int i = 0; i < 2; ++i) {
        GetExitCodeThread(threads[i], &converted[i]);
        CloseHandle(threads[i]);
    }
    return converted[0] + converted[1];
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
        if (wParam == kClockTimer)
            Retitle(hwnd);
        else
            Churn(hwnd);
        return 0;
    case WM_TARGET_ITEM_TEXT:
        return ItemText(hwnd, LOWORD(wParam), HIWORD(wParam));
    case WM_TARGET_TITLES:
        return MAKELRESULT(g_retitles, g_foreignTitles);
    case WM_TARGET_HANG:
        SetWindowTextA(GetDlgItem(hwnd, kPushButton), "Hung");
        // The hang the request asks for: the thread answers nothing meanwhile.
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case WM_TARGET_CREATE:
        return CreateButtons(hwnd, static_cast<int>(wParam));
    case WM_TARGET_CYCLE:
        return Cycle(wParam);
    case WM_TARGET_RECAPTION:
        Recaption(hwnd, wParam);
        return 0;
    case WM_TARGET_CHURNED:
        return g_churnCount;
    case WM_TARGET_FOREIGN_TEXTS:
        return wParam < static_cast<WPARAM>(kCycledCount) ? g_foreignTexts[wParam] : -1;
    case WM_TARGET_REUSE:
        return Reuse(hwnd, wParam);
    case WM_TARGET_READY:
        return g_ready;
    case WM_TARGET_CREATED_TEXT:
        return wParam - kPushButton < static_cast<WPARAM>(kControlCount) ? g_createdTexts[wParam - kPushButton] : -1;
    case WM_TARGET_SENTINEL:
        return Sentinel(hwnd, static_cast<BOOL>(wParam));
    case WM_TARGET_WIZARD:
        return Wizard(hwnd);
    case WM_TARGET_THREADS:
        return CreateOnThreads(static_cast<int>(wParam));
    case WM_TARGET_INSIST:
        // Its caption comes after its creation, as the program watches it from then on.
        if (g_insisting == NULL && (g_insisting = CreateChild(hwnd, kInsisting, "Button", 0, "", 300)) != NULL)
            SetWindowTextA(g_insisting, "i");
        return g_insisted;
    case WM_RESET_INSISTING:
        SetWindowTextA(g_insisting, "i");
        return 0;
    case WM_RESET_SENTINEL:
        if (g_sentinelOn) {
            char text[32];
            sprintf(text, "s%ld", static_cast<long>(g_ticks));
            SetWindowTextA(g_sentinels[wParam], text);
        }
        return 0;
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
    HWND window = CreateWindowExA(0, CAPTION_TARGET_CLASS, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 420, 420,
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
    wc.lpszClassName = CAPTION_TARGET_CLASS;
    RegisterClassA(&wc);
}

} // namespace

int main(int argc, char** argv)
{
    const char* mode = argc > 1 ? argv[1] : "controls";
    InitCommonControls();
    RegisterClasses(GetModuleHandleA(NULL));
    SetWindowsHookExA(WH_CALLWNDPROC, CountingHook, NULL, GetCurrentThreadId());
    g_main = OpenWindow(argc > 2 ? argv[2] : "Caption target");
    if (g_main == NULL)
        return 1;
    if (strcmp(mode, "controls") == 0)
        CreateControls(g_main);
    else if (strcmp(mode, "long") == 0)
        CreateLongControls(g_main);
    else if (strcmp(mode, "churn") == 0)
        SetTimer(g_main, kChurnTimer, 10, NULL);
    else if (strcmp(mode, "kinds") == 0)
        CreateKindsControls(g_main);
    else if (strcmp(mode, "clock") == 0)
        SetTimer(g_main, kClockTimer, 100, NULL);
    g_ready = TRUE;
    SetForegroundWindow(g_main);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
