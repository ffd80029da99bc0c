#pragma once

#include <windows.h>

// One global hot key of a window. Another program may hold the key already:
// the window then runs on without it, and the key counts as taken.
class CHotKey {
public:
    CHotKey();
    ~CHotKey();

    // Replaces the key registered before. The setting's form: virtual key in
    // the low word, MOD_ flags in the high word; 0 registers none.
    BOOL Register(HWND hwnd, int id, DWORD hotKey);
    void Unregister();
    BOOL IsTaken() const { return m_bTaken; }

    // A hot-key control holds the virtual key in its low byte and HOTKEYF_
    // flags in its high byte, whose shift and alt bits are the other way round.
    static WORD ToControlValue(DWORD hotKey);
    static DWORD FromControlValue(WORD value);

private:
    CHotKey(const CHotKey&) = delete;
    CHotKey& operator=(const CHotKey&) = delete;

    HWND m_hWnd;
    int m_nId;
    BOOL m_bRegistered;
    BOOL m_bTaken;
};
