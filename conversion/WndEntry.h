#pragma once

#include "foundation/GString.h"

// What normal mode remembers of one window: for a control, the text the walker
// last left in it.
class CWndEntry {
public:
    CWndEntry(HWND hwnd, const char* text);
    CWndEntry(const CWndEntry& other);
    virtual ~CWndEntry() {}

    HWND m_hWnd;
    CGString m_text;
    CWndEntry* m_pChildLink;
    CWndEntry* m_pPrev;
    CWndEntry* m_pNext;

private:
    CWndEntry& operator=(const CWndEntry&) = delete;
};
