// Drives the run command's demo from the script:
//   exit              ends the running Morvane the way the user does from the tray menu
//   wait english      waits until the demo dialog shows its English captions
//   wait japanese     waits until Morvane has converted them
//   desktop           starts the Wine session and desktop, so that later programs find them running
// Each command waits for what it needs and ends with 0 on success, 1 on timeout.
#include <windows.h>

#include <string.h>

namespace {

const DWORD kPatience = 60000;
const UINT kExitCommand = 40001;

template <typename Condition> bool WaitFor(Condition condition)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < kPatience; Sleep(200)) {
        if (condition())
            return true;
    }
    return false;
}

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
    HWND mainWnd = NULL;
    if (!WaitFor([&] { return (mainWnd = FindWindowA("MorvaneWndClass", NULL)) != NULL; }))
        return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWnd, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(mainWnd, WM_COMMAND, kExitCommand, 0);
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
        return WaitFor([&] { return DemoShows(english); }) ? 0 : 1;
    }
    return 2;
}
