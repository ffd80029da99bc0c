#include "conversion/TextRecord.h"

CTextRecord::CTextRecord() : m_text(16), m_original(16), m_bWritten(FALSE) {}

void CTextRecord::Note(const char* shown)
{
    m_text.Assign(shown);
    m_bWritten = FALSE;
}

void CTextRecord::Written(const char* source, const char* now)
{
    m_original.Assign(source);
    m_text.Assign(now);
    m_bWritten = TRUE;
}

void CTextRecord::Restored()
{
    m_text.Assign(m_original);
}
