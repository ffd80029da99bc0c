#include "foundation/GString.h"

#include <limits.h>
#include <string.h>

#include "app/AppBase.h"
#include "app/QelException.h"

namespace {

// lstrlenA gives 0 for a null pointer too, but only by catching the access fault it raises.
int TextLength(const char* text)
{
    return text != NULL ? lstrlenA(text) : 0;
}

// Bytes taken by the character at text[i]: 2 for a lead byte with its trail, 1 for a single byte, 0 at the end.
// A lead byte whose trail would be the terminator, or lie at end, ends the text: no walk steps over the zero.
int CharSize(const BYTE* text, int i, int end)
{
    if (i >= end || text[i] == 0)
        return 0;
    if (!IsDBCSLeadByte(text[i]))
        return 1;
    return (i + 1 < end && text[i + 1] != 0) ? 2 : 0;
}

// A character as one number, lead byte high, so that double-byte characters order as units.
unsigned CharUnit(const BYTE* text, int i, int size)
{
    if (size == 2)
        return (text[i] << 8) | text[i + 1];
    return size == 1 ? text[i] : 0;
}

// The single-byte letters of the double-byte code pages are ASCII; a double-byte letter takes its lower case through
// Unicode, and keeps its own code when that lower case has none in the code page.
unsigned LowerUnit(unsigned unit)
{
    if (unit < 0x100)
        return (unit >= 'A' && unit <= 'Z') ? unit + ('a' - 'A') : unit;
    const char bytes[2] = {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    WCHAR wide;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, 2, &wide, 1) != 1)
        return unit;
    WCHAR original = wide;
    CharLowerBuffW(&wide, 1);
    // A character without case stays where it is: the way back from Unicode
    // would put the code page's second codes (NEC and IBM rows) on their first.
    if (wide == original)
        return unit;
    char lower[2];
    BOOL lossy = FALSE;
    if (WideCharToMultiByte(CP_ACP, 0, &wide, 1, lower, 2, NULL, &lossy) != 2 || lossy)
        return unit;
    return (static_cast<BYTE>(lower[0]) << 8) | static_cast<BYTE>(lower[1]);
}

} // namespace

CGString::CGString(int capacity)
{
    Allocate(capacity < 1 ? 1 : capacity);
}

CGString::CGString(const char* text, int capacity)
{
    int textLength = TextLength(text);
    if (capacity < 1)
        capacity = textLength + 1;
    Allocate(capacity);
    m_nLength = textLength < capacity - 1 ? textLength : capacity - 1;
    if (m_nLength > 0)
        memcpy(m_pText, text, m_nLength);
}

CGString::CGString(const CGString& other)
{
    Allocate(other.m_nLength + 1);
    memcpy(m_pText, other.m_pText, other.m_nLength + 1);
    m_nLength = other.m_nLength;
}

CGString::~CGString()
{
    if (m_pText != NULL) {
        HGLOBAL handle = GlobalHandle(m_pText);
        GlobalUnlock(handle);
        GlobalFree(handle);
    }
}

void CGString::Allocate(int capacity)
{
    HGLOBAL handle = GlobalAlloc(GHND, capacity);
    if (handle == NULL)
        ThrowMemoryException();
    m_pText = static_cast<char*>(GlobalLock(handle));
    if (m_pText == NULL) {
        GlobalFree(handle);
        ThrowMemoryException();
    }
    m_nCapacity = capacity;
    m_nLength = 0;
}

void CGString::Reserve(int bytes)
{
    if (bytes <= m_nCapacity)
        return;
    HGLOBAL handle = GlobalHandle(m_pText);
    GlobalUnlock(handle);
    HGLOBAL resized = GlobalReAlloc(handle, bytes, GHND);
    // A failed resize leaves the old block as it was: it is locked again so that the string keeps its text.
    char* text = static_cast<char*>(GlobalLock(resized != NULL ? resized : handle));
    if (text != NULL)
        m_pText = text;
    if (resized == NULL || text == NULL)
        ThrowMemoryException();
    m_nCapacity = bytes;
}

char* CGString::Buffer(int minCapacity)
{
    if (minCapacity >= 0)
        Reserve(minCapacity);
    return m_pText;
}

int CGString::SyncLength()
{
    const char* zero = static_cast<const char*>(memchr(m_pText, 0, m_nCapacity));
    // A caller that filled the whole block left no terminator: its last byte becomes one.
    if (zero == NULL) {
        zero = m_pText + m_nCapacity - 1;
        m_pText[m_nCapacity - 1] = '\0';
    }
    m_nLength = static_cast<int>(zero - m_pText);
    return m_nLength;
}

