// The demo program of the run command: an ordinary English dialog whose
// captions Morvane turns Japanese in front of the user.
#include <windows.h>

namespace {

struct Control {
    const char* className;
    DWORD style;
    const char* text;
    int x, y, width, height;
};

const Control kControls[] = {
    {"Button", BS_GROUPBOX, "Options", 12, 10, 296, 120},
    {"Button", BS_AUTOCHECKBOX, "Show hidden files", 24, 32, 260, 20},
    {"Button", BS_AUTOCHECKBOX, "Open in new window", 24, 54, 260, 20},
    {"Button", BS_AUTORADIOBUTTON | WS_GROUP, "Yes", 24, 80, 80, 20},
    {"Button", BS_AUTORADIOBUTTON, "No", 110, 80, 80, 20},
    {"Static", SS_LEFT, "Name:", 24, 106, 60, 18},
    {"Edit", WS_BORDER | ES_AUTOHSCROLL, "Untitled", 90, 104, 200, 20},
    {"Button", BS_DEFPUSHBUTTON, "OK", 12, 144, 70, 26},
    {"Button", BS_PUSHBUTTON, "Cancel", 88, 144, 70, 26},
    {"Button", BS_PUSHBUTTON, "&Apply", 164, 144, 70, 26},
    {"Button", BS_PUSHBUTTON, "Help", 240, 144, 70, 26},
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "MorvaneDemoDialog";
    RegisterClassA(&wc);
    RECT frame = {0, 0, 320, 182};
    AdjustWindowRect(&frame, WS_CAPTION | WS_SYSMENU, FALSE);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Folder Options", WS_CAPTION | WS_SYSMENU, 160, 120,
                                  frame.right - frame.left, frame.bottom - frame.top, NULL, NULL, instance, NULL);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const Control& c : kControls) {
        HWND control = CreateWindowExA(0, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.width,
                                       c.height, window, NULL, instance, NULL);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    // Closing the dialog destroys it, which ends the program.
    MSG msg;
    while (IsWindow(window) && GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
