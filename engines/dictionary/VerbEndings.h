#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// The endings of the tables' ":form" lines, by form: a Japanese reading in a
// form (the negative, ":not") has its longest listed ending replaced.
class CVerbEndings {
public:
    void Clear() { m_forms.clear(); }
    void Add(const std::string& form, const std::string& ending, const std::string& replacement);
    // Longest endings first; after the last Add.
    void Index();
    // False, the text untouched, when the form lists no ending the text ends in.
    bool Apply(const std::string& form, std::string& text) const;

private:
    struct Ending {
        std::string ending;
        std::string replacement;
    };

    std::unordered_map<std::string, std::vector<Ending>> m_forms;
};
