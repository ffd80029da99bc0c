#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What the engine can know of where a caption is shown, since it is handed
// only a class and a text: the words of the last captions it was asked about
// while the same window was in the foreground (the window's other captions,
// as the host walks them), and the file name of the program that window
// belongs to. No state is kept per thread, so any one thread may ask.
class CSenseContext {
public:
    // Starts afresh when another window has come to the foreground.
    void Look();
    void Remember(const std::vector<std::string>& words);

    // Whether any of the blank-separated conditions holds: a word among the
    // remembered captions, or a program's file name ("paint.exe"), in lower
    // case.
    bool Holds(const std::string& conditions);

private:
    bool IsProgram(const std::string& name);

    static const int kRemembered = 48;

    HWND m_hForeground = NULL;
    DWORD m_nLastLook = 0;
    bool m_bLooked = false;
    std::vector<std::vector<std::string>> m_captions; // oldest first
    std::string m_program;                            // lower case, looked up when first needed
    bool m_bProgramKnown = false;
};
