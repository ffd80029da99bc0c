#pragma once

// caption_target.exe MODE [TITLE]: the program whose windows Morvane converts
// in the process tests. Shared with the tests that drive it.
//   controls  one control of every class that matters (kControls)
//   long      controls with texts of 1023, 1024 and 100000 bytes, and windows of
//             classes whose names start like a target class but are 199, 200 and
//             250 characters long
//   churn     creates and destroys a batch of controls at every 10 ms timer tick
//   kinds     a tab control and a list view (kTabs, kList, kTabLabels, kColumns)
//   clock     retitles its window "Clock <n>" at every 100 ms timer tick
//   plain     only answers the requests below
#define CAPTION_TARGET_CLASS "MorvaneCaptionTarget"

#include <windows.h>

// The controls of the controls mode, in kControls.
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
};

struct TargetControl {
    int id;
    const char* className;
    DWORD style;
    const char* text;
    bool converted; // in normal mode, to "[" + text + "]"
};
const TargetControl kControls[] = {
    {kPushButton, "Button", BS_PUSHBUTTON, "OK", true},
    {kCheckBox, "Button", BS_AUTOCHECKBOX, "Check", true},
    {kRadioButton, "Button", BS_AUTORADIOBUTTON, "Radio", true},
    {kGroupBox, "Button", BS_GROUPBOX, "Group", true},
    {kStatic, "Static", SS_LEFT, "Label", true},
    {kTButton, "TButton", 0, "TB", true},
    {kTCheckBox, "TCheckBox", 0, "TC", true},
    {kTGroupBox, "TGroupBox", 0, "TG", true},
    {kEdit, "Edit", WS_BORDER, "Edit text", false},
    {kOtherClass, "OtherClass", 0, "Other", false},
    {kEmptyButton, "Button", BS_PUSHBUTTON, "", false},
};

enum LongControl {
    kText1023 = 101,       // Button, 1023 x 'a'
    kText1024,             // Static, 1024 x 'b'
    kText100000,           // Button, created empty, then 100000 x 'c'
    kTButton100000,        // TButton, 100000 x 'd' set while it handles WM_CREATE
    kShortButton,          // Button "x": shows that the window was converted at all
    kFirstLongClass = 120, // one window per entry of kLongClassNames, text "x"
    kNestedButton = 140,   // Button "y", a child of the last long-class window
};

enum RequestedControl {
    kReused = 150,        // the control of WM_TARGET_REUSE, text "r"
    kFirstCycled = 300,   // controls of WM_TARGET_CYCLE, one per kCycledControls entry
    kWizardButton = 160,  // the button of WM_TARGET_WIZARD's dialog
    kInsisting = 170,     // the control of WM_TARGET_INSIST, text "i"
    kSentinels = 998,     // the two hidden Buttons of WM_TARGET_SENTINEL, 998 and 999
    kFirstCreated = 1000, // buttons of WM_TARGET_CREATE, text "h"
};

enum KindsControl {
    kTabs = 160, // SysTabControl32 with kTabLabels
    kList,       // SysListView32 in report view with kColumns
};
const char* const kTabLabels[] = {"General", "Security", "Content"};
const char* const kColumns[] = {"Name", "PID", "CPU"};

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

// Posted to the target's window: the push button's text becomes "Hung", for
// Morvane to write back to, and the thread stops answering for wParam milliseconds.
#define WM_TARGET_HANG (WM_APP + 1)
// The others are sent to the target's window.
// Creates wParam buttons "h" (ids from kFirstCreated) and returns
// MAKELRESULT(milliseconds taken, how many read "[h]" right after their creation).
#define WM_TARGET_CREATE (WM_APP + 11)
// Opens a new top-level window in the foreground with one control per
// kCycledControls entry, each with the text "c<wParam>", and returns it.
#define WM_TARGET_CYCLE (WM_APP + 12)
// Sets the text of every cycled control to "d<wParam>".
#define WM_TARGET_RECAPTION (WM_APP + 13)
// Returns how many controls the churn has created so far.
#define WM_TARGET_CHURNED (WM_APP + 14)
// Returns how many texts other threads have set into cycled control number
// wParam of the current cycled window since its creation.
#define WM_TARGET_FOREIGN_TEXTS (WM_APP + 15)
// Makes control kReused, of kCycledControls entry wParam, with the text "r"
// and returns it. An earlier control kReused is destroyed first and its handle
// taken round until the system hands it out again, to the new control.
#define WM_TARGET_REUSE (WM_APP + 16)
// Of control LOWORD(wParam) (kTabs or kList), the text of item HIWORD(wParam)
// (tab or column) becomes the title of the hidden window it returns; null when
// there is no such item.
#define WM_TARGET_ITEM_TEXT (WM_APP + 24)
// MAKELRESULT(how often the program has retitled its window, how many titles
// other threads have set into it).
#define WM_TARGET_TITLES (WM_APP + 25)
// Returns TRUE once the window has made the controls of its mode. Until then
// it may answer requests sent to it while hook mode holds one of its creations.
#define WM_TARGET_READY (WM_APP + 19)
// Of the kControls entry with the id wParam, what its text read right after its
// creation (what hook mode must already have converted): kCreatedConverted
// "[" + text + "]", kCreatedOriginal the text, -1 anything else.
#define WM_TARGET_CREATED_TEXT (WM_APP + 18)
const LRESULT kCreatedConverted = 1;
const LRESULT kCreatedOriginal = 0;
// Opens the modeless dialog "Wizard", whose WM_INITDIALOG sets "&Next >" on its
// button (made with that text) and then posts itself a message that sets
// "&Finish". Returns TRUE when
// the button read "[&Next >]" as the dialog's creation returned.
#define WM_TARGET_WIZARD (WM_APP + 20)
// Has two new threads create wParam buttons "h" each, all at once, and returns
// how many read "[h]" right after their creation.
#define WM_TARGET_THREADS (WM_APP + 21)
// Creates control kInsisting, whose program puts "i" back whenever another
// thread sets its text. Returns how many times another thread has done so.
#define WM_TARGET_INSIST (WM_APP + 23)
// wParam TRUE: creates the two sentinels if need be and from now on gives one a
// fresh plain text after each text another thread sets into the other, so that
// walks of the window keep converting them (one sentinel never changes right
// after Morvane's own write, which Morvane would take for what the control made
// of it); FALSE: leaves their texts as they are from now on. Returns the number
// of texts other threads have set into them: their ticks, one or two a walk.
#define WM_TARGET_SENTINEL (WM_APP + 17)
