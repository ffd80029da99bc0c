#include "conversion/WndEntry.h"

#include "conversion/ItemRecords.h"

CWndEntry::CWndEntry(HWND hwnd, const char* text)
    : m_hWnd(hwnd), m_text(128), m_original(1), m_bWritten(FALSE), m_bPassedOver(FALSE), m_bRefused(FALSE),
      m_nGeneration(0), m_nCheckedAt(0), m_nWrittenAt(0), m_bPutBack(FALSE), m_pChildLink(NULL), m_pPrev(NULL),
      m_pNext(NULL), m_pOwner(NULL), m_pIndexLink(NULL), m_nChildren(0), m_nSweepAt(0), m_pItems(NULL)
{
    m_text.Assign(text);
}

CWndEntry::CWndEntry(const CWndEntry& other) : CWndEntry(other.m_hWnd, other.m_text.Text()) {}

BOOL CWndEntry::NeedsEngine(const char* text, DWORD generation, DWORD now) const
{
    if (m_text.Compare(text, FALSE) != 0)
        return TRUE;
    // An empty text has nothing to convert.
    if (m_bWritten || text[0] == '\0')
        return FALSE;
    return generation != m_nGeneration || IsRecheckDue(now);
}

void CWndEntry::RecordUnconverted(const char* text, DWORD generation, DWORD now)
{
    m_text.Assign(text);
    m_bWritten = FALSE;
    m_bPassedOver = FALSE;
    m_nGeneration = generation;
    m_nCheckedAt = now;
}

void CWndEntry::RecordWritten(const char* original, const char* readBack, DWORD generation, DWORD now)
{
    m_original.Assign(original);
    RecordUnconverted(readBack, generation, now);
    m_bWritten = TRUE;
    m_nWrittenAt = now;
}

void CWndEntry::PassOver(DWORD now)
{
    m_text.Clear();
    m_bWritten = FALSE;
    m_bPassedOver = TRUE;
    m_nCheckedAt = now;
}

CWndEntry::~CWndEntry()
{
    delete m_pItems;
}
