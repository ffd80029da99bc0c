#include "conversion/ItemRecords.h"

#include <new>

namespace {

// How long a window that did not answer is left alone.
const DWORD kQuietTime = 5000;

} // namespace

CItemRecords::CItemRecords(int kind)
    : m_nKind(kind), m_nCount(0), m_pItems(NULL), m_nQuietSince(0), m_bQuiet(FALSE)
{
}

CItemRecords::~CItemRecords()
{
    Forget();
    delete[] m_pItems;
}

void CItemRecords::Forget()
{
    for (int i = 0; i < m_nCount; ++i)
        delete m_pItems[i];
    m_nCount = 0;
}

CTextRecord* CItemRecords::At(int index)
{
    if (index < 0 || index >= kMaxItems)
        return NULL;
    if (m_pItems == NULL) {
        m_pItems = new (std::nothrow) CTextRecord*[kMaxItems];
        if (m_pItems == NULL)
            return NULL;
    }
    while (m_nCount <= index) {
        m_pItems[m_nCount] = new (std::nothrow) CTextRecord();
        if (m_pItems[m_nCount] == NULL)
            return NULL;
        ++m_nCount;
    }
    return m_pItems[index];
}

BOOL CItemRecords::IsWrittenText(const char* shown) const
{
    for (int i = 0; i < m_nCount; ++i) {
        if (m_pItems[i]->ShowsConversion(shown))
            return TRUE;
    }
    return FALSE;
}

BOOL CItemRecords::IsQuiet() const
{
    return m_bQuiet && GetTickCount() - m_nQuietSince < kQuietTime;
}

void CItemRecords::MarkQuiet()
{
    m_bQuiet = TRUE;
    m_nQuietSince = GetTickCount();
}
