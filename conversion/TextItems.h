#pragma once

#include <windows.h>

// The texts of one kind that a window shows, one per item, read and written
// where they live. None of what the window answers is trusted.
class CTextItems {
public:
    CTextItems() : m_bHung(FALSE) {}
    virtual ~CTextItems() {}

    // How many items there are now; -1 when the window does not answer.
    virtual int Count() = 0;
    // The item's text, terminated, within size bytes; FALSE when it cannot be
    // read (Hung tells whether the window did not answer).
    virtual BOOL Read(int index, char* text, int size) = 0;
    // FALSE when the text could not be written (Hung as for Read).
    virtual BOOL Write(int index, const char* text) = 0;
    // Shows the items written, where the system does not do it itself.
    virtual void Repaint() {}

    // Whether the window did not answer in time.
    BOOL Hung() const { return m_bHung; }

    // What another program's window is given to answer one request.
    static const UINT kAnswerTimeout = 2000;

protected:
    // A bounded request that only a window that answers in time can make take
    // long; result is 0 when it did not.
    LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    BOOL m_bHung;

private:
    CTextItems(const CTextItems&) = delete;
    CTextItems& operator=(const CTextItems&) = delete;
};