CGString& CGString::Assign(const CGString& other)
{
    if (&other == this)
        return *this;
    Reserve(other.m_nLength + 1);
    memcpy(m_pText, other.m_pText, other.m_nLength + 1);
    m_nLength = other.m_nLength;
    return *this;
}

CGString& CGString::Assign(const char* text)
{
    int n = TextLength(text);
    // Text inside this string's own block fits it already, so it is not moved by the reserve.
    Reserve(n + 1);
    if (n > 0)
        memmove(m_pText, text, n);
    m_pText[n] = '\0';
    m_nLength = n;
    return *this;
}

CGString& CGString::Append(const char* text)
{
    int n = TextLength(text);
    // Text taken from this string's own block must be found again after the block has moved.
    bool own = text >= m_pText && text < m_pText + m_nCapacity;
    int offset = own ? static_cast<int>(text - m_pText) : 0;
    Reserve(m_nLength + n + 1);
    if (n > 0)
        memmove(m_pText + m_nLength, own ? m_pText + offset : text, n);
    m_nLength += n;
    m_pText[m_nLength] = '\0';
    return *this;
}

CGString& CGString::AppendChar(char ch)
{
    Reserve(m_nLength + 2);
    m_pText[m_nLength++] = ch;
    m_pText[m_nLength] = '\0';
    return *this;
}

CGString CGString::Concat(const CGString& left, const char* right)
{
    CGString result(left.m_pText, left.m_nLength + TextLength(right) + 1);
    result.Append(right);
    return result;
}

void CGString::Clear()
{
    Reserve(1);
    m_pText[0] = '\0';
    m_nLength = 0;
}

int CGString::Compare(const char* other, BOOL ignoreCase) const
{
    const BYTE* left = reinterpret_cast<const BYTE*>(m_pText);
    const BYTE* right = reinterpret_cast<const BYTE*>(other != NULL ? other : "");
    for (int i = 0, j = 0;;) {
        int leftSize = CharSize(left, i, m_nLength);
        int rightSize = CharSize(right, j, INT_MAX);
        unsigned leftUnit = CharUnit(left, i, leftSize);
        unsigned rightUnit = CharUnit(right, j, rightSize);
        if (ignoreCase) {
            leftUnit = LowerUnit(leftUnit);
            rightUnit = LowerUnit(rightUnit);
        }
        if (leftUnit != rightUnit)
            return leftUnit < rightUnit ? -1 : 1;
        if (leftUnit == 0)
            return 0;
        i += leftSize;
        j += rightSize;
    }
}

int CGString::FindChar(char ch, int start) const
{
    if (start >= m_nLength)
        return -1;
    const BYTE* text = reinterpret_cast<const BYTE*>(m_pText);
    for (int i = start > 0 ? start : 0;;) {
        int size = CharSize(text, i, m_nLength);
        if (size == 0)
            return -1;
        if (size == 1 && text[i] == static_cast<BYTE>(ch))
            return i;
        i += size;
    }
}

int CGString::FindLastChar(char ch) const
{
    const BYTE* text = reinterpret_cast<const BYTE*>(m_pText);
    int found = -1;
    int size;
    for (int i = 0; (size = CharSize(text, i, m_nLength)) != 0; i += size) {
        if (size == 1 && text[i] == static_cast<BYTE>(ch))
            found = i;
    }
    return found;
}

CGString CGString::Head(int count) const
{
    if (m_nLength <= count)
        return *this;
    return CGString(m_pText, count > 0 ? count + 1 : 1);
}

CGString CGString::CharHead(int count) const
{
    if (m_nLength <= count)
        return *this;
    const BYTE* text = reinterpret_cast<const BYTE*>(m_pText);
    int end = 0;
    int size;
    while ((size = CharSize(text, end, m_nLength)) != 0 && end + size <= count)
        end += size;
    return Head(end);
}

CGString CGString::Sub(int start, int count) const
{
    if (start >= m_nLength)
        return CGString(1);
    if (start < 0)
        start = 0;
    int rest = m_nLength - start;
    if (count < 0 || count > rest)
        count = rest;
    return CGString(m_pText + start, count + 1);
}

BOOL CGString::LoadText(UINT id, HINSTANCE instance)
{
    // A one-byte buffer takes no character, and the load would report every text as missing.
    Reserve(2);
    for (;;) {
        int n = LoadStringA(instance, id, m_pText, m_nCapacity);
        if (n == 0)
            return FALSE;
        // A text that filled the block may have been cut to fit it.
        if (n != m_nCapacity - 1) {
            m_nLength = lstrlenA(m_pText);
            return TRUE;
        }
        Reserve(m_nCapacity * 2);
    }
}

BOOL CGString::LoadText(UINT id)
{
    return LoadText(id, CAppBase::s_pRunningApp->m_hInstance);
}
