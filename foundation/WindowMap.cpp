#include "foundation/WindowMap.h"

#include <new>

CWindowMap g_windowMap;

CWindowMap::CWindowMap() : m_pBuckets() {}

CWindowMap::~CWindowMap()
{
    for (Node*& head : m_pBuckets) {
        while (head != nullptr) {
            Node* next = head->next;
            delete head;
            head = next;
        }
    }
}

BOOL CWindowMap::Insert(HWND key, CWindowBase* object)
{
    // A failed binding is reported to the caller, which refuses the window.
    Node* node = new (std::nothrow) Node;
    if (node == nullptr)
        return FALSE;
    Node*& head = m_pBuckets[BucketOf(key)];
    node->key = key;
    node->object = object;
    node->next = head;
    head = node;
    return TRUE;
}

CWindowBase* CWindowMap::Lookup(HWND key) const
{
    for (const Node* node = m_pBuckets[BucketOf(key)]; node != nullptr; node = node->next) {
        if (node->key == key)
            return node->object;
    }
    return nullptr;
}

CWindowBase* CWindowMap::Remove(HWND key)
{
    for (Node** link = &m_pBuckets[BucketOf(key)]; *link != nullptr; link = &(*link)->next) {
        Node* node = *link;
        if (node->key == key) {
            *link = node->next;
            CWindowBase* object = node->object;
            delete node;
            return object;
        }
    }
    return nullptr;
}
