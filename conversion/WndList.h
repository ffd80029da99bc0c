#pragma once

#include "conversion/WndEntry.h"

// Top-level entries in 256 doubly linked chains keyed by the handle's low
// byte; each top-level entry owns a singly linked list of child entries.
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
    void RemoveAll();

    static int BucketOf(HWND hwnd) { return static_cast<int>(reinterpret_cast<UINT_PTR>(hwnd) & 0xFF); }

private:
    CWndList(const CWndList&) = delete;
    CWndList& operator=(const CWndList&) = delete;
    static void DestroyChildren(CWndEntry* top);

    CWndEntry* m_pBuckets[256];
};
