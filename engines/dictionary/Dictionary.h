#pragma once

#include <windows.h>

#include <string>

#include "CaptionGrammar.h"
#include "DictionaryTable.h"
#include "SenseContext.h"

class CCaptionParts;

// The shipped table beside the engine and the user's own table, read after it
// so that the user's entries win. Either is read again when its file changes;
// the files are looked at no more than once a second.
class CDictionary {
public:
    enum Result { Unknown, Converted, TooLong };

    // False when the shipped table cannot be read.
    bool Load(const std::string& shippedPath, const std::string& userPath);
    void Clear();
    void ReloadChanged();

    // The caption of a control of the class in Japanese into out (size bytes,
    // terminator included). Its words are remembered as the context of the
    // next captions, unless it is the user's sample.
    Result Convert(const std::string& className, const std::string& caption, char* out, int size);

    const std::string& ShippedPath() const { return m_shipped.path; }
    const std::string& UserPath() const { return m_user.path; }
    int Count() const { return m_shipped.table.Count() + m_user.table.Count(); }
    int Skipped() const { return m_shipped.table.Skipped() + m_user.table.Skipped(); }

private:
    struct Source {
        std::string path;
        CDictionaryTable table;
        FILETIME written = {0, 0};
        DWORD size = 0;
        bool Changed() const;
        bool Read();
    };

    bool Translate(const std::string& caption, bool nounForm, bool naming, std::string& result);
    bool TranslateTitle(const std::string& title, std::string& result);
    static bool Lookup(const CDictionaryTable& table, const std::string& caption, const CCaptionParts& parts,
                       std::string& result);
    void IndexGrammar();

    Source m_shipped;
    Source m_user;
    CCaptionGrammar m_grammar;
    CSenseContext m_context;
    DWORD m_nLastCheck = 0;
};
