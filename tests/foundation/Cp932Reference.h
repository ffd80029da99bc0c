#pragma once

#include <algorithm>
#include <string>
#include <vector>

// A plain model of code page 932 text, built from the code page's byte ranges rather than from the system's tables,
// against which the string and the path functions are checked. Texts hold no zero byte.
namespace cp932 {

inline bool IsLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

struct Char {
    int offset;
    int size;
    unsigned unit;
};

// The characters of text from byte start on. A lead byte that is the last byte has no trail and ends the text.
inline std::vector<Char> Split(const std::string& text, int start = 0)
{
    std::vector<Char> chars;
    const int length = static_cast<int>(text.size());
    for (int i = start < 0 ? 0 : start; i < length;) {
        unsigned char b = text[i];
        if (!IsLead(b)) {
            chars.push_back({i, 1, b});
            ++i;
        } else if (i + 1 < length) {
            chars.push_back({i, 2, static_cast<unsigned>(b << 8 | static_cast<unsigned char>(text[i + 1]))});
            i += 2;
        } else {
            break;
        }
    }
    return chars;
}

inline int FindFirst(const std::string& text, char ch, int start)
{
    if (start >= static_cast<int>(text.size()))
        return -1;
    for (const Char& c : Split(text, start))
        if (c.unit == static_cast<unsigned char>(ch))
            return c.offset;
    return -1;
}

inline int FindLast(const std::string& text, char ch)
{
    int found = -1;
    for (const Char& c : Split(text))
        if (c.unit == static_cast<unsigned char>(ch))
            found = c.offset;
    return found;
}

// The letters that the code page holds in both cases: ASCII, full-width Latin, Greek, Cyrillic (whose small
// letters skip 0x847F), and the Roman numerals one to ten, whose capitals have a second code in the IBM rows.
struct CaseRange {
    unsigned upperFirst;
    unsigned upperLast;
    unsigned lowerFirst;
};
const CaseRange kCaseRanges[] = {
    {'A', 'Z', 'a'},          {0x8260, 0x8279, 0x8281}, {0x839F, 0x83B6, 0x83BF},
    {0x8440, 0x844E, 0x8470}, {0x844F, 0x8460, 0x8480}, {0x8754, 0x875D, 0xFA40},
    {0xFA4A, 0xFA53, 0xFA40},
};

// The rows where the code page gives some characters a second code: NEC's row 13 and the two IBM extension sets.
inline bool InDuplicatedRows(unsigned unit)
{
    unsigned lead = unit >> 8;
    return lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA;
}

inline unsigned Lower(unsigned unit)
{
    for (const CaseRange& r : kCaseRanges)
        if (unit >= r.upperFirst && unit <= r.upperLast)
            return r.lowerFirst + (unit - r.upperFirst);
    return unit;
}

inline unsigned SwapCase(unsigned unit)
{
    for (const CaseRange& r : kCaseRanges) {
        unsigned count = r.upperLast - r.upperFirst;
        if (unit >= r.upperFirst && unit <= r.upperLast)
            return r.lowerFirst + (unit - r.upperFirst);
        if (unit >= r.lowerFirst && unit <= r.lowerFirst + count)
            return r.upperFirst + (unit - r.lowerFirst);
    }
    return unit;
}

// Sign of the comparison unit by unit; the shorter text, ending in the unit 0, orders first.
inline int Compare(const std::string& left, const std::string& right, bool ignoreCase)
{
    std::vector<Char> a = Split(left), b = Split(right);
    for (size_t i = 0;; ++i) {
        unsigned x = i < a.size() ? a[i].unit : 0, y = i < b.size() ? b[i].unit : 0;
        if (ignoreCase) {
            x = Lower(x);
            y = Lower(y);
        }
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

inline bool EndsWithSeparator(const std::string& path)
{
    return !path.empty() && FindLast(path, '\\') == static_cast<int>(path.size()) - 1;
}

inline std::string WithTrailingSeparator(const std::string& path)
{
    return path.empty() || EndsWithSeparator(path) ? path : path + '\\';
}

inline std::string JoinPath(const std::string& folder, const std::string& name)
{
    return WithTrailingSeparator(folder) + name;
}

inline bool IsRootPath(const std::string& path)
{
    int separator = FindFirst(path, '\\', 0);
    return separator == 0 || (path.size() == 3 && FindFirst(path, ':', 0) == 1 && separator == 2);
}

inline std::string WithoutTrailingSeparator(const std::string& path)
{
    return !IsRootPath(path) && EndsWithSeparator(path) ? path.substr(0, path.size() - 1) : path;
}

inline std::string FileNamePart(const std::string& path)
{
    std::string trimmed = WithoutTrailingSeparator(path);
    int separator = FindLast(trimmed, '\\');
    return separator < 0 ? trimmed : trimmed.substr(separator + 1);
}

inline std::string DirectoryPart(const std::string& path)
{
    int end = std::max(FindLast(path, '\\'), FindLast(path, ':'));
    return end < 0 ? std::string() : WithoutTrailingSeparator(path.substr(0, end + 1));
}

} // namespace cp932
