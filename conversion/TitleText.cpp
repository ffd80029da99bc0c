#include "conversion/TitleText.h"

#include "hook/MorLatch.h"

// Another program's title is read from the system's copy, without a message
// that a hung program would leave unanswered.
BOOL CTitleText::Read(int, char* text, int size)
{
    text[0] = '\0';
    GetWindowTextA(m_hWnd, text, size);
    text[size - 1] = '\0';
    return TRUE;
}

// Marked as Morvane's own, so that the hook does not report it back.
BOOL CTitleText::Write(int, const char* text)
{
    Ask(m_hWnd, WM_SETTEXT, MORLATCH_OWN_TEXT, reinterpret_cast<LPARAM>(text));
    return !m_bHung;
}
