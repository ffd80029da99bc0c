#include "tests/support/ProbeLog.h"

#include <windows.h>

#include <fstream>

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
