#include "CaptionGrammar.h"

#include <windows.h>

#include <algorithm>

#include "CaptionWords.h"
#include "SenseContext.h"

namespace {

// Longer captions are sentences that no rule of captions covers; the chart
// of one grows with the square of its words.
const std::vector<std::string>::size_type kMaxWords = 20;

// A longer label is more often a sentence ("Save files in this format:").
const int kMaxLabelWords = 3;

bool IsLead(char c)
{
    return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
}

std::string Joined(const std::vector<std::string>& words, int start, int end)
{
    std::string key = words[start];
    for (int i = start + 1; i < end; ++i)
        key += ' ' + words[i];
    return key;
}

// Where a reading is the top of a caption: a noun, a phrase or a sentence
// before a bare verb, before anything else.
int Rank(const std::string& category)
{
    if (category == "n" || category == "np" || category == "vp" || category == "s" || category == "-")
        return 0;
    return category == "v" ? 1 : 2;
}

} // namespace


void CCaptionGrammar::Clear()
{
    m_rules.clear();
    m_lexicon.clear();
    m_slotsOnly.clear();
    m_anchored.clear();
    m_firstWords.clear();
    m_categories.clear();
    m_endings.Clear();
    m_nLongest = 0;
    m_nNumber = -1;
}

int CCaptionGrammar::Category(const std::string& name)
{
    std::vector<std::string>::iterator found = std::find(m_categories.begin(), m_categories.end(), name);
    if (found != m_categories.end())
        return static_cast<int>(found - m_categories.begin());
    m_categories.push_back(name);
    return static_cast<int>(m_categories.size()) - 1;
}

// A slot is a word of its own in braces: "{n}". A line whose source has no
// English word at all is no entry of the grammar.
void CCaptionGrammar::Add(const std::vector<CDictionaryTable::GrammarLine>& lines, int table)
{
    m_nNumber = Category("num");
    for (const CDictionaryTable::GrammarLine& line : lines) {
        int order = table * 1000000 + line.line;
        if (line.kind[0] == ':') {
            m_endings.Add(line.kind, line.source, line.target);
            continue;
        }
        Rule rule{Category(line.kind), {}, line.target, line.context, order};
        CCaptionWords parsed(line.source);
        const std::vector<std::string>& words = parsed.Words();
        for (std::vector<std::string>::size_type i = 0; i < words.size(); ++i) {
            if (words[i] == "{" && i + 2 < words.size() && words[i + 2] == "}") {
                rule.pattern.push_back(Element{Category(words[i + 1]), std::string()});
                i += 2;
            } else {
                rule.pattern.push_back(Element{-1, words[i]});
            }
        }
        if (rule.pattern.empty() || rule.pattern.size() > kMaxWords)
            continue;
        m_rules.push_back(rule);
    }
}

void CCaptionGrammar::Index()
{
    std::stable_sort(m_rules.begin(), m_rules.end(), [](const Rule& a, const Rule& b) { return a.order < b.order; });
    for (std::vector<Rule>::size_type i = 0; i < m_rules.size(); ++i) {
        const Rule& rule = m_rules[i];
        bool slots = std::any_of(rule.pattern.begin(), rule.pattern.end(),
                                 [](const Element& e) { return e.category >= 0; });
        if (slots) {
            std::vector<Element>::const_iterator word = std::find_if(
                rule.pattern.begin(), rule.pattern.end(), [](const Element& e) { return e.category < 0; });
            if (word == rule.pattern.end())
                m_slotsOnly.push_back(static_cast<int>(i));
            else
                m_anchored[word->word].push_back(static_cast<int>(i));
            continue;
        }
        std::vector<std::string> words;
        for (const Element& element : rule.pattern)
            words.push_back(element.word);
        m_lexicon[Joined(words, 0, static_cast<int>(words.size()))].push_back(static_cast<int>(i));
        if (words.size() > 1)
            m_firstWords.insert(words[0]);
        m_nLongest = std::max(m_nLongest, static_cast<int>(words.size()));
    }
    m_endings.Index();
}

bool CCaptionGrammar::Sense(const std::vector<std::string>& words, CSenseContext& context, std::string& result) const
{
    if (words.empty())
        return false;
    std::unordered_map<std::string, std::vector<int>>::const_iterator found =
        m_lexicon.find(Joined(words, 0, static_cast<int>(words.size())));
    if (found == m_lexicon.end())
        return false;
    for (int index : found->second) {
        const Rule& rule = m_rules[index];
        if (!rule.context.empty() && context.Holds(rule.context)) {
            result = rule.target;
            return true;
        }
    }
    return false;
}

