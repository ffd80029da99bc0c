#pragma once

#include "conversion/TextItems.h"

// The title of a top-level window or dialog: one item.
class CTitleText : public CTextItems {
public:
    explicit CTitleText(HWND hwnd) : m_hWnd(hwnd) {}

    int Count() override { return 1; }
    BOOL Read(int index, char* text, int size) override;
    BOOL Write(int index, const char* text) override;

private:
    HWND m_hWnd;
};
