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
    // Child entries only: the top entry they belong to, and the next child
    // entry of the same bucket of the list's child index.
    CWndEntry* m_pOwner;
    CWndEntry* m_pIndexLink;

private:
    CWndEntry& operator=(const CWndEntry&) = delete;
};
