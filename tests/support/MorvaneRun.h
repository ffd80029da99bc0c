#pragma once

#include <list>
#include <map>
#include <string>
#include <vector>

#include "tests/app/CaptionTarget.h"
#include "tests/engines/ProbeEngine.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/MorvaneProcess.h"

// Runs the real Morvane.exe with an engine against caption_target windows:
// answers the boxes it shows at start-up, drives the targets, counts the probe
// engine's calls from its log and looks into the process.
class MorvaneRunTest : public MorvaneProcessTest {
protected:
    // Starts Morvane in the resident mode with the test engine (null on failure).
    HWND StartWith(const char* engineFile, DWORD resMode);
    // Starts Morvane, answers every start-up message box with OK and returns
    // the hidden main window (null when none appears). The boxes are kept in m_startBoxes.
    // Morvane's current folder is the given one, the build's binary folder when none is given.
    HWND StartAnswering(const std::string& folder = std::string());
    // Sends a command and returns once Morvane has carried it out.
    bool SendCommand(WPARAM id);
    // Whether the main window still handles messages.
    bool IsResponsive() const;

    // Starts caption_target.exe (or a copy of it under another name) in the mode and returns its window, in the
    // foreground.
    HWND StartTarget(CChildProcess& process, const std::string& mode, const std::string& title = "Target",
                     const std::string& program = "caption_target.exe");
    // The same in a process that lives as long as the test.
    HWND StartTarget(const std::string& mode, const std::string& title = "Target",
                     const std::string& program = "caption_target.exe");
    // Brings the window to the front unless it is there, and says whether it is.
    // Asked for in a wait: a dialog of Morvane's hands the foreground to the
    // tray's window a moment after it closes, so one request can be undone.
    static bool KeepInFront(HWND window);
    static LRESULT Ask(HWND target, UINT request, WPARAM wParam = 0);
    static std::string ControlText(HWND target, int id);
    // Whether each control of the controls mode that Morvane converts shows the
    // text, or without one its original in brackets.
    static bool AllConverted(HWND target, const char* text = nullptr);
    static bool WaitAllConverted(HWND target, const char* text = nullptr);
    // Whether each of them shows its original text.
    static bool AllOriginal(HWND target);
    // Waits for ticks of the target's sentinels from a walk of its window begun
    // after the call; then leaves the sentinels as converted and returns how
    // many times they were converted in all.
    static int SettleWalks(HWND target);
    // Morvane's main window can be found before it has installed the hook:
    // waits until a button that the target creates is converted at once.
    static bool WaitUntilHooked(HWND target);

    // The system error code with which this process fails to load the library,
    // the code Morvane must report.
    static DWORD LoadErrorOf(const std::string& path);

    // Lines of the probe log naming the call ("TXVExitEngine", say).
    int Calls(const std::string& call) const;
    int Conversions() const { return Calls("TXVConvertCaptionString"); }
    // Conversions so far, by the class name handed to the engine.
    std::map<std::string, int> ConversionsByClass() const;

    CProbeLog m_log;
    std::vector<SeenMessageBox> m_startBoxes;
    std::list<CChildProcess> m_targets;
};
