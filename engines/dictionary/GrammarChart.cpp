#include "GrammarChart.h"

#include "CaptionWords.h"

CGrammarChart::CGrammarChart(const std::vector<std::string>& words, int kinds, std::vector<Item>& storage)
    : m_words(words), m_nKinds(kinds), m_items(storage), m_variants(words.size()), m_variantsMade(words.size(), false)
{
    m_items.assign(static_cast<std::vector<Item>::size_type>((words.size() + 1) * (words.size() + 1) * kinds), Item());
}

const std::vector<std::string>& CGrammarChart::Variants(int word)
{
    if (!m_variantsMade[word]) {
        m_variants[word] = CCaptionWords::Variants(m_words[word]);
        m_variantsMade[word] = true;
    }
    return m_variants[word];
}

void CGrammarChart::Offer(int start, int end, int kind, int cost, int order, int rank, std::string text)
{
    if (!Better(start, end, kind, cost, order))
        return;
    Item& item = At(start, end, kind);
    item.cost = cost;
    item.order = order;
    item.rank = rank;
    if (item.text == nullptr) {
        m_texts.push_back(std::move(text));
        item.text = &m_texts.back();
    } else {
        *item.text = std::move(text);
    }
}
