#pragma once

#include "foundation/IconDialog.h"
#include "settings/ProgramList.h"

// Lets the user choose the resident mode, the hot key that shows the original
// captions, the kinds of text converted and which programs stay left alone; the
// caller puts them in force.
class COptionsDialog : public CIconDialog {
public:
    COptionsDialog();

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // In: the mode to show (0 normal, anything else hook). Out after IDOK: 0 or 1.
    int m_nResMode;
    // In: the setting's hot key. Out after IDOK: the key chosen, 0 for none.
    DWORD m_nToggleHotKey;
    // In: the hot key could not be registered, which the dialog says.
    BOOL m_bHotKeyTaken;
    // In: the programs left alone. Out after IDOK: those the user kept.
    CProgramList m_excludedPrograms;
    // In: the kinds of text converted beside captions (TextKind bits). Out after IDOK: those checked.
    DWORD m_nKinds;

private:
    LRESULT OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnRemoveExcluded(HWND hwnd);
};
