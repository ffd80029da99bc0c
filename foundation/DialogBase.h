#pragma once

#include "foundation/WindowBase.h"

// A modal dialog from a resource template. WindowProc follows the dialog
// procedure convention: TRUE when handled, FALSE for the dialog manager.
class CDialogBase : public CWindowBase {
public:
    explicit CDialogBase(UINT templateId);

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    int DoModal(HWND owner);

    HINSTANCE m_hInstance;
    UINT m_nTemplateId;

private:
    LRESULT OnNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
