#pragma once

#include <string>
#include <vector>

#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/MorvaneProcess.h"

// Runs the real Morvane.exe against bad input: answers the boxes it shows at
// start-up, drives caption_target windows and looks into the process.
class MorvaneRunTest : public MorvaneProcessTest {
protected:
    // Starts Morvane, answers every start-up message box with OK and returns
    // the hidden main window (null when none appears). The boxes are kept in m_startBoxes.
    // Morvane's current folder is the given one, the build's binary folder when none is given.
    HWND StartAnswering(const std::string& folder = std::string());

    // Whether the main window still handles messages.
    bool IsResponsive() const;

    HWND StartTarget(CChildProcess& process, const std::string& title, const std::string& report = "");
    static std::string ControlText(HWND target, int id);
    // Waits until every control that Morvane converts shows the text.
    static bool WaitForConvertedTexts(HWND target, const std::string& text, DWORD timeoutMs);

    // The system error code with which this process fails to load the library,
    // the code Morvane must report.
    static DWORD LoadErrorOf(const std::string& path);

    static std::string FaultyEnginePath(const std::string& fileName);

    std::vector<SeenMessageBox> m_startBoxes;
};
