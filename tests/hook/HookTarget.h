#pragma once

#include <windows.h>

// What hook_target.exe tells the test about each window it creates, sent with
// WM_COPYDATA (dwData kHookTargetWindow) right after CreateWindowExA returns.
// Usage: hook_target.exe <report window> <count of windows>
#define HOOK_TARGET_OWN_CLASS "MorvaneHookTargetOwn"
// A class whose windows refuse their creation in WM_CREATE.
#define HOOK_TARGET_REFUSING_CLASS "MorvaneHookTargetRefusing"
#define HOOK_TARGET_ORIGINAL_TEXT "original"

const ULONG_PTR kHookTargetWindow = 1;
const ULONG_PTR kHookTargetDone = 2;

struct HookTargetWindow {
    DWORD hwnd;
    char className[64];
    char text[64]; // read right after the creation returned; empty for a refused window
};
