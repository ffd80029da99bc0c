#pragma once

#include <string>
#include <vector>

// The pairs of one table file: "source<TAB>target" a line, in code page 932 or
// in UTF-8 with a byte-order mark, lines ending in CRLF or LF. Empty lines and
// lines that begin with '#' are comments. A line without a tab, with an empty
// side, with a side over 255 bytes or with bytes its encoding does not allow is
// skipped and counted. The first pair for a source wins. A pair with one '*'
// on each side is also a pattern: the '*' stands for any text, a program's
// name say, that the target takes over as it is.
//
// A line with a third field, "source<TAB>target<TAB>kind[<TAB>context]", is
// an entry of the grammar (see CCaptionGrammar): a word or a rule when kind is
// a part of speech, a caption ("-") or a verb ending (":form", whose target may
// be empty). The context, words separated by blanks, says where the entry
// applies; such lines are not whole-caption pairs, except that a "-" line is.
class CDictionaryTable {
public:
    struct GrammarLine {
        std::string source;
        std::string target;
        std::string kind;
        std::string context;
        int line;
    };

    // False when the file cannot be read; the table is then left as it was.
    bool Load(const char* path);
    void Clear();

    const std::string* Find(const std::string& source) const;
    // The same, ignoring the case of ASCII letters and how blanks run.
    const std::string* FindFolded(const std::string& source) const;
    // The target of the most specific pattern that matches the caption, folded
    // likewise, with the caption's own words in place of its '*'.
    bool FindPattern(const std::string& caption, std::string& result) const;

    const std::vector<GrammarLine>& Grammar() const { return m_grammar; }

    int Count() const { return static_cast<int>(m_entries.size() + m_grammar.size()); }
    int Skipped() const { return m_nSkipped; }

    // Lower-case ASCII letters, each run of blanks or line breaks one space,
    // none at either end.
    static std::string Folded(const std::string& text);
    // Each run of blanks or line breaks one space, none at either end.
    static std::string Collapsed(const std::string& text);

private:
    struct Entry {
        std::string source;
        std::string target;
        int line;
    };
    struct FoldedKey {
        std::string key;
        int line;
        int index; // into m_entries
    };

    struct Pattern {
        std::string head; // lower case
        std::string tail; // lower case
        std::string target;
        int line;
    };

    void ReadLines(const std::string& content);
    bool AddLine(std::string line, bool utf8);
    bool AddGrammarLine(const std::vector<std::string>& fields, int order);
    void Index();

    std::vector<Entry> m_entries; // by source
    std::vector<FoldedKey> m_folded;
    std::vector<Pattern> m_patterns; // by head
    std::vector<GrammarLine> m_grammar; // in the file's order
    int m_nSkipped = 0;
};
