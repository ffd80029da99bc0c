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
    int wideLength = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, line.data(), static_cast<int>(line.size()),
                                         NULL, 0);
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
    m_entries.push_back(Entry{ansi.substr(0, tab), ansi.substr(tab + 1), static_cast<int>(m_entries.size())});
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

std::string CDictionaryTable::Folded(const std::string& text)
{
    std::string folded;
    folded.reserve(text.size());
    bool blank = false;
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (IsBlank(c)) {
            blank = !folded.empty();
            continue;
        }
        if (blank)
            folded += ' ';
        blank = false;
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < text.size()) {
            folded += c;
            folded += text[++i];
        } else {
            folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return folded;
}
