#include "CaptionWords.h"

namespace {

bool IsAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsJoiner(char c)
{
    return c == '\'' || c == '-' || c == '.' || c == '+' || c == '_';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWith(const std::string& word, const char* tail)
{
    std::string::size_type length = std::char_traits<char>::length(tail);
    return word.size() > length + 1 && word.compare(word.size() - length, length, tail) == 0;
}

std::string Replaced(const std::string& word, std::string::size_type cut, const char* tail)
{
    return word.substr(0, word.size() - cut) + tail;
}

void AddSingulars(const std::string& word, std::vector<std::string>& forms)
{
    if (EndsWith(word, "ies"))
        forms.push_back(Replaced(word, 3, "y"));
    if (EndsWith(word, "ses") || EndsWith(word, "xes") || EndsWith(word, "ches") || EndsWith(word, "shes"))
        forms.push_back(Replaced(word, 2, ""));
    if (EndsWith(word, "s") && !EndsWith(word, "ss") && !EndsWith(word, "us"))
        forms.push_back(Replaced(word, 1, ""));
}

// British spellings of the words of user interfaces and their American forms.
void AddAmerican(const std::string& word, std::vector<std::string>& forms)
{
    static const char* const kPairs[][2] = {
        {"our", "or"},     {"ours", "ors"},       {"oured", "ored"},   {"ise", "ize"},   {"ised", "ized"},
        {"ises", "izes"},  {"ising", "izing"},    {"isation", "ization"}, {"isations", "izations"},
        {"yse", "yze"},    {"tre", "ter"},        {"tres", "ters"},    {"ogue", "og"},   {"ogues", "ogs"},
        {"lled", "led"},   {"lling", "ling"},     {"ence", "ense"},    {"grey", "gray"}, {"mme", "m"},
    };
    for (const auto& pair : kPairs) {
        if (EndsWith(word, pair[0]))
            forms.push_back(Replaced(word, std::char_traits<char>::length(pair[0]), pair[1]));
    }
}

} // namespace

CCaptionWords::CCaptionWords(const std::string& caption)
{
    for (char c : caption) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            m_words.clear();
            return;
        }
    }
    std::string::size_type i = 0;
    while (i < caption.size()) {
        char c = caption[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        std::string word(1, Lower(c));
        ++i;
        if (IsAlnum(c)) {
            while (i < caption.size() &&
                   (IsAlnum(caption[i]) || (IsJoiner(caption[i]) && i + 1 < caption.size() &&
                                            (IsAlnum(caption[i + 1]) || caption[i] == '+'))))
                word += Lower(caption[i++]);
        }
        m_words.push_back(word);
    }
}

bool CCaptionWords::IsNumber(const std::string& word)
{
    bool digit = false;
    for (char c : word) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c != '.' && c != ',')
            return false;
    }
    return digit;
}

std::vector<std::string> CCaptionWords::Variants(const std::string& word)
{
    std::vector<std::string> forms;
    AddSingulars(word, forms);
    std::vector<std::string> singulars = forms;
    AddAmerican(word, forms);
    for (const std::string& singular : singulars)
        AddAmerican(singular, forms);
    return forms;
}

std::vector<std::string> CCaptionWords::Bases(const std::string& word, const char* suffix)
{
    std::vector<std::string> bases;
    std::string::size_type length = std::char_traits<char>::length(suffix);
    if (word.size() < length + 3 || word.compare(word.size() - length, length, suffix) != 0)
        return bases;
    std::string base = word.substr(0, word.size() - length);
    bases.push_back(base);
    if (base.size() > 2 && base.back() == base[base.size() - 2])
        bases.push_back(base.substr(0, base.size() - 1));
    bases.push_back(base + 'e');
    if (base.back() == 'i')
        bases.push_back(base.substr(0, base.size() - 1) + 'y');
    return bases;
}
