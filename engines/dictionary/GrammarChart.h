#pragma once

#include <deque>
#include <string>
#include <vector>

// The best reading of every run of a caption's words in each kind, as the
// grammar fills it: its cost, the order of its entry and its rank at the top
// (see CCaptionGrammar), and its Japanese.
class CGrammarChart {
public:
    struct Item {
        int cost = -1; // -1: none
        int order = 0;
        int rank = 0;
        std::string* text = nullptr; // held by the chart
    };

    // The items live in storage kept from one caption to the next: a chart of
    // a long caption is tens of kilobytes, which the heap would map and unmap
    // each time.
    CGrammarChart(const std::vector<std::string>& words, int kinds, std::vector<Item>& storage);

    const std::vector<std::string>& Words() const { return m_words; }
    // Kept from one rule to the next, so that trying a rule allocates nothing.
    std::vector<const Item*>& Slots() { return m_slots; }
    // CCaptionWords::Variants of a word, made when first asked for.
    const std::vector<std::string>& Variants(int word);

    Item& At(int start, int end, int kind)
    {
        return m_items[(static_cast<std::vector<Item>::size_type>(start) * (m_words.size() + 1) + end) * m_nKinds +
                       kind];
    }
    bool Better(int start, int end, int kind, int cost, int order)
    {
        const Item& item = At(start, end, kind);
        return item.cost < 0 || cost < item.cost || (cost == item.cost && order < item.order);
    }
    void Offer(int start, int end, int kind, int cost, int order, int rank, std::string text);

private:
    const std::vector<std::string>& m_words;
    int m_nKinds;
    std::vector<Item>& m_items;
    std::vector<std::vector<std::string>> m_variants;
    std::vector<bool> m_variantsMade;
    std::vector<const Item*> m_slots;
    std::deque<std::string> m_texts; // of the items that hold a reading; a deque keeps them in place
};
