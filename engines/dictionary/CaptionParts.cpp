#include "CaptionParts.h"

#include <windows.h>

namespace {

bool IsLead(char c)
{
    return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
}

// Whether text ends in suffix at a character boundary, so that the trail byte
// of a double-byte character is never taken for a colon or a dot.
bool EndsOnBoundary(const std::string& text, const std::string& suffix)
{
    if (suffix.size() > text.size() || text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    std::string::size_type split = text.size() - suffix.size();
    std::string::size_type i = 0;
    while (i < split)
        i += IsLead(text[i]) && i + 1 < text.size() ? 2 : 1;
    return i == split;
}

// A single '&' marks a mnemonic; "&&" stands for an ampersand.
std::string::size_type FindMnemonic(const std::string& text)
{
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                ++i;
            else
                return i;
        } else if (IsLead(text[i])) {
            ++i;
        }
    }
    return std::string::npos;
}

bool HasDoubleByte(const std::string& text)
{
    for (char c : text) {
        if (IsLead(c))
            return true;
    }
    return false;
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Longer arrows first, so that "->" is not taken for a ">" after a dash.
const char* const kHeads[] = {"<<", "<--", "<-", "<"};
const char* const kTails[] = {">>", "-->", "->", ">", "...", "\x81\x63", ":", "\x81\x46"};

} // namespace

CCaptionParts::CCaptionParts(const std::string& caption) : m_bare(caption)
{
    // Decorations are taken from the outside in until none is left, so that
    // "Look &in: " and "Details >>" come apart alike.
    for (bool taken = true; taken;) {
        TakeBlanks();
        taken = false;
        for (const char* head : kHeads)
            taken = taken || TakeHead(head);
        for (const char* tail : kTails)
            taken = taken || TakeTail(tail);
    }
    TakeMnemonic();
}

bool CCaptionParts::TakeHead(const char* decoration)
{
    std::string::size_type length = lstrlenA(decoration);
    if (m_bare.size() <= length || m_bare.compare(0, length, decoration) != 0)
        return false;
    m_head += m_bare.substr(0, length);
    m_bare.erase(0, length);
    return true;
}

bool CCaptionParts::TakeTail(const char* decoration)
{
    if (m_bare.size() <= static_cast<std::string::size_type>(lstrlenA(decoration)) ||
        !EndsOnBoundary(m_bare, decoration))
        return false;
    std::string::size_type split = m_bare.size() - lstrlenA(decoration);
    m_tail.insert(0, m_bare.substr(split));
    m_bare.erase(split);
    return true;
}

void CCaptionParts::TakeBlanks()
{
    std::string::size_type first = m_bare.find_first_not_of(' ');
    if (first == std::string::npos)
        return;
    m_head += m_bare.substr(0, first);
    std::string::size_type last = m_bare.find_last_not_of(' ');
    m_tail.insert(0, m_bare.substr(last + 1));
    m_bare = m_bare.substr(first, last + 1 - first);
}

void CCaptionParts::TakeMnemonic()
{
    std::string::size_type mark = FindMnemonic(m_bare);
    if (mark == std::string::npos)
        return;
    if (mark + 1 < m_bare.size() && !IsLead(m_bare[mark + 1]) && m_bare[mark + 1] != ' ')
        m_chMnemonic = Upper(m_bare[mark + 1]);
    m_bare.erase(mark, 1);
}

std::string CCaptionParts::Rebuild(const std::string& translation) const
{
    std::string words = translation;
    if (m_chMnemonic != '\0' && FindMnemonic(words) == std::string::npos) {
        // A translation all in single-byte letters ("OK") keeps the mnemonic
        // on its own letter, as the English did.
        std::string::size_type letter = std::string::npos;
        if (!HasDoubleByte(words)) {
            for (std::string::size_type i = 0; i < words.size() && letter == std::string::npos; ++i)
                letter = Upper(words[i]) == m_chMnemonic ? i : std::string::npos;
        }
        if (letter != std::string::npos)
            words.insert(letter, 1, '&');
        else
            words += std::string("(&") + m_chMnemonic + ")";
    }
    return m_head + words + m_tail;
}
