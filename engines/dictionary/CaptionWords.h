#pragma once

#include <string>
#include <vector>

// The words of an English caption for the grammar, in lower case: runs of
// letters and digits, with an apostrophe, hyphen, dot or plus inside them
// ("don't", "auto-save", "v1.2", "C++"); every other mark is a word of its
// own. A caption with any character beyond ASCII is not English: no words.
class CCaptionWords {
public:
    explicit CCaptionWords(const std::string& caption);

    const std::vector<std::string>& Words() const { return m_words; }

    static bool IsNumber(const std::string& word);
    // The forms a table may list a word under when it is not listed as it
    // stands, nearest first: the singular of a plural, the American spelling
    // of a British one ("colours" gives "colour", "colors", "color").
    static std::vector<std::string> Variants(const std::string& word);
    // The verbs a word ending in suffix ("ing", "ed") may be a form of:
    // "logging" gives "logg", "log", "logge"; "copied" gives "copi", "copy".
    static std::vector<std::string> Bases(const std::string& word, const char* suffix);

private:
    std::vector<std::string> m_words;
};
