// Drives the run command's demo from the script:
//   exit              ends the running Morvane the way the user does from the tray menu
//   wait english      waits until the demo dialog shows its English captions
//   wait japanese     waits until Morvane has converted them
//   desktop           starts the Wine session and desktop, so that later programs find them running
// Each command waits for what it needs and ends with 0 on success, 1 on timeout.
#include <windows.h>

#include <string.h>

#include "tests/support/ProcessDriver.h"
#include "ui/resource.h"

namespace {

const DWORD kPatience = 60000;

bool DemoShows(bool english)
{
    HWND demo = FindWindowA("MorvaneDemoDialog", NULL);
    if (demo == NULL || !IsWindowVisible(demo))
        return false;
    // "OK" reads the same in Japanese: "Cancel" tells the two apart.
    bool hasEnglish = FindWindowExA(demo, NULL, "Button", "Cancel") != NULL;
    return english == hasEnglish;
}

int Exit()
{
    HWND mainWnd = WaitForTopLevelWindow("MorvaneWndClass", 0, kPatience);
    if (mainWnd == NULL)
        return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWnd, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(mainWnd, WM_COMMAND, ID_TRAY_EXIT, 0);
    DWORD waited = process != NULL ? WaitForSingleObject(process, kPatience) : WAIT_FAILED;
    return waited == WAIT_OBJECT_0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "exit") == 0)
        return Exit();
    if (argc == 2 && strcmp(argv[1], "desktop") == 0)
        return GetDesktopWindow() != NULL ? 0 : 1;
    if (argc == 3 && strcmp(argv[1], "wait") == 0) {
        bool english = strcmp(argv[2], "english") == 0;
        return WaitUntil([&] { return DemoShows(english); }, kPatience) ? 0 : 1;
    }
    return 2;
}
