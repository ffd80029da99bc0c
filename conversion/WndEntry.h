#pragma once

#include "foundation/GString.h"

class CItemRecords;

// What the walker remembers of one window. For a control: the text it read
// there when it last looked (after its own write, what the control made of
// it), what came of that look, and, once it has written a conversion there, the
// caption the control showed before (its original). The verdicts serve every
// kind of text the walker converts, so that none is handed to the engine again
// while it stays as it was.
class CWndEntry {
public:
    CWndEntry(HWND hwnd, const char* text);
    CWndEntry(const CWndEntry& other);
    virtual ~CWndEntry();

    // A text the engine declined, and a window passed over, are looked at
    // again after this long: the engine's tables, or the window behind a
    // reused handle, may have changed.
    static const DWORD s_nRecheckMs = 3000;

    // Whether text, read from the window now, is to be handed to the engine
    // of this generation: not while it is what the walker left there, nor
    // while that engine declined it a moment ago.
    BOOL NeedsEngine(const char* text, DWORD generation, DWORD now) const;
    // The engine left text as it was (or there was none), or it was not asked.
    void RecordUnconverted(const char* text, DWORD generation, DWORD now);
    // A conversion of original was written; readBack is what the window reads since.
    void RecordWritten(const char* original, const char* readBack, DWORD generation, DWORD now);
    // Not a window the walker converts: its text is not even read until the next recheck.
    void PassOver(DWORD now);
    BOOL IsRecheckDue(DWORD now) const { return now - m_nCheckedAt >= s_nRecheckMs; }

    HWND m_hWnd;
    CGString m_text;
    CGString m_original;
    // Set once m_text is what the window made of a conversion of m_original that the walker wrote.
    BOOL m_bWritten;
    BOOL m_bPassedOver;
    // Top entries only: the window's program refused a write, as a program
    // running with higher rights does; its controls are not converted.
    BOOL m_bRefused;
    // The engine generation and the tick count of the last verdict.
    DWORD m_nGeneration;
    DWORD m_nCheckedAt;
    // When the walker last wrote m_text, by GetTickCount, and whether the
    // program had just put m_original back before.
    DWORD m_nWrittenAt;
    BOOL m_bPutBack;
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
