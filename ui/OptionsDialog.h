#pragma once

#include "foundation/IconDialog.h"

// Lets the user choose the resident mode; the caller switches it.
class COptionsDialog : public CIconDialog {
public:
    COptionsDialog();

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // In: the mode to show (0 normal, anything else hook). Out after IDOK: 0 or 1.
    int m_nResMode;

private:
    LRESULT OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
