#pragma once

// hostile_target.exe MODE: a program whose windows try to break Morvane. Shared
// with the tests that drive it.
//   long   controls with texts of 1023, 1024 and 100000 bytes, and windows of
//          classes whose names start like a target class but are 199, 200 and
//          250 characters long
//   churn  creates and destroys a batch of controls at every 10 ms timer tick
//   plain  only answers the requests below
#define HOSTILE_TARGET_CLASS "MorvaneHostileTarget"

#include <windows.h>

enum HostileControl {
    kText1023 = 101,       // Button, 1023 x 'a'
    kText1024,             // Static, 1024 x 'b'
    kText100000,           // Button, created empty, then 100000 x 'c'
    kTButton100000,        // TButton, 100000 x 'd' set while it handles WM_CREATE
    kShortButton,          // Button "x": shows that the window was converted at all
    kFirstLongClass = 120, // one window per entry of kLongClassNames, text "x"
    kNestedButton = 140,   // Button "y", a child of the last long-class window
    kReused = 150,         // the control of WM_HOSTILE_REUSE, text "r"
    kFirstCreated = 1000,  // buttons of WM_HOSTILE_CREATE, text "h"
    kFirstCycled = 300,    // controls of WM_HOSTILE_CYCLE, one per kCycledControls entry
};

// Class-name prefixes and lengths of the long-class windows, in id order.
struct LongClassName {
    const char* prefix;
    int length;
};
const LongClassName kLongClassNames[] = {{"Button", 199},    {"Button", 200}, {"Button", 250},
                                         {"TGroupBox", 199}, {"Static", 200}, {"TButton", 250}};
const int kLongClassCount = sizeof(kLongClassNames) / sizeof(kLongClassNames[0]);

inline void LongClassNameOf(int index, char* name)
{
    const LongClassName& spec = kLongClassNames[index];
    int i = lstrlenA(spec.prefix);
    lstrcpyA(name, spec.prefix);
    // The last character keeps the names apart.
    for (; i < spec.length - 1; ++i)
        name[i] = 'Q';
    name[i] = static_cast<char>('0' + index);
    name[spec.length] = '\0';
}

struct CycledControl {
    const char* className;
    DWORD style;
    bool target;
};
const CycledControl kCycledControls[] = {
    {"Button", BS_PUSHBUTTON, true},
    {"Button", BS_AUTOCHECKBOX, true},
    {"Button", BS_GROUPBOX, true},
    {"Static", SS_LEFT, true},
    {"TButton", 0, true},
    {"TCheckBox", 0, true},
    {"TGroupBox", 0, true},
    {"Edit", WS_BORDER, false},
    {"OtherClass", 0, false},
};
const int kCycledCount = sizeof(kCycledControls) / sizeof(kCycledControls[0]);

// Sent to the target's window.
// Creates wParam buttons "h" (ids from kFirstCreated) and returns
// MAKELRESULT(milliseconds taken, how many read "[h]" right after their creation).
#define WM_HOSTILE_CREATE (WM_APP + 11)
// Opens a new top-level window in the foreground with one control per
// kCycledControls entry, each with the text "c<wParam>", and returns it.
#define WM_HOSTILE_CYCLE (WM_APP + 12)
// Sets the text of every cycled control to "d<wParam>".
#define WM_HOSTILE_RECAPTION (WM_APP + 13)
// Returns how many controls the churn has created so far.
#define WM_HOSTILE_CHURNED (WM_APP + 14)
// Returns how many texts other threads have set into cycled control number
// wParam of the current cycled window since its creation.
#define WM_HOSTILE_FOREIGN_TEXTS (WM_APP + 15)
// Makes control kReused, of kCycledControls entry wParam, with the text "r"
// and returns it. An earlier control kReused is destroyed first and its handle
// taken round until the system hands it out again, to the new control.
#define WM_HOSTILE_REUSE (WM_APP + 16)
