#include "DictionaryTable.h"

#include <windows.h>

#include <algorithm>

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

// Read whole before anything is replaced, sharing the file with whoever holds
// it open, so that an editor saving it, or a scanner reading it, costs no
// entries: a table that cannot be read leaves the one read before.
bool CDictionaryTable::Load(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string content;
    char chunk[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof(chunk), &read, NULL) != FALSE) && read > 0)
        content.append(chunk, read);
    CloseHandle(file);
    if (!ok)
        return false;
    CDictionaryTable table;
    table.ReadLines(content);
    table.Index();
    std::swap(*this, table);
    return true;
}

void CDictionaryTable::Clear()
{
    m_entries.clear();
    m_folded.clear();
    m_patterns.clear();
    m_grammar.clear();
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
    std::vector<std::string> fields;
    for (std::string::size_type start = 0;;) {
        std::string::size_type tab = ansi.find('\t', start);
        fields.push_back(ansi.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    int order = static_cast<int>(m_entries.size() + m_grammar.size());
    if (fields.size() == 3 || fields.size() == 4)
        return AddGrammarLine(fields, order);
    if (fields.size() != 2)
        return false;
    const std::string& source = fields[0];
    const std::string& target = fields[1];
    if (source.empty() || target.empty() || source.size() > kMaxSide || target.size() > kMaxSide)
        return false;
    std::string::size_type wildcard = FindWildcard(source);
    if (wildcard != std::string::npos && FindWildcard(target) != std::string::npos)
        m_patterns.push_back(
            Pattern{Lower(source.substr(0, wildcard)), Lower(source.substr(wildcard + 1)), target, order});
    m_entries.push_back(Entry{source, target, order});
    return true;
}

// Only a verb ending may have an empty target: the check-box form's ending
// drops to nothing in the noun form of a verb.
bool CDictionaryTable::AddGrammarLine(const std::vector<std::string>& fields, int order)
{
    const std::string& kind = fields[2];
    if (fields[0].empty() || kind.empty() || kind.find(' ') != std::string::npos || fields[0].size() > kMaxSide ||
        fields[1].size() > kMaxSide || (fields[1].empty() && kind[0] != ':'))
        return false;
    m_grammar.push_back(GrammarLine{fields[0], fields[1], kind, fields.size() == 4 ? fields[3] : std::string(), order});
    if (kind == "-" && fields[1].size() > 0 && fields.size() == 3)
        m_entries.push_back(Entry{fields[0], fields[1], order});
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
        // The head is the text's first *cut bytes, compared in place: a lookup allocates nothing.
        std::string::size_type length = *cut;
        std::vector<Pattern>::const_iterator p = std::lower_bound(
            m_patterns.begin(), m_patterns.end(), length,
            [&](const Pattern& a, std::string::size_type) { return lower.compare(0, length, a.head) > 0; });
        for (; p != m_patterns.end() && lower.compare(0, length, p->head) == 0; ++p) {
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
