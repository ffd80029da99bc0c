#pragma once

#include <windows.h>

#include "settings/ProgramList.h"

// Tells whether a top-level window belongs to a program Morvane leaves alone:
// Morvane itself, the programs always left alone, and the user's list. The
// verdict of a window is remembered, since its process never changes and
// asking the system costs a process handle each time.
class CProgramFilter {
public:
    CProgramFilter();

    void SetList(const char* text);
    const CProgramList& List() const { return m_list; }
    BOOL IsExcluded(HWND top);

    // The file name of the program that runs the window ("notepad.exe"); FALSE when the system does not say.
    static BOOL ProgramOf(HWND hwnd, char* buffer, int size);
    // The window the user works in: the foreground window, or where that is
    // Morvane's or the taskbar's (a click on the tray icon brings it to the
    // front), the first visible application window below it; NULL for none.
    static HWND UserWindow();

    // Morvane's own process, whose windows show its own texts; 0 where they are to be converted (tests).
    DWORD m_nOwnProcess;

private:
    CProgramFilter(const CProgramFilter&) = delete;
    CProgramFilter& operator=(const CProgramFilter&) = delete;
    static BOOL IsUserWindow(HWND hwnd);

    struct Verdict {
        HWND hwnd;
        BOOL excluded;
    };
    static const int kVerdicts = 32;

    CProgramList m_list;
    Verdict m_verdicts[kVerdicts];
    int m_nNextVerdict;
};
