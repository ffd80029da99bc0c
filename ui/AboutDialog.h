#pragma once

#include "foundation/IconDialog.h"

// Shows the program's version and the current engine's path and description.
class CAboutDialog : public CIconDialog {
public:
    CAboutDialog();

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    static void SetVersionText(HWND window);

private:
    LRESULT OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