bool CCaptionGrammar::Convert(const std::vector<std::string>& words, bool nounForm, bool label,
                              CSenseContext& context, std::string& result) const
{
    if (words.empty() || words.size() > kMaxWords || m_rules.empty())
        return false;
    int count = static_cast<int>(words.size());
    CGrammarChart chart(words, static_cast<int>(m_categories.size()), m_chartStorage, m_chartTexts);
    Fill(chart, context);
    int best = -1;
    for (int category = 0; category < static_cast<int>(m_categories.size()); ++category) {
        const CGrammarChart::Item& item = chart.At(0, count, category);
        if (item.cost < 0 || category == m_nNumber || m_categories[category][0] == ':')
            continue;
        if (best < 0)
            best = category;
        const CGrammarChart::Item& other = chart.At(0, count, best);
        int rank = TopRank(item, category, label && count <= kMaxLabelWords);
        int otherRank = TopRank(other, best, label && count <= kMaxLabelWords);
        if (item.cost < other.cost || (item.cost == other.cost && rank < otherRank) ||
            (item.cost == other.cost && rank == otherRank && item.order < other.order))
            best = category;
    }
    if (best < 0)
        return false;
    const CGrammarChart::Item& top = chart.At(0, count, best);
    result = std::string(chart.Text(top));
    // A verb alone names a command, as on a push button; a modifier alone
    // drops what joins it to a noun.
    if ((nounForm && IsVerbal(best)) || top.rank == Rank("v"))
        m_endings.Apply(":stem", result);
    else if (m_categories[best] == "a")
        m_endings.Apply(":alone", result);
    return true;
}

bool CCaptionGrammar::IsVerbal(int category) const
{
    return m_categories[category] == "v" || m_categories[category] == "vp";
}

// A caption that ends in a colon labels a field: a name before an action.
int CCaptionGrammar::TopRank(const CGrammarChart::Item& item, int category, bool label) const
{
    return label && IsVerbal(category) ? std::max(item.rank, Rank("v")) : item.rank;
}

void CCaptionGrammar::Fill(CGrammarChart& chart, CSenseContext& context) const
{
    int count = static_cast<int>(chart.Words().size());
    std::vector<Candidate> phrases, unary;
    Candidates(chart.Words(), phrases, unary);
    for (int length = 1; length <= count; ++length) {
        for (int start = 0; start + length <= count; ++start) {
            AddWords(chart, start, start + length, context);
            AddPhrases(chart, phrases, start, start + length);
            // A rule of one slot may lead to another (a compound's head is a noun, which is a
            // noun phrase), until one pass adds nothing.
            for (int pass = 0; pass < 3; ++pass) {
                int offers = chart.Offers();
                AddPhrases(chart, unary, start, start + length);
                if (chart.Offers() == offers)
                    break;
            }
        }
    }
}

// A hyphenated word that no table lists ("auto-close", "word-level") reads as
// its parts would, one word after the other, through the same rules.
void CCaptionGrammar::AddParts(CGrammarChart& chart, int at, CSenseContext& context) const
{
    const std::string& word = chart.Words()[at];
    if (word.find('-') == std::string::npos || word.find('-') == 0)
        return;
    for (int category = 0; category < static_cast<int>(m_categories.size()); ++category) {
        if (chart.At(at, at + 1, category).cost >= 0)
            return;
    }
    std::vector<std::string> parts;
    for (std::string::size_type start = 0; start <= word.size();) {
        std::string::size_type dash = word.find('-', start);
        if (dash == std::string::npos)
            dash = word.size();
        if (dash == start)
            return;
        parts.push_back(word.substr(start, dash - start));
        start = dash + 1;
    }
    std::vector<CGrammarChart::Item> storage;
    std::string texts;
    CGrammarChart inner(parts, static_cast<int>(m_categories.size()), storage, texts);
    Fill(inner, context);
    for (int category = 0; category < static_cast<int>(m_categories.size()); ++category) {
        const CGrammarChart::Item& item = inner.At(0, static_cast<int>(parts.size()), category);
        if (item.cost >= 0)
            chart.Offer(at, at + 1, category, item.cost + 1, item.order, item.rank, inner.Text(item));
    }
}

