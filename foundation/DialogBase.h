#pragma once

#include "foundation/WindowBase.h"

// A modal dialog from a resource template. WindowProc follows the dialog
// procedure convention: TRUE when handled, FALSE for the dialog manager.
class CDialogBase : public CWindowBase {
public:
    explicit CDialogBase(UINT templateId);

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    int DoModal(HWND owner);
    // Enables or disables a control; one that loses the focus by being
    // disabled hands it on, or the keyboard would reach nothing.
    void EnableItem(int id, BOOL enable);

    HINSTANCE m_hInstance;
    UINT m_nTemplateId;

private:
    LRESULT OnNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
