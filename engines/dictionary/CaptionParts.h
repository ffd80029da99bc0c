#pragma once

#include <string>

// A caption taken apart, in this order, into its decorations and the bare
// words that a table is searched for: the blanks around it, wizard arrows
// ("< &Back", "&Next >", ">>", "&Add ->"), then from its end an ellipsis ("..." or the
// code page 932 one) and a colon (half- or full-width), and last the mnemonic
// ampersand ("&&" is a literal ampersand and stays). A translation of the bare
// words is put back into the same decorations the way Japanese Windows writes
// them: the mnemonic as an upper-case letter in brackets after the words.
class CCaptionParts {
public:
    explicit CCaptionParts(const std::string& caption);

    const std::string& Bare() const { return m_bare; }
    std::string Rebuild(const std::string& translation) const;

private:
    bool TakeHead(const char* decoration);
    bool TakeTail(const char* decoration);
    void TakeBlanks();
    void TakeMnemonic();

    std::string m_head; // what came before the words
    std::string m_bare;
    std::string m_tail; // what came after them
    char m_chMnemonic = '\0';
};
