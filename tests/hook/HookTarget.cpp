// Creates windows of several classes, one process apart from the test, and
// reports each of them with the text it shows when its creation returns.
#include <stdlib.h>
#include <string.h>

#include "tests/hook/HookTarget.h"

namespace {

HWND g_hRefused = NULL;

LRESULT CALLBACK RefusingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        g_hRefused = hwnd;
        return -1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterTargetClass(const char* name, WNDPROC proc)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

void Send(HWND report, ULONG_PTR kind, const HookTargetWindow* window)
{
    COPYDATASTRUCT data = {kind, window ? static_cast<DWORD>(sizeof(*window)) : 0, const_cast<HookTargetWindow*>(window)};
    SendMessageA(report, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    char* rest = NULL;
    HWND report = reinterpret_cast<HWND>(strtoul(commandLine, &rest, 10));
    int count = static_cast<int>(strtol(rest, NULL, 10));
    RegisterTargetClass(HOOK_TARGET_OWN_CLASS, DefWindowProcA);
    RegisterTargetClass(HOOK_TARGET_REFUSING_CLASS, RefusingProc);

    static const char* const classes[] = {"Button", "Static", "Edit", HOOK_TARGET_OWN_CLASS, HOOK_TARGET_REFUSING_CLASS};
    for (int i = 0; i < count; ++i) {
        HookTargetWindow window = {};
        lstrcpynA(window.className, classes[i % 5], sizeof(window.className));
        HWND hwnd = CreateWindowExA(0, window.className, HOOK_TARGET_ORIGINAL_TEXT, WS_POPUP, 0, 0, 100, 30, NULL, NULL,
                                    instance, NULL);
        if (hwnd == NULL)
            hwnd = g_hRefused;
        else
            GetWindowTextA(hwnd, window.text, sizeof(window.text));
        window.hwnd = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hwnd));
        Send(report, kHookTargetWindow, &window);
    }
    Send(report, kHookTargetDone, NULL);
    return 0;
}
