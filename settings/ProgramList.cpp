#include "settings/ProgramList.h"

namespace {

// Security prompts and the logon screen must say what the system says; the
// system's own desktop processes carry the whole session.
const char* const kAlwaysExcluded[] = {"consent.exe", "logonui.exe", "winlogon.exe", "csrss.exe", "dwm.exe",
                                       "lsass.exe"};

BOOL IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

} // namespace

CProgramList::CProgramList() : m_text(64) {}

CProgramList::CProgramList(const char* text) : m_text(64)
{
    Assign(text);
}

BOOL CProgramList::NextName(const char** cursor, const char** start, int* length)
{
    const char* p = *cursor;
    while (*p == ';' || IsBlank(*p))
        ++p;
    if (*p == '\0')
        return FALSE;
    const char* begin = p;
    while (*p != '\0' && *p != ';')
        p = IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0' ? p + 2 : p + 1;
    const char* end = p;
    while (end > begin && IsBlank(end[-1]))
        --end;
    *cursor = p;
    *start = begin;
    *length = static_cast<int>(end - begin);
    return TRUE;
}

BOOL CProgramList::Lists(const char* text, const char* fileName)
{
    const char* cursor = text;
    const char* start;
    int length;
    while (NextName(&cursor, &start, &length)) {
        if (SameName(start, length, fileName))
            return TRUE;
    }
    return FALSE;
}

BOOL CProgramList::SameName(const char* name, int length, const char* fileName)
{
    return lstrlenA(fileName) == length &&
           CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name, length, fileName, length) == CSTR_EQUAL;
}

void CProgramList::Assign(const char* text)
{
    CGString normal(64);
    const char* cursor = text != NULL ? text : "";
    const char* start;
    int length;
    while (NextName(&cursor, &start, &length)) {
        CGString name(CGString(start).Head(length));
        if (Lists(normal.Text(), name.Text()))
            continue;
        if (normal.Length() != 0)
            normal.AppendChar(';');
        normal.Append(name.Text());
    }
    m_text.Assign(normal);
}

int CProgramList::Count() const
{
    int count = 0;
    const char* cursor = m_text.Text();
    const char* start;
    int length;
    while (NextName(&cursor, &start, &length))
        ++count;
    return count;
}

CGString CProgramList::Name(int index) const
{
    const char* cursor = m_text.Text();
    const char* start;
    int length;
    for (int i = 0; NextName(&cursor, &start, &length); ++i) {
        if (i == index)
            return CGString(start).Head(length);
    }
    return CGString(1);
}

BOOL CProgramList::Contains(const char* fileName) const
{
    return Lists(m_text.Text(), fileName);
}

BOOL CProgramList::Add(const char* fileName)
{
    CProgramList one(fileName);
    if (one.Count() != 1 || lstrcmpA(one.Text(), fileName) != 0 || Contains(fileName))
        return FALSE;
    if (m_text.Length() != 0)
        m_text.AppendChar(';');
    m_text.Append(fileName);
    return TRUE;
}

void CProgramList::Remove(int index)
{
    CGString rest(64);
    for (int i = 0, count = Count(); i < count; ++i) {
        if (i == index)
            continue;
        if (rest.Length() != 0)
            rest.AppendChar(';');
        rest.Append(Name(i).Text());
    }
    m_text.Assign(rest);
}

BOOL CProgramList::IsAlwaysExcluded(const char* fileName)
{
    for (const char* name : kAlwaysExcluded) {
        if (SameName(name, lstrlenA(name), fileName))
            return TRUE;
    }
    return FALSE;
}

CGString CProgramList::WithAlwaysExcluded() const
{
    CGString text(256);
    for (const char* name : kAlwaysExcluded) {
        text.Append(name);
        text.AppendChar(';');
    }
    text.Append(m_text.Text());
    return text;
}
