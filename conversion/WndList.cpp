#include "conversion/WndList.h"

#include <new>

CWndList::CWndList()
{
    for (CWndEntry*& head : m_pBuckets)
        head = NULL;
    for (CWndEntry*& head : m_pChildIndex)
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

int CWndList::ChildIndexOf(const CWndEntry* top, HWND hwnd)
{
    DWORD key = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hwnd)) ^
                static_cast<DWORD>(reinterpret_cast<UINT_PTR>(top) >> 4);
    return static_cast<int>((key * 2654435761u) >> (32 - kChildIndexBits));
}

// The index chains keep the newest entry first, as the child lists do, so the
// entry found is the one a walk of top's list from the front finds.
CWndEntry* CWndList::FindChildEntry(CWndEntry* top, HWND hwnd) const
{
    for (CWndEntry* child = m_pChildIndex[ChildIndexOf(top, hwnd)]; child != NULL; child = child->m_pIndexLink) {
        if (child->m_hWnd == hwnd && child->m_pOwner == top)
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
    child->m_pOwner = top;
    ++top->m_nChildren;
    CWndEntry*& head = m_pChildIndex[ChildIndexOf(top, child->m_hWnd)];
    child->m_pIndexLink = head;
    head = child;
    return child;
}

void CWndList::UnindexChild(CWndEntry* child)
{
    CWndEntry** link = &m_pChildIndex[ChildIndexOf(child->m_pOwner, child->m_hWnd)];
    while (*link != child)
        link = &(*link)->m_pIndexLink;
    *link = child->m_pIndexLink;
}

void CWndList::DestroyChildren(CWndEntry* top)
{
    CWndEntry* child = top->m_pChildLink;
    while (child != NULL) {
        CWndEntry* next = child->m_pChildLink;
        UnindexChild(child);
        delete child;
        child = next;
    }
    top->m_pChildLink = NULL;
    top->m_nChildren = 0;
}

int CWndList::RemoveChildEntries(CWndEntry* top, BOOL (*isGone)(const CWndEntry* child, void* context), void* context)
{
    int removed = 0;
    CWndEntry** link = &top->m_pChildLink;
    while (*link != NULL) {
        CWndEntry* child = *link;
        if (!isGone(child, context)) {
            link = &child->m_pChildLink;
            continue;
        }
        *link = child->m_pChildLink;
        UnindexChild(child);
        delete child;
        ++removed;
    }
    top->m_nChildren -= removed;
    return removed;
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
