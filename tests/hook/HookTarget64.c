/* A 64-bit program for the hook tests on 64-bit Windows: a window with three
   buttons, created at start, that stays until the test ends the process. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    static const char* const captions[] = {"OK", "Cancel", "Help"};
    HWND window;
    MSG msg;
    int i;
    (void)previous;
    (void)commandLine;
    window = CreateWindowExA(0, "#32770", "Target64", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, NULL, instance, NULL);
    for (i = 0; i < 3; ++i)
        CreateWindowExA(0, "Button", captions[i], WS_CHILD | WS_VISIBLE, 10, 10 + 30 * i, 80, 24, window,
                        (HMENU)(INT_PTR)(100 + i), instance, NULL);
    ShowWindow(window, show);
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
