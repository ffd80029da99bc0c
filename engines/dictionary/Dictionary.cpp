#include "Dictionary.h"

#include "CaptionParts.h"

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

bool CDictionary::Source::Read()
{
    Stamp(path, written, size);
    return !path.empty() && table.Load(path.c_str());
}

bool CDictionary::Load(const std::string& shippedPath, const std::string& userPath)
{
    m_shipped.path = shippedPath;
    m_user.path = userPath;
    m_user.Read();
    m_nLastCheck = GetTickCount();
    return m_shipped.Read();
}

void CDictionary::Clear()
{
    m_shipped.table.Clear();
    m_user.table.Clear();
}

// A file being saved may be read half-written; the next change of its time or
// size, at the latest when the editor has finished, reads it again.
void CDictionary::ReloadChanged()
{
    DWORD now = GetTickCount();
    if (now - m_nLastCheck < kCheckInterval)
        return;
    m_nLastCheck = now;
    for (Source* source : {&m_shipped, &m_user}) {
        if (source->Changed())
            source->Read();
    }
}

CDictionary::Result CDictionary::Convert(const std::string& caption, char* out, int size) const
{
    CCaptionParts parts(caption);
    std::string result;
    if (!Lookup(m_user.table, caption, parts, result) && !Lookup(m_shipped.table, caption, parts, result))
        return Unknown;
    if (static_cast<int>(result.size()) >= size)
        return TooLong;
    lstrcpynA(out, result.c_str(), size);
    return Converted;
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
