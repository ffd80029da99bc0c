#include "tests/support/ProbeLog.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <map>

CProbeLog::CProbeLog() : m_path(m_folder.PathOf("calls.log"))
{
    SetEnvironmentVariableA("MORVANE_ENGINE_LOG", m_path.c_str());
}

CProbeLog::~CProbeLog()
{
    SetEnvironmentVariableA("MORVANE_ENGINE_LOG", nullptr);
}

void CProbeLog::Clear() const
{
    DeleteFileA(m_path.c_str());
}

std::vector<std::string> CProbeLog::Lines() const
{
    std::vector<std::string> lines;
    std::ifstream file(m_path);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

int CProbeLog::Count(const std::string& line) const
{
    std::vector<std::string> lines = Lines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

bool CProbeLog::EveryLibraryFreed() const
{
    std::map<std::string, int> mapped;
    for (const std::string& line : Lines()) {
        size_t space = line.find(' ');
        std::string call = line.substr(space + 1);
        if (call == "attach")
            ++mapped[line.substr(0, space)];
        else if (call == "detach")
            --mapped[line.substr(0, space)];
    }
    return std::all_of(mapped.begin(), mapped.end(), [](const auto& entry) { return entry.second == 0; });
}

std::string CProbeLog::HexWindow(HWND hwnd)
{
    char text[16];
    wsprintfA(text, "%08lX", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hwnd)));
    return text;
}
