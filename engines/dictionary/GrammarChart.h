#pragma once

#include <string>
#include <string_view>
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
        unsigned textStart = 0; // in the chart's texts
        unsigned textLength = 0;
    };

    // The items and their texts live in storage kept from one caption to the
    // next: a chart of a long caption is tens of kilobytes and hundreds of
    // texts, which the heap would hand out and take back each time.
    CGrammarChart(const std::vector<std::string>& words, int kinds, std::vector<Item>& storage, std::string& texts);

    const std::vector<std::string>& Words() const { return m_words; }
    // Kept from one rule to the next, so that trying a rule allocates nothing.
    std::vector<const Item*>& Slots() { return m_slots; }
    std::string& Scratch()
    {
        m_scratch.clear();
        return m_scratch;
    }
    // Good until the next Offer.
    std::string_view Text(const Item& item) const
    {
        return std::string_view(m_texts.data() + item.textStart, item.textLength);
    }
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
    // How many readings were offered and taken so far.
    int Offers() const { return m_nOffers; }
    // The text must not lie in the chart's own texts.
    void Offer(int start, int end, int kind, int cost, int order, int rank, std::string_view text);
    // Where the readings of a kind that begin at start end, a bit a word.
    unsigned Ends(int start, int kind) const
    {
        return m_ends[static_cast<std::vector<unsigned>::size_type>(start) * m_nKinds + kind];
    }

private:
    const std::vector<std::string>& m_words;
    int m_nKinds;
    std::vector<Item>& m_items;
    std::vector<unsigned> m_ends;
    std::vector<std::vector<std::string>> m_variants;
    std::vector<bool> m_variantsMade;
    std::vector<const Item*> m_slots;
    std::string& m_texts; // every reading one after the other; a better one is added, the worse left unused
    std::string m_scratch;
    int m_nOffers = 0;
};
