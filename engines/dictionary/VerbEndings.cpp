#include "VerbEndings.h"

#include <windows.h>

#include <algorithm>

namespace {

// Whether text ends in tail at a character boundary.
bool EndsWhole(const std::string& text, const std::string& tail)
{
    if (tail.size() > text.size() || text.compare(text.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    std::string::size_type i = 0;
    while (i < text.size() - tail.size())
        i += IsDBCSLeadByte(static_cast<BYTE>(text[i])) ? 2 : 1;
    return i == text.size() - tail.size();
}

} // namespace

void CVerbEndings::Add(const std::string& form, const std::string& ending, const std::string& replacement)
{
    m_forms[form].push_back(Ending{ending, replacement});
}

void CVerbEndings::Index()
{
    for (auto& form : m_forms) {
        std::stable_sort(form.second.begin(), form.second.end(),
                         [](const Ending& a, const Ending& b) { return a.ending.size() > b.ending.size(); });
    }
}

bool CVerbEndings::Apply(const std::string& form, std::string& text) const
{
    std::unordered_map<std::string, std::vector<Ending>>::const_iterator found = m_forms.find(form);
    if (found == m_forms.end())
        return false;
    for (const Ending& ending : found->second) {
        if (EndsWhole(text, ending.ending)) {
            text.replace(text.size() - ending.ending.size(), ending.ending.size(), ending.replacement);
            return true;
        }
    }
    return false;
}
