#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "DictionaryTable.h"
#include "GrammarChart.h"
#include "VerbEndings.h"

class CSenseContext;

// Builds a caption that no table holds whole out of its words. Every entry of
// the grammar has a kind: a part of speech ("n" noun, "a" modifier, "v" verb,
// "vp" verb phrase, "r" adverb, "s" sentence, or any other name a table
// gives), or ":form" for a verb ending. An entry whose source holds slots
// ("{n}", "{vp}") is a rule: "{v} {np}<TAB>{2}...{1}<TAB>vp" reads a verb and a
// noun as a verb phrase; its target names the slots by number, "{1:not}" in
// a form that the ":not" endings make. Any other entry is a word or a set
// phrase. A caption converts when its words, all of them, make one entry of
// any kind but "num" (a number, which every run of digits is); of several
// readings the one of fewest entries wins, then the one whose last rule comes
// first in the tables. An entry with a context is used only where the
// context holds, and then before an entry without one.
class CCaptionGrammar {
public:
    void Clear();
    // Earlier tables win ties; Index after the last.
    void Add(const std::vector<CDictionaryTable::GrammarLine>& lines, int table);
    void Index();

    // An entry with a context that holds for exactly these words.
    bool Sense(const std::vector<std::string>& words, CSenseContext& context, std::string& result) const;
    // The words in Japanese; a verb phrase in its noun form when nounForm
    // (a push button or a menu item names the action; a check box says it).
    // A label's words (the caption ended in a colon) are read as a name
    // rather than as an action where both readings cost the same.
    bool Convert(const std::vector<std::string>& words, bool nounForm, bool label, CSenseContext& context,
                 std::string& result) const;

private:
    struct Element {
        int category; // of a slot, or -1 for a word
        std::string word;
    };
    struct Rule {
        int category;
        std::vector<Element> pattern;
        std::string target;
        std::string context;
        int order;
    };

    int Category(const std::string& name);
    void Fill(CGrammarChart& chart, CSenseContext& context) const;
    void AddWords(CGrammarChart& chart, int start, int end, CSenseContext& context) const;
    void AddParts(CGrammarChart& chart, int at, CSenseContext& context) const;
    void AddVerbForm(CGrammarChart& chart, int at, const char* suffix, const char* form, const char* category) const;
    void AddLexical(CGrammarChart& chart, int start, int end, const std::string& key, bool variant,
                    CSenseContext& context) const;
    struct Candidate {
        int rule;
        unsigned at; // where the caption has the rule's first word, a bit a word; 0 for a rule of slots only
    };

    void Candidates(const std::vector<std::string>& words, std::vector<Candidate>& phrases,
                    std::vector<Candidate>& unary) const;
    void AddPhrases(CGrammarChart& chart, const std::vector<Candidate>& phrases, int start, int end) const;
    void Match(CGrammarChart& chart, const Rule& rule, std::vector<Element>::size_type element, int start, int at,
               int end, std::vector<const CGrammarChart::Item*>& slots) const;
    bool Expand(const CGrammarChart& chart, const Rule& rule, const std::vector<const CGrammarChart::Item*>& slots,
                std::string& text) const;
    bool IsVerbal(int category) const;
    int TopRank(const CGrammarChart::Item& item, int category, bool label) const;

    std::vector<Rule> m_rules;
    std::unordered_map<std::string, std::vector<int>> m_lexicon; // words joined by blanks: rules without slots
    std::unordered_set<std::string> m_firstWords;                // of the entries of several words
    std::vector<int> m_slotsOnly;                                 // rules of slots only, by order
    std::unordered_map<std::string, std::vector<int>> m_anchored; // other rules with slots, by their first word
    std::vector<std::string> m_categories;
    CVerbEndings m_endings;
    mutable std::vector<CGrammarChart::Item> m_chartStorage; // the chart's items, kept for the next caption
    mutable std::string m_chartTexts;                        // and its texts
    int m_nLongest = 0;                                           // words of the longest entry without slots
    int m_nNumber = -1;
};
