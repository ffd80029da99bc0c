#pragma once

#include "conversion/RemoteMemory.h"
#include "conversion/TextItems.h"

// The labelled items of a common control in another process (tabs, column
// headers): each is read and written through a structure of the program's own
// bitness in the block of its process, followed by its text.
class CControlItems : public CTextItems {
public:
    // Where a structure of one bitness keeps the fields used, and its size.
    struct Layout {
        SIZE_T textAt;
        SIZE_T capacityAt;
        SIZE_T size;
    };
    struct Messages {
        UINT count;
        UINT get;
        UINT set;
        UINT textMask;
        Layout layout32;
        Layout layout64;
    };

    CControlItems(HWND hwnd, CRemoteMemory& remote, const Messages& messages);

    int Count() override;
    BOOL Read(int index, char* text, int size) override;
    BOOL Write(int index, const char* text) override;
    void Repaint() override;

private:
    // The structure asking for the text, with the text after it; FALSE when
    // the block cannot be had.
    BOOL Put(const char* text, int capacity);

    HWND m_hWnd;
    CRemoteMemory& m_remote;
    const Messages& m_messages;
};
