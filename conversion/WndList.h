#pragma once

#include "conversion/WndEntry.h"

// Top-level entries in 256 doubly linked chains keyed by the handle's low
// byte; each top-level entry owns a singly linked list of child entries.
// Child entries are also chained in an index keyed by top entry and handle, so
// that a window of thousands of controls is not searched from the front for
// each of them at every tick.
class CWndList {
public:
    CWndList();
    virtual ~CWndList();

    CWndEntry* FindTopEntry(HWND hwnd) const;
    CWndEntry* AddTopEntry(const CWndEntry& entryTemplate);
    CWndEntry* FindChildEntry(CWndEntry* top, HWND hwnd) const;
    CWndEntry* AddChildEntry(CWndEntry* top, const CWndEntry& entryTemplate);
    CWndEntry* GetBucketHead(int bucket) const { return m_pBuckets[bucket]; }
    CWndEntry* GetNextEntry(CWndEntry* entry) const { return entry->m_pNext; }
    void RemoveTopEntry(CWndEntry* entry);
    // Frees the child entries of top for which isGone answers TRUE; returns how many.
    int RemoveChildEntries(CWndEntry* top, BOOL (*isGone)(const CWndEntry* child, void* context), void* context);
    void RemoveAll();

    static int BucketOf(HWND hwnd) { return static_cast<int>(reinterpret_cast<UINT_PTR>(hwnd) & 0xFF); }

private:
    CWndList(const CWndList&) = delete;
    CWndList& operator=(const CWndList&) = delete;
    static const int kChildIndexBits = 12;

    static int ChildIndexOf(const CWndEntry* top, HWND hwnd);
    void DestroyChildren(CWndEntry* top);
    void UnindexChild(CWndEntry* child);

    CWndEntry* m_pBuckets[256];
    CWndEntry* m_pChildIndex[1 << kChildIndexBits];
};
