// The bare hook-mode converter: the least any converter of created windows
// must do, to measure Morvane's hook mode against. It installs the same hook
// through MorLatch.dll and, for each window reported, reads the class name and
// the text and writes a fixed text back into every button. WM_CLOSE ends it.
#include <windows.h>

#include <string.h>

#include "hook/MorLatch.h"
#include "tests/bench/BenchProtocol.h"

namespace {

LRESULT OnCreated(HWND created)
{
    char className[200];
    char text[1024];
    if (GetClassNameA(created, className, sizeof(className)) == 0 || strcmp(className, "Button") != 0)
        return 0;
    GetWindowTextA(created, text, sizeof(text));
    SendMessageA(created, WM_SETTEXT, MORLATCH_OWN_TEXT, reinterpret_cast<LPARAM>("[C]"));
    return 0;
}

LRESULT CALLBACK ConverterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_MORLATCH_REPORT && lParam == MORLATCH_CREATED)
        return OnCreated(reinterpret_cast<HWND>(wParam));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int main()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ConverterProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = kBenchConverterClass;
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, kBenchConverterClass, "Bench converter", WS_OVERLAPPED, 0, 0, 0, 0, NULL, NULL,
                                  wc.hInstance, NULL);
    if (window == NULL || !MorLatch(window))
        return 1;
    MSG msg;
    while (IsWindow(window) && GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    MorUnlatch();
    return 0;
}
