#pragma once

#include <windows.h>

// A zero-terminated byte string in the ANSI code page, held in a movable global
// memory block that stays locked for the string's whole life. Lengths and
// capacities count bytes; comparisons and searches treat double-byte characters
// as units. Every allocation failure raises CQelMemoryException.
class CGString {
public:
    explicit CGString(int capacity);
    CGString(const char* text, int capacity = 0);
    CGString(const CGString& other);
    virtual ~CGString();

    void Reserve(int bytes);
    char* Buffer(int minCapacity);
    int SyncLength();

    const char* Text() const { return m_pText; }
    int Length() const { return m_nLength; }
    int Capacity() const { return m_nCapacity; }

    CGString& Assign(const CGString& other);
    CGString& Assign(const char* text);
    CGString& Append(const char* text);
    CGString& AppendChar(char ch);
    static CGString Concat(const CGString& left, const char* right);
    void Clear();

    int Compare(const char* other, BOOL ignoreCase) const;
    int FindChar(char ch, int start) const;
    int FindLastChar(char ch) const;
    CGString Head(int count) const;
    // The longest head of at most count bytes that splits no double-byte character.
    CGString CharHead(int count) const;
    CGString Sub(int start, int count) const;

    BOOL LoadText(UINT id, HINSTANCE instance);
    BOOL LoadText(UINT id);

private:
    CGString& operator=(const CGString&) = delete;
    void Allocate(int capacity);

    char* m_pText;
    int m_nCapacity;
    int m_nLength;
};
