#pragma once

#include <string>
#include <unordered_set>

// The file of captions no table knew, "caption<TAB>" a line, ready to be given
// a translation and moved into the user's table. Each caption is written once
// across runs: the captions already in the file are read at start.
class CUntranslatedLog {
public:
    void Open(const std::string& path, const std::string& header);
    void Close() { m_seen.clear(); }
    void Add(const std::string& caption);
    const std::string& Path() const { return m_path; }

private:
    void Append(const std::string& text) const;

    std::string m_path;
    std::string m_header; // comment lines that start a new file
    std::unordered_set<std::string> m_seen;
};
