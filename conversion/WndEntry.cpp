#include "conversion/WndEntry.h"

CWndEntry::CWndEntry(HWND hwnd, const char* text)
    : m_hWnd(hwnd), m_text(128), m_original(1), m_bWritten(FALSE), m_nWrittenAt(0), m_bPutBack(FALSE),
      m_pChildLink(NULL), m_pPrev(NULL), m_pNext(NULL), m_pOwner(NULL), m_pIndexLink(NULL), m_nChildren(0),
      m_nSweepAt(0)
{
    m_text.Assign(text);
}

CWndEntry::CWndEntry(const CWndEntry& other)
    : m_hWnd(other.m_hWnd), m_text(128), m_original(1), m_bWritten(FALSE), m_nWrittenAt(0), m_bPutBack(FALSE),
      m_pChildLink(NULL), m_pPrev(NULL), m_pNext(NULL), m_pOwner(NULL), m_pIndexLink(NULL), m_nChildren(0),
      m_nSweepAt(0)
{
    m_text.Assign(other.m_text);
}
