#pragma once

#include "foundation/GString.h"
#include "foundation/IconDialog.h"

// Edits the sample string that the engine settings dialog previews.
class CSampleStringDialog : public CIconDialog {
public:
    CSampleStringDialog();

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    CGString m_sampleString;

private:
    LRESULT OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
