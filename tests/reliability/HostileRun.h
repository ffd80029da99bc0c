#pragma once

#include <map>
#include <string>

#include "tests/engines/ProbeEngine.h"
#include "tests/reliability/HostileTarget.h"
#include "tests/reliability/MorvaneRun.h"

// Runs Morvane with the probe engine that brackets texts against hostile_target
// windows, counting the engine's conversions through its call log.
class HostileRunTest : public MorvaneRunTest {
protected:
    // Starts Morvane in the resident mode with ProbeComplete.TXV (null on failure).
    HWND StartConverting(DWORD resMode)
    {
        CPreferencesScope::SetString("Engine", TestEnginePath("ProbeComplete.TXV"));
        CPreferencesScope::SetDWORD("ResMode", resMode);
        return StartAnswering();
    }

    HWND StartHostile(CChildProcess& process, const char* mode)
    {
        if (!process.Start("\"" + Bin("hostile_target.exe") + "\" " + mode))
            return nullptr;
        return WaitForTopLevelWindow(HOSTILE_TARGET_CLASS, process.Id(), 15000);
    }

    // Morvane's main window can be found before it has installed the hook: waits
    // until a button that the target creates is converted at once.
    static bool WaitUntilHooked(HWND target)
    {
        return WaitUntil(
            [&] {
                DWORD_PTR result = 0;
                SendMessageTimeoutA(target, WM_HOSTILE_CREATE, 1, 0, SMTO_NORMAL, 10000, &result);
                return HIWORD(result) == 1;
            },
            15000);
    }

    // The whole text, however long ("" when the window does not answer in time).
    static std::string FullText(HWND hwnd)
    {
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
            return "";
        std::string text(length + 1, '\0');
        if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                                 5000, &length))
            return "";
        text.resize(length);
        return text;
    }

    // Conversions so far, by the class name handed to the engine.
    std::map<std::string, int> ConversionsByClass() const
    {
        std::map<std::string, int> counts;
        const std::string call = " TXVConvertCaptionString ";
        for (const std::string& line : m_log.Lines()) {
            size_t at = line.find(call);
            if (at == std::string::npos)
                continue;
            std::string details = line.substr(at + call.size());
            ++counts[details.substr(0, details.rfind(' '))];
        }
        return counts;
    }

    int Conversions() const
    {
        int total = 0;
        for (const auto& entry : ConversionsByClass())
            total += entry.second;
        return total;
    }

    CProbeLog m_log;
};
