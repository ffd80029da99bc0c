#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "foundation/IconDialog.h"
#include "tests/support/ProcessDriver.h"

// Drives modal dialogs of the calling thread from inside their own message
// loops: each step waits until an enabled, visible dialog that it matches is
// up, then acts on it. Actions that open a nested modal window must post, not
// send, or the next step would run inside them. When no step makes progress
// for a while, or a dialog stays open that long after the last step, every
// dialog of the thread is cancelled so that the test fails instead of hanging.
class CDialogDriver {
public:
    using Match = std::function<bool(HWND dialog)>;
    using Action = std::function<void(HWND dialog)>;

    CDialogDriver();
    ~CDialogDriver();

    CDialogDriver& Then(const std::string& caption, Action action);
    CDialogDriver& ThenWindow(Match match, Action action);
    bool Finished() const { return m_steps.empty() && !m_bTimedOut; }

private:
    CDialogDriver(const CDialogDriver&) = delete;
    CDialogDriver& operator=(const CDialogDriver&) = delete;
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    struct Step {
        Match match;
        Action action;
    };
    std::deque<Step> m_steps;
    UINT_PTR m_nTimer;
    DWORD m_nLastProgress;
    bool m_bTimedOut;
};

// Shows the dialog modally while one step acts on it once it is up; returns
// what the dialog returned, or -1 when the step was never taken.
int ShowDialog(CIconDialog& dialog, const std::string& caption, CDialogDriver::Action act);

std::string ItemText(HWND dialog, int id);
bool HasChild(HWND window, const std::function<bool(HWND child)>& match);
bool IsFolderPicker(HWND dialog);
void PressEscape(HWND dialog);
void CloseBox(HWND dialog);
// PostClickOf<IDOK> closes a dialog as a table of cases names it.
template <int id> void PostClickOf(HWND dialog)
{
    PostClick(dialog, id);
}
