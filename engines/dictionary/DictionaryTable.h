#pragma once

#include <map>
#include <string>

// Whole captions and their replacements, read from a table file in the ANSI
// code page: one "source<TAB>target" pair a line; blank lines and lines that
// begin with '#' are skipped, as is a line without a tab. The first pair for a
// source wins.
class CDictionaryTable {
public:
    bool Load(const char* path);
    void Clear() { m_entries.clear(); }
    const std::string* Find(const char* source) const;
    int Count() const { return static_cast<int>(m_entries.size()); }

private:
    std::map<std::string, std::string> m_entries;
};
