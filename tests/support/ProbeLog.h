#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

// Points MORVANE_ENGINE_LOG, for this process and the processes it starts, at a
// fresh file for as long as it lives; the probe engines append their calls to it.
class CProbeLog {
public:
    CProbeLog();
    ~CProbeLog();
    CProbeLog(const CProbeLog&) = delete;
    CProbeLog& operator=(const CProbeLog&) = delete;

    void Clear() const;
    const std::string& Path() const { return m_path; }
    std::vector<std::string> Lines() const;
    int Count(const std::string& line) const;
    // Every probe library that was mapped has been freed again.
    bool EveryLibraryFreed() const;
    // A window as the probe engines write it.
    static std::string HexWindow(HWND hwnd);

private:
    CTempFolder m_folder;
    std::string m_path;
};
