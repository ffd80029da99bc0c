#include "UntranslatedLog.h"

#include <windows.h>

#include <fstream>

namespace {

// A run of captions that never repeat (a counter, a file being copied) must
// not grow the file without end.
const std::unordered_set<std::string>::size_type kMaxCaptions = 20000;
const std::string::size_type kMaxCaption = 255;

// The caption on one line: its tabs and line breaks become blanks, as the
// tables' folded lookup sees them.
std::string OneLine(const std::string& caption)
{
    std::string line = caption;
    for (char& c : line) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return line;
}

// Only captions in English are worth a translation: some ASCII letter, and no
// double-byte character (a Japanese caption, or one already converted).
bool IsEnglish(const std::string& caption)
{
    bool letter = false;
    for (char c : caption) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
        letter = letter || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    }
    return letter;
}

} // namespace

void CUntranslatedLog::Open(const std::string& path, const std::string& header)
{
    m_path = path;
    m_header = header;
    m_seen.clear();
    std::ifstream file(path, std::ios::binary);
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] != '#')
            m_seen.insert(line.substr(0, line.find('\t')));
    }
}

void CUntranslatedLog::Add(const std::string& caption)
{
    if (m_path.empty() || caption.size() > kMaxCaption || m_seen.size() >= kMaxCaptions || !IsEnglish(caption))
        return;
    std::string line = OneLine(caption);
    if (m_seen.count(line) != 0)
        return;
    // Remembered even when it could not be written: a caption the walker
    // offers at every tick must not send each conversion to the disk.
    m_seen.insert(line);
    Append(line + "\t\r\n");
}

void CUntranslatedLog::Append(const std::string& text) const
{
    std::string folder = m_path.substr(0, m_path.find_last_of('\\'));
    CreateDirectoryA(folder.c_str(), NULL);
    HANDLE file =
        CreateFileA(m_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string data = GetLastError() == ERROR_ALREADY_EXISTS ? text : m_header + text;
    DWORD written = 0;
    WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, NULL);
    CloseHandle(file);
}
