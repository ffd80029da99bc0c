#include "conversion/WndList.h"

#include <new>

CWndList::CWndList()
{
    for (CWndEntry*& head : m_pBuckets)
        head = NULL;
}

CWndList::~CWndList()
{
    RemoveAll();
}

CWndEntry* CWndList::FindTopEntry(HWND hwnd) const
{
    for (CWndEntry* entry = m_pBuckets[BucketOf(hwnd)]; entry != NULL; entry = entry->m_pNext) {
        if (entry->m_hWnd == hwnd)
            return entry;
    }
    return NULL;
}

CWndEntry* CWndList::AddTopEntry(const CWndEntry& entryTemplate)
{
    CWndEntry* entry = new (std::nothrow) CWndEntry(entryTemplate);
    if (entry == NULL)
        return NULL;
    CWndEntry*& head = m_pBuckets[BucketOf(entry->m_hWnd)];
    entry->m_pNext = head;
    if (head != NULL)
        head->m_pPrev = entry;
    head = entry;
    return entry;
}

CWndEntry* CWndList::FindChildEntry(CWndEntry* top, HWND hwnd) const
{
    for (CWndEntry* child = top->m_pChildLink; child != NULL; child = child->m_pChildLink) {
        if (child->m_hWnd == hwnd)
            return child;
    }
    return NULL;
}

CWndEntry* CWndList::AddChildEntry(CWndEntry* top, const CWndEntry& entryTemplate)
{
    CWndEntry* child = new (std::nothrow) CWndEntry(entryTemplate);
    if (child == NULL)
        return NULL;
    child->m_pChildLink = top->m_pChildLink;
    top->m_pChildLink = child;
    return child;
}

void CWndList::DestroyChildren(CWndEntry* top)
{
    CWndEntry* child = top->m_pChildLink;
    while (child != NULL) {
        CWndEntry* next = child->m_pChildLink;
        delete child;
        child = next;
    }
    top->m_pChildLink = NULL;
}

void CWndList::RemoveTopEntry(CWndEntry* entry)
{
    DestroyChildren(entry);
    if (entry->m_pNext != NULL)
        entry->m_pNext->m_pPrev = entry->m_pPrev;
    if (entry->m_pPrev != NULL)
        entry->m_pPrev->m_pNext = entry->m_pNext;
    else
        m_pBuckets[BucketOf(entry->m_hWnd)] = entry->m_pNext;
    delete entry;
}

void CWndList::RemoveAll()
{
    for (CWndEntry*& head : m_pBuckets) {
        while (head != NULL) {
            CWndEntry* next = head->m_pNext;
            DestroyChildren(head);
            delete head;
            head = next;
        }
    }
}
