#include "SenseContext.h"

#include <psapi.h>

#include <algorithm>

namespace {

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

// Asking the system for the foreground window costs more than a conversion
// (a round trip to the window server), so it is asked at most once per tick
// of the system clock: the captions of one walk come within a tick or two.
void CSenseContext::Look()
{
    DWORD now = GetTickCount();
    if (now == m_nLastLook && m_bLooked)
        return;
    m_nLastLook = now;
    m_bLooked = true;
    HWND foreground = GetForegroundWindow();
    if (foreground == m_hForeground)
        return;
    m_hForeground = foreground;
    m_captions.clear();
    m_program.clear();
    m_bProgramKnown = false;
}

void CSenseContext::Remember(const std::vector<std::string>& words)
{
    if (words.empty())
        return;
    if (m_captions.size() >= static_cast<std::vector<std::string>::size_type>(kRemembered))
        m_captions.erase(m_captions.begin());
    m_captions.push_back(words);
}

bool CSenseContext::Holds(const std::string& conditions)
{
    std::string::size_type start = 0;
    while (start < conditions.size()) {
        std::string::size_type end = conditions.find(' ', start);
        if (end == std::string::npos)
            end = conditions.size();
        std::string condition = Lower(conditions.substr(start, end - start));
        start = end + 1;
        if (condition.empty())
            continue;
        if (EndsWith(condition, ".exe")) {
            if (IsProgram(condition))
                return true;
            continue;
        }
        for (const std::vector<std::string>& caption : m_captions) {
            if (std::find(caption.begin(), caption.end(), condition) != caption.end())
                return true;
        }
    }
    return false;
}

// Asking the system costs far more than a conversion, so it is asked once per
// foreground window, and only when an entry names a program.
bool CSenseContext::IsProgram(const std::string& name)
{
    if (!m_bProgramKnown) {
        m_bProgramKnown = true;
        DWORD process = 0;
        if (m_hForeground != NULL)
            GetWindowThreadProcessId(m_hForeground, &process);
        HANDLE handle = process != 0 ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process) : NULL;
        if (handle != NULL) {
            char path[MAX_PATH];
            DWORD length = GetModuleBaseNameA(handle, NULL, path, MAX_PATH);
            m_program = Lower(std::string(path, length));
            CloseHandle(handle);
        }
    }
    return m_program == name;
}
