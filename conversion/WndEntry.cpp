#include "conversion/WndEntry.h"

#include "conversion/ItemRecords.h"

CWndEntry::CWndEntry(HWND hwnd, const char* text)
    : m_hWnd(hwnd), m_text(128), m_original(1), m_bWritten(FALSE), m_pChildLink(NULL), m_pPrev(NULL), m_pNext(NULL),
      m_pOwner(NULL), m_pIndexLink(NULL), m_nChildren(0), m_nSweepAt(0), m_pItems(NULL)
{
    m_text.Assign(text);
}

CWndEntry::CWndEntry(const CWndEntry& other)
    : m_hWnd(other.m_hWnd), m_text(128), m_original(1), m_bWritten(FALSE), m_pChildLink(NULL), m_pPrev(NULL),
      m_pNext(NULL), m_pOwner(NULL), m_pIndexLink(NULL), m_nChildren(0), m_nSweepAt(0), m_pItems(NULL)
{
    m_text.Assign(other.m_text);
}

CWndEntry::~CWndEntry()
{
    delete m_pItems;
}
