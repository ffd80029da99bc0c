#include "ui/HotKey.h"

#include <commctrl.h>

namespace {

struct FlagPair {
    UINT mod;
    BYTE control;
};

const FlagPair kFlagPairs[] = {
    {MOD_ALT, HOTKEYF_ALT},
    {MOD_CONTROL, HOTKEYF_CONTROL},
    {MOD_SHIFT, HOTKEYF_SHIFT},
};

} // namespace

CHotKey::CHotKey() : m_hWnd(NULL), m_nId(0), m_bRegistered(FALSE), m_bTaken(FALSE) {}

CHotKey::~CHotKey()
{
    Unregister();
}

BOOL CHotKey::Register(HWND hwnd, int id, DWORD hotKey)
{
    Unregister();
    if (hotKey == 0)
        return TRUE;
    m_hWnd = hwnd;
    m_nId = id;
    m_bRegistered = RegisterHotKey(hwnd, id, HIWORD(hotKey), LOWORD(hotKey));
    m_bTaken = !m_bRegistered;
    return m_bRegistered;
}

void CHotKey::Unregister()
{
    if (m_bRegistered)
        UnregisterHotKey(m_hWnd, m_nId);
    m_bRegistered = FALSE;
    m_bTaken = FALSE;
}

WORD CHotKey::ToControlValue(DWORD hotKey)
{
    BYTE flags = 0;
    for (const FlagPair& pair : kFlagPairs) {
        if (HIWORD(hotKey) & pair.mod)
            flags |= pair.control;
    }
    return MAKEWORD(LOBYTE(LOWORD(hotKey)), flags);
}

DWORD CHotKey::FromControlValue(WORD value)
{
    // A control left without a key holds no hot key, whatever its modifiers.
    if (LOBYTE(value) == 0)
        return 0;
    WORD mods = 0;
    for (const FlagPair& pair : kFlagPairs) {
        if (HIBYTE(value) & pair.control)
            mods |= pair.mod;
    }
    return MAKELONG(LOBYTE(value), mods);
}
