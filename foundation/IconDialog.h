#pragma once

#include "foundation/DialogBase.h"

// The base of every dialog of the program: a dialog without an owner carries the
// program icon, and the open dialogs form a chain whose innermost one the tray
// brings to the front.
class CIconDialog : public CDialogBase {
public:
    explicit CIconDialog(UINT templateId);

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    int DoModal(HWND owner);

    CIconDialog* m_pPrevTop;
    static CIconDialog* s_pTopDialog;

private:
    LRESULT OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Loaded for this dialog alone, unlike the shared big icon, so it is released with the window.
    HICON m_hSmallIcon;
};
