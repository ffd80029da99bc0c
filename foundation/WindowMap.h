#pragma once

#include <windows.h>

class CWindowBase;

// Handle-to-object map consulted for every message of every bound window: 256
// fixed chains chosen by bits 1 to 8 of the handle, newest binding first.
class CWindowMap {
public:
    CWindowMap();
    virtual ~CWindowMap();

    BOOL Insert(HWND key, CWindowBase* object);
    CWindowBase* Lookup(HWND key) const;
    CWindowBase* Remove(HWND key);

    static int BucketOf(HWND key) { return static_cast<int>((reinterpret_cast<UINT_PTR>(key) >> 1) & 0xFF); }

private:
    struct Node {
        HWND key;
        CWindowBase* object;
        Node* next;
    };
    Node* m_pBuckets[256];
};

extern CWindowMap g_windowMap;
