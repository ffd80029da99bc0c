#include "DictionaryTable.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

const int kMaxSide = 255;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The line in the ANSI code page; false when a byte is not valid in the line's
// own encoding or the ANSI code page has no character for it.
bool ToAnsi(const std::string& line, bool utf8, std::string& ansi)
{
    UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
    int wideLength =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, line.data(), static_cast<int>(line.size()), NULL, 0);
    if (wideLength <= 0)
        return false;
    if (!utf8) {
        ansi = line;
        return true;
    }
    std::wstring wide(wideLength, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), &wide[0], wideLength);
    BOOL lossy = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, NULL, 0, NULL, &lossy);
    if (length <= 0 || lossy)
        return false;
    ansi.assign(length, '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &ansi[0], length, NULL, &lossy);
    return !lossy;
}

std::string Lower(const std::string& text)
{
    std::string lower = text;
    for (std::string::size_type i = 0; i < lower.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(lower[i])))
            ++i;
        else if (lower[i] >= 'A' && lower[i] <= 'Z')
            lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
    }
    return lower;
}

// Where a '*' stands alone in text (a wildcard), or npos. Trail bytes of
// double-byte characters are never taken for one.
std::string::size_type FindWildcard(const std::string& text)
{
    std::string::size_type found = std::string::npos;
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(text[i]))) {
            ++i;
        } else if (text[i] == '*') {
            if (found != std::string::npos)
                return std::string::npos;
            found = i;
        }
    }
    return found;
}

} // namespace

bool CDictionaryTable::Load(const char* path)
{
    Clear();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ReadLines(content);
    Index();
    return true;
}

void CDictionaryTable::Clear()
{
    m_entries.clear();
    m_folded.clear();
    m_patterns.clear();
    m_nSkipped = 0;
}

void CDictionaryTable::ReadLines(const std::string& content)
{
    static const char bom[] = "\xEF\xBB\xBF";
    bool utf8 = content.compare(0, 3, bom) == 0;
    std::string::size_type start = utf8 ? 3 : 0;
    while (start < content.size()) {
        std::string::size_type end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] != '#' && !AddLine(line, utf8))
            ++m_nSkipped;
        start = end + 1;
    }
}

bool CDictionaryTable::AddLine(std::string line, bool utf8)
{
    std::string ansi;
    if (!ToAnsi(line, utf8, ansi))
        return false;
    // Control characters have no place in a caption; a stray one means a damaged line.
    for (char c : ansi) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            return false;
    }
    std::string::size_type tab = ansi.find('\t');
    if (tab == std::string::npos || ansi.find('\t', tab + 1) != std::string::npos)
        return false;
    std::string::size_type targetLength = ansi.size() - tab - 1;
    if (tab == 0 || targetLength == 0 || tab > kMaxSide || targetLength > kMaxSide)
        return false;
    std::string source = ansi.substr(0, tab);
    std::string target = ansi.substr(tab + 1);
    int order = static_cast<int>(m_entries.size());
    std::string::size_type wildcard = FindWildcard(source);
    if (wildcard != std::string::npos && FindWildcard(target) != std::string::npos)
        m_patterns.push_back(
            Pattern{Lower(source.substr(0, wildcard)), Lower(source.substr(wildcard + 1)), target, order});
    m_entries.push_back(Entry{source, target, order});
    return true;
}

// Sorted for binary search; of pairs with the same source the earliest stays.
void CDictionaryTable::Index()
{
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry& a, const Entry& b) { return a.source < b.source; });
    m_entries.erase(std::unique(m_entries.begin(), m_entries.end(),
                                [](const Entry& a, const Entry& b) { return a.source == b.source; }),
                    m_entries.end());
    m_folded.reserve(m_entries.size());
    for (std::vector<Entry>::size_type i = 0; i < m_entries.size(); ++i)
        m_folded.push_back(FoldedKey{Folded(m_entries[i].source), m_entries[i].line, static_cast<int>(i)});
    std::sort(m_folded.begin(), m_folded.end(), [](const FoldedKey& a, const FoldedKey& b) {
        return a.key < b.key || (a.key == b.key && a.line < b.line);
    });
    std::sort(m_patterns.begin(), m_patterns.end(), [](const Pattern& a, const Pattern& b) {
        return a.head < b.head || (a.head == b.head && a.line < b.line);
    });
}

const std::string* CDictionaryTable::Find(const std::string& source) const
{
    std::vector<Entry>::const_iterator found = std::lower_bound(
        m_entries.begin(), m_entries.end(), source, [](const Entry& a, const std::string& b) { return a.source < b; });
    return found != m_entries.end() && found->source == source ? &found->target : nullptr;
}

const std::string* CDictionaryTable::FindFolded(const std::string& source) const
{
    std::string key = Folded(source);
    std::vector<FoldedKey>::const_iterator found = std::lower_bound(
        m_folded.begin(), m_folded.end(), key, [](const FoldedKey& a, const std::string& b) { return a.key < b; });
    return found != m_folded.end() && found->key == key ? &m_entries[found->index].target : nullptr;
}

// Every head the text begins with is looked up, the longest first, so that a
// lookup costs a binary search per character of the text, however many
// patterns there are.
bool CDictionaryTable::FindPattern(const std::string& caption, std::string& result) const
{
    if (m_patterns.empty())
        return false;
    std::string text = Collapsed(caption);
    std::string lower = Lower(text);
    std::vector<std::string::size_type> cuts(1, 0);
    for (std::string::size_type i = 0; i < lower.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(lower[i])))
            ++i;
        cuts.push_back(i + 1);
    }
    for (std::vector<std::string::size_type>::reverse_iterator cut = cuts.rbegin(); cut != cuts.rend(); ++cut) {
        std::string head = lower.substr(0, *cut);
        std::vector<Pattern>::const_iterator p =
            std::lower_bound(m_patterns.begin(), m_patterns.end(), head,
                             [](const Pattern& a, const std::string& b) { return a.head < b; });
        for (; p != m_patterns.end() && p->head == head; ++p) {
            std::string::size_type rest = lower.size() - *cut;
            if (rest <= p->tail.size() || lower.compare(lower.size() - p->tail.size(), p->tail.size(), p->tail) != 0)
                continue;
            std::string words = text.substr(*cut, rest - p->tail.size());
            if (words.find_first_not_of(' ') == std::string::npos)
                continue;
            result = p->target;
            result.replace(FindWildcard(result), 1, words);
            return true;
        }
    }
    return false;
}

std::string CDictionaryTable::Folded(const std::string& text)
{
    return Lower(Collapsed(text));
}

std::string CDictionaryTable::Collapsed(const std::string& text)
{
    std::string collapsed;
    collapsed.reserve(text.size());
    bool blank = false;
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (IsBlank(c)) {
            blank = !collapsed.empty();
            continue;
        }
        if (blank)
            collapsed += ' ';
        blank = false;
        collapsed += c;
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < text.size())
            collapsed += text[++i];
    }
    return collapsed;
}
