// Sends a tray-menu command to the running Morvane: "exit" ends it the way the
// user does from the tray menu.
#include <windows.h>

#include <string.h>

int main(int argc, char** argv)
{
    if (argc < 2 || strcmp(argv[1], "exit") != 0)
        return 2;
    HWND mainWnd = FindWindowA("MorvaneWndClass", NULL);
    if (mainWnd == NULL)
        return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWnd, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(mainWnd, WM_COMMAND, 40001, 0);
    DWORD waited = process != NULL ? WaitForSingleObject(process, 10000) : WAIT_FAILED;
    return waited == WAIT_OBJECT_0 ? 0 : 1;
}
