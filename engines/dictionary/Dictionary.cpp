#include "Dictionary.h"

#include "CaptionParts.h"
#include "CaptionWords.h"
#include "conversion/TxvEngineApi.h"

namespace {

const DWORD kCheckInterval = 1000;

// The file's time and size, or zeros when it is missing.
void Stamp(const std::string& path, FILETIME& written, DWORD& size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        written.dwLowDateTime = written.dwHighDateTime = 0;
        size = 0;
        return;
    }
    written = data.ftLastWriteTime;
    size = data.nFileSizeLow;
}

} // namespace

bool CDictionary::Source::Changed() const
{
    FILETIME now;
    DWORD nowSize;
    Stamp(path, now, nowSize);
    return CompareFileTime(&now, &written) != 0 || nowSize != size;
}

// A file that is gone takes its entries with it; one that cannot be read
// (held open by an editor, a scanner) keeps those read before, and its stamp
// is not taken, so that it is read at the next look. A stamp that changed
// while the file was read is not kept either.
bool CDictionary::Source::Read()
{
    FILETIME before;
    DWORD sizeBefore;
    Stamp(path, before, sizeBefore);
    if (path.empty() || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND && !path.empty())
            return false;
        table.Clear();
        written = before;
        size = sizeBefore;
        return false;
    }
    if (!table.Load(path.c_str()))
        return false;
    Stamp(path, written, size);
    if (CompareFileTime(&before, &written) != 0 || sizeBefore != size)
        written.dwLowDateTime = written.dwHighDateTime = size = 0;
    return true;
}

bool CDictionary::Load(const std::string& shippedPath, const std::string& userPath)
{
    m_shipped.path = shippedPath;
    m_user.path = userPath;
    m_user.Read();
    m_nLastCheck = GetTickCount();
    bool shipped = m_shipped.Read();
    IndexGrammar();
    return shipped;
}

void CDictionary::Clear()
{
    m_shipped.table.Clear();
    m_user.table.Clear();
    m_grammar.Clear();
}

void CDictionary::IndexGrammar()
{
    m_grammar.Clear();
    m_grammar.Add(m_user.table.Grammar(), 0);
    m_grammar.Add(m_shipped.table.Grammar(), 1);
    m_grammar.Index();
}

// A file being saved may be read half-written; the next change of its time or
// size, at the latest when the editor has finished, reads it again.
void CDictionary::ReloadChanged()
{
    DWORD now = GetTickCount();
    if (now - m_nLastCheck < kCheckInterval)
        return;
    m_nLastCheck = now;
    bool read = false;
    for (Source* source : {&m_shipped, &m_user}) {
        if (source->Changed()) {
            source->Read();
            read = true;
        }
    }
    if (read)
        IndexGrammar();
}

// A menu item's accelerator ("\tCtrl+O") stays as it is.
CDictionary::Result CDictionary::Convert(const std::string& className, const std::string& caption, char* out,
                                         int size)
{
    std::string::size_type tab = caption.find('\t');
    std::string text = tab != std::string::npos && tab > 0 ? caption.substr(0, tab) : caption;
    std::string accelerator = text.size() < caption.size() ? caption.substr(text.size()) : std::string();
    // Push buttons, menu items and the like name an action; a check box says
    // what it does. Labels, group boxes, tabs, column headers and titles name
    // a thing more often than an action.
    bool nounForm = className == "TButton" || (!className.empty() && className[0] == '@');
    bool naming = className == "Static" || className == "TGroupBox" || className == TXV_TAB_CLASS_NAME ||
                  className == TXV_HEADER_CLASS_NAME || className == TXV_TITLE_CLASS_NAME;
    m_context.Look();
    std::string result;
    bool translated = Translate(text, nounForm, naming, result) ||
                      (className == TXV_TITLE_CLASS_NAME && TranslateTitle(text, result));
    if (className != TXV_SAMPLE_CLASS_NAME)
        m_context.Remember(CCaptionWords(CCaptionParts(text).Bare()).Words());
    if (!translated)
        return Unknown;
    result += accelerator;
    if (static_cast<int>(result.size()) >= size)
        return TooLong;
    lstrcpynA(out, result.c_str(), size);
    return Converted;
}

// A sense the context asks for first, then the tables' whole captions, then
// the grammar.
bool CDictionary::Translate(const std::string& caption, bool nounForm, bool naming, std::string& result)
{
    CCaptionParts parts(caption);
    CCaptionWords words(parts.Bare());
    std::string translation;
    if (m_grammar.Sense(words.Words(), m_context, translation)) {
        result = parts.Rebuild(translation);
        return true;
    }
    if (Lookup(m_user.table, caption, parts, result) || Lookup(m_shipped.table, caption, parts, result))
        return true;
    std::string decorations = parts.Rebuild(std::string());
    bool ellipsis = decorations.find("...") != std::string::npos || decorations.find("\x81\x63") != std::string::npos;
    bool label = naming || decorations.find(':') != std::string::npos ||
                 decorations.find("\x81\x46") != std::string::npos;
    if (!m_grammar.Convert(words.Words(), nounForm || ellipsis, label, m_context, translation))
        return false;
    result = parts.Rebuild(translation);
    return true;
}

// "Untitled - Editor": each side of the dash on its own, a side that does not
// convert (a document's or a program's name) kept as it is.
bool CDictionary::TranslateTitle(const std::string& title, std::string& result)
{
    std::string::size_type dash = title.rfind(" - ");
    if (dash == std::string::npos)
        return false;
    std::string head, tail;
    bool headDone = Translate(title.substr(0, dash), true, true, head);
    bool tailDone = Translate(title.substr(dash + 3), true, true, tail);
    if (!headDone && !tailDone)
        return false;
    result = (headDone ? head : title.substr(0, dash)) + " - " + (tailDone ? tail : title.substr(dash + 3));
    return true;
}

// Exact matches before folded ones, the whole caption before its bare words
// (whose translation takes the caption's decorations), and the patterns last.
bool CDictionary::Lookup(const CDictionaryTable& table, const std::string& caption, const CCaptionParts& parts,
                         std::string& result)
{
    if (const std::string* whole = table.Find(caption)) {
        result = *whole;
        return true;
    }
    const std::string* words = table.Find(parts.Bare());
    if (words == nullptr) {
        if (const std::string* whole = table.FindFolded(caption)) {
            result = *whole;
            return true;
        }
        words = table.FindFolded(parts.Bare());
    }
    std::string translation;
    if (words != nullptr)
        translation = *words;
    else if (!table.FindPattern(parts.Bare(), translation))
        return false;
    result = parts.Rebuild(translation);
    return true;
}
