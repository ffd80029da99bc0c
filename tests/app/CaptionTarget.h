#pragma once

// The target program's window class, control ids and requests, shared with the
// tests that drive it.
#define CAPTION_TARGET_CLASS "MorvaneCaptionTarget"

enum CaptionTargetControl {
    kPushButton = 101,
    kCheckBox,
    kRadioButton,
    kGroupBox,
    kStatic,
    kTButton,
    kTCheckBox,
    kTGroupBox,
    kEdit,
    kOtherClass,
    kEmptyButton,
    kFirstExtra = 200,
};

// Posted to the target's window.
#define WM_TARGET_HANG (WM_APP + 1)       // wParam: milliseconds the thread stops answering
#define WM_TARGET_ADD_BUTTONS (WM_APP + 2) // wParam: count of push buttons "Extra" to create
