#include "GrammarChart.h"

#include "CaptionWords.h"

CGrammarChart::CGrammarChart(const std::vector<std::string>& words, int kinds, std::vector<Item>& storage,
                             std::string& texts)
    : m_words(words), m_nKinds(kinds), m_items(storage), m_variants(words.size()), m_variantsMade(words.size(), false),
      m_texts(texts)
{
    m_texts.clear();
    m_items.assign(static_cast<std::vector<Item>::size_type>((words.size() + 1) * (words.size() + 1) * kinds), Item());
    m_ends.assign(static_cast<std::vector<unsigned>::size_type>((words.size() + 1) * kinds), 0);
}

const std::vector<std::string>& CGrammarChart::Variants(int word)
{
    if (!m_variantsMade[word]) {
        m_variants[word] = CCaptionWords::Variants(m_words[word]);
        m_variantsMade[word] = true;
    }
    return m_variants[word];
}

void CGrammarChart::Offer(int start, int end, int kind, int cost, int order, int rank, std::string_view text)
{
    if (!Better(start, end, kind, cost, order))
        return;
    Item& item = At(start, end, kind);
    m_ends[static_cast<std::vector<unsigned>::size_type>(start) * m_nKinds + kind] |= 1u << end;
    item.cost = cost;
    item.order = order;
    item.rank = rank;
    ++m_nOffers;
    item.textStart = static_cast<unsigned>(m_texts.size());
    item.textLength = static_cast<unsigned>(text.size());
    m_texts.append(text.data(), text.size());
}
