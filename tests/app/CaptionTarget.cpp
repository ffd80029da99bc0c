// A program whose controls Morvane converts in the tests: one window with a
// control of every class that matters, requests to hang or to create more
// controls, and an optional report of each control's text read right after
// its creation (what hook mode must already have converted).
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "tests/app/CaptionTarget.h"

namespace {

struct ControlSpec {
    int id;
    const char* className;
    DWORD style;
    const char* text;
};

const ControlSpec kControls[] = {
    {kPushButton, "Button", BS_PUSHBUTTON, "OK"},
    {kCheckBox, "Button", BS_AUTOCHECKBOX, "Check"},
    {kRadioButton, "Button", BS_AUTORADIOBUTTON, "Radio"},
    {kGroupBox, "Button", BS_GROUPBOX, "Group"},
    {kStatic, "Static", SS_LEFT, "Label"},
    {kTButton, "TButton", 0, "TB"},
    {kTCheckBox, "TCheckBox", 0, "TC"},
    {kTGroupBox, "TGroupBox", 0, "TG"},
    {kEdit, "Edit", WS_BORDER, "Edit text"},
    {kOtherClass, "OtherClass", 0, "Other"},
    {kEmptyButton, "Button", BS_PUSHBUTTON, ""},
};

FILE* g_report = NULL;
int g_nextExtra = kFirstExtra;

void Report(HWND control, int id, const char* className)
{
    if (g_report == NULL)
        return;
    char text[1024] = "";
    GetWindowTextA(control, text, sizeof(text));
    fprintf(g_report, "%d\t%s\t%s\n", id, className, text);
    fflush(g_report);
}

void CreateControl(HWND parent, int id, const char* className, DWORD style, const char* text)
{
    int row = (id - kPushButton) % 14;
    int column = (id - kPushButton) / 14;
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 10 + column * 4, 10 + row * 26,
                                   180, 22, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(NULL), NULL);
    Report(control, id, className);
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        char text[256] = "";
        GetWindowTextA(hwnd, text, sizeof(text));
        TextOutA(dc, 2, 2, text, lstrlenA(text));
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        for (const ControlSpec& spec : kControls)
            CreateControl(hwnd, spec.id, spec.className, spec.style, spec.text);
        return 0;
    case WM_TARGET_HANG:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case WM_TARGET_ADD_BUTTONS:
        for (WPARAM i = 0; i < wParam; ++i)
            CreateControl(hwnd, g_nextExtra++, "Button", BS_PUSHBUTTON, "Extra");
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
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
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = CAPTION_TARGET_CLASS;
    RegisterClassA(&wc);
}

} // namespace

// caption_target.exe TITLE [REPORT-FILE]
int main(int argc, char** argv)
{
    const char* title = argc > 1 ? argv[1] : "Caption target";
    if (argc > 2)
        g_report = fopen(argv[2], "w");
    HINSTANCE instance = GetModuleHandleA(NULL);
    RegisterClasses(instance);
    HWND window = CreateWindowExA(0, CAPTION_TARGET_CLASS, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 420,
                                  420, NULL, NULL, instance, NULL);
    if (window == NULL)
        return 1;
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (g_report != NULL)
        fclose(g_report);
    return 0;
}
