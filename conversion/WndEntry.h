#pragma once

#include "foundation/GString.h"

class CItemRecords;

// What the walker remembers of one window. For a control: the text the walker
// last left in it and, once it has written a conversion there, the caption the
// control showed before (its original).
class CWndEntry {
public:
    CWndEntry(HWND hwnd, const char* text);
    CWndEntry(const CWndEntry& other);
    virtual ~CWndEntry();

    HWND m_hWnd;
    CGString m_text;
    CGString m_original;
    // Set once m_text is a conversion of m_original that the walker wrote.
    BOOL m_bWritten;
    CWndEntry* m_pChildLink;
    CWndEntry* m_pPrev;
    CWndEntry* m_pNext;
    // Child entries only: the top entry they belong to, and the next child
    // entry of the same bucket of the list's child index.
    CWndEntry* m_pOwner;
    CWndEntry* m_pIndexLink;
    // Top entries only: how many child entries they own, and at how many the
    // records of controls that are gone are looked for next.
    int m_nChildren;
    int m_nSweepAt;
    // The texts of the window that are not its caption (its title, a tab
    // control's tabs, a header's columns, a menu's items), once it has any.
    CItemRecords* m_pItems;

private:
    CWndEntry& operator=(const CWndEntry&) = delete;
};
