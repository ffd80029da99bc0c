#pragma once

#include <windows.h>

// The text of another program's window as Morvane reads and writes it: in the
// ANSI code page, exactly or not at all.
class CWindowText {
public:
    // Bytes of a text read, the terminating zero included: a longer text is
    // cut at the last whole character before.
    static const int s_nSize = 1024;

    // Reads the window's text into text (s_nSize bytes). FALSE when it has no
    // exact form in the ANSI code page: such a text is to be left alone, since
    // neither a conversion of it nor the text itself could be written back
    // without loss.
    static BOOL Read(HWND hwnd, char* text);

    enum Outcome {
        kDone,
        // The window's thread did not answer in time; it may still take the text.
        kUnanswered,
        // The window's program runs with higher rights than Morvane and refuses it.
        kRefused,
    };
    // Writes the text into the window and has it repainted; mark goes in WM_SETTEXT's wParam, which controls ignore.
    static Outcome Write(HWND hwnd, const char* text, WPARAM mark);
};
