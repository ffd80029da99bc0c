#pragma once

#include "foundation/IconDialog.h"

// Tells the user that controls already converted keep their texts.
class CEngineChangeNoticeDialog : public CIconDialog {
public:
    CEngineChangeNoticeDialog();

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    BOOL m_bDontShowAgain;

private:
    LRESULT OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