// The entries for the words as they stand, else for the plain form of the
// last of them (a plural, a British spelling), which costs a little more so
// that an entry of the form itself wins.
void CCaptionGrammar::AddWords(CGrammarChart& chart, int start, int end, CSenseContext& context) const
{
    if (end - start > std::max(m_nLongest, 1) || (end - start > 1 && m_firstWords.count(chart.Words()[start]) == 0))
        return;
    const std::vector<std::string>& words = chart.Words();
    if (end - start == 1 && CCaptionWords::IsNumber(words[start]))
        chart.Offer(start, end, m_nNumber, 1, 0, 2, words[start]);
    // Listed as a noun or not, an -ing word may be its verb.
    if (end - start == 1)
        AddVerbForm(chart, start, "ing", nullptr, "ving");
    std::string key = Joined(words, start, end);
    if (m_lexicon.count(key) != 0) {
        AddLexical(chart, start, end, key, false, context);
        return;
    }
    std::string head = end - start > 1 ? Joined(words, start, end - 1) + ' ' : std::string();
    for (const std::string& form : chart.Variants(end - 1)) {
        if (m_lexicon.count(head + form) != 0) {
            AddLexical(chart, start, end, head + form, true, context);
            return;
        }
    }
    if (end - start == 1) {
        AddVerbForm(chart, start, "ing", ":ing", "n");
        AddVerbForm(chart, start, "ed", ":ed", "a");
        AddParts(chart, start, context);
    }
}

// "Logging" as the noun of the verb "log", "encrypted" as a modifier made of
// "encrypt", where the table has the form's ending for the verb's reading;
// without a form, "closing" as the verb itself (kind "ving": "before closing").
void CCaptionGrammar::AddVerbForm(CGrammarChart& chart, int at, const char* suffix, const char* form,
                                  const char* category) const
{
    std::vector<std::string>::const_iterator target = std::find(m_categories.begin(), m_categories.end(), category);
    if (target == m_categories.end())
        return;
    for (const std::string& base : CCaptionWords::Bases(chart.Words()[at], suffix)) {
        std::unordered_map<std::string, std::vector<int>>::const_iterator found = m_lexicon.find(base);
        if (found == m_lexicon.end())
            continue;
        for (int index : found->second) {
            const Rule& rule = m_rules[index];
            std::string text = rule.target;
            if (m_categories[rule.category] == "v" && rule.context.empty() &&
                (form == nullptr || m_endings.Apply(form, text))) {
                int category = static_cast<int>(target - m_categories.begin());
                chart.Offer(at, at + 1, category, 2, rule.order, Rank(m_categories[category]), text);
                return;
            }
        }
    }
}

void CCaptionGrammar::AddLexical(CGrammarChart& chart, int start, int end, const std::string& key, bool variant,
                                 CSenseContext& context) const
{
    for (int index : m_lexicon.find(key)->second) {
        const Rule& rule = m_rules[index];
        int cost = 1;
        // A plural or a spelling is a noun's; "marks" is not the verb "mark".
        if (variant && m_categories[rule.category] != "n" && m_categories[rule.category] != "h")
            continue;
        if (!rule.context.empty()) {
            if (!context.Holds(rule.context))
                continue;
            cost = 0;
        }
        chart.Offer(start, end, rule.category, cost, rule.order, Rank(m_categories[rule.category]), rule.target);
    }
}

// The rules worth trying on the words, in the tables' order: those of slots
// only, and those whose words the caption holds, all of them (found through
// the first), apart from the rules of one slot.
void CCaptionGrammar::Candidates(const std::vector<std::string>& words, std::vector<Candidate>& phrases,
                                 std::vector<Candidate>& unary) const
{
    std::vector<Candidate> found;
    for (int index : m_slotsOnly)
        found.push_back(Candidate{index, 0});
    for (std::vector<std::string>::size_type i = 0; i < words.size(); ++i) {
        std::unordered_map<std::string, std::vector<int>>::const_iterator anchored = m_anchored.find(words[i]);
        if (anchored == m_anchored.end() || std::find(words.begin(), words.begin() + i, words[i]) != words.begin() + i)
            continue;
        unsigned at = 0;
        for (std::vector<std::string>::size_type j = i; j < words.size(); ++j)
            at |= words[j] == words[i] ? 1u << j : 0;
        for (int index : anchored->second) {
            const std::vector<Element>& pattern = m_rules[index].pattern;
            if (std::all_of(pattern.begin(), pattern.end(), [&](const Element& e) {
                    return e.category >= 0 || std::find(words.begin(), words.end(), e.word) != words.end();
                }))
                found.push_back(Candidate{index, at});
        }
    }
    std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) { return a.rule < b.rule; });
    for (const Candidate& candidate : found)
        (m_rules[candidate.rule].pattern.size() == 1 ? unary : phrases).push_back(candidate);
}

// A rule whose first word is not among the words from start to end is passed
// over at once, and so is one that begins or ends with a word they do not.
void CCaptionGrammar::AddPhrases(CGrammarChart& chart, const std::vector<Candidate>& phrases, int start,
                                 int end) const
{
    std::vector<const CGrammarChart::Item*>& slots = chart.Slots();
    unsigned span = ((end < 32 ? 1u << end : 0u) - 1u) & ~((1u << start) - 1u);
    for (const Candidate& candidate : phrases) {
        const Rule& rule = m_rules[candidate.rule];
        if (static_cast<int>(rule.pattern.size()) > end - start || (candidate.at != 0 && (candidate.at & span) == 0))
            continue;
        const Element& first = rule.pattern.front();
        const Element& last = rule.pattern.back();
        if ((first.category < 0 && first.word != chart.Words()[start]) ||
            (last.category < 0 && last.word != chart.Words()[end - 1]))
            continue;
        slots.clear();
        Match(chart, rule, 0, start, start, end, slots);
    }
}

// Every way the rule's elements cover the words from at to end, each slot by
// a reading the chart already holds.
void CCaptionGrammar::Match(CGrammarChart& chart, const Rule& rule, std::vector<Element>::size_type element, int start,
                            int at, int end, std::vector<const CGrammarChart::Item*>& slots) const
{
    const std::vector<std::string>& words = chart.Words();
    if (element == rule.pattern.size()) {
        if (at != end)
            return;
        // A rule of one slot only names its reading anew: it costs nothing, and a
        // verb read as a verb phrase stays a bare verb at the top.
        bool unary = rule.pattern.size() == 1;
        int cost = unary ? 0 : 1;
        for (const CGrammarChart::Item* slot : slots)
            cost += slot->cost;
        // Of readings that cost the same, the entry listed first wins, through
        // any number of renamings.
        int order = unary ? slots[0]->order : rule.order;
        if (!chart.Better(start, end, rule.category, cost, order))
            return;
        std::string& text = chart.Scratch();
        if (Expand(chart, rule, slots, text))
            chart.Offer(start, end, rule.category, cost, order,
                        unary ? slots[0]->rank : Rank(m_categories[rule.category]), text);
        return;
    }
    const Element& next = rule.pattern[element];
    int left = static_cast<int>(rule.pattern.size() - element - 1); // elements after this one, a word each at least
    if (next.category < 0) {
        if (at < end - left && words[at] == next.word)
            Match(chart, rule, element + 1, start, at + 1, end, slots);
        return;
    }
    // Only where the chart has a reading of the slot's kind from here.
    unsigned ends = chart.Ends(at, next.category);
    for (int stop = left == 0 ? end : at + 1; stop <= end - left; ++stop) {
        if ((ends & (1u << stop)) == 0)
            continue;
        const CGrammarChart::Item& item = chart.At(at, stop, next.category);
        slots.push_back(&item);
        Match(chart, rule, element + 1, start, stop, end, slots);
        slots.pop_back();
    }
}

// "{2}" is the second slot's reading, "{2:not}" the same in the form ":not"; a
// form that has no ending for the reading spoils the rule.
bool CCaptionGrammar::Expand(const CGrammarChart& chart, const Rule& rule,
                             const std::vector<const CGrammarChart::Item*>& slots, std::string& text) const
{
    const std::string& target = rule.target;
    std::string::size_type size = target.size();
    for (const CGrammarChart::Item* slot : slots)
        size += slot->textLength;
    text.reserve(size);
    for (std::string::size_type i = 0; i < target.size(); ++i) {
        if (IsLead(target[i]) && i + 1 < target.size()) {
            text += target.substr(i++, 2);
            continue;
        }
        std::string::size_type close = target.find('}', i);
        int slot = i + 1 < target.size() ? target[i + 1] - '1' : -1;
        if (target[i] != '{' || close == std::string::npos || i + 1 >= close || slot < 0 ||
            slot >= static_cast<int>(slots.size())) {
            text += target[i];
            continue;
        }
        if (target[i + 2] == ':') {
            std::string reading(chart.Text(*slots[slot]));
            if (!m_endings.Apply(target.substr(i + 2, close - i - 2), reading))
                return false;
            text += reading;
        } else {
            text += chart.Text(*slots[slot]);
        }
        i = close;
    }
    return true;
}
