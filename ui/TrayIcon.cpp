#include "ui/TrayIcon.h"

CTrayIcon::CTrayIcon() : m_bAdded(FALSE)
{
    Reset();
}

CTrayIcon::~CTrayIcon()
{
    Delete();
}

void CTrayIcon::Reset()
{
    ZeroMemory(&m_nid, sizeof(m_nid));
    m_nid.cbSize = s_nRecordSize;
}

// The record keeps only what the shell accepted, so that the icon handle read
// from it is always the one the tray shows.
BOOL CTrayIcon::Notify(DWORD message, NOTIFYICONDATAA record, UINT flags, HICON icon, const char* tip)
{
    record.uFlags = flags;
    record.hIcon = icon;
    // The first-version record holds 64 bytes: a longer tip is cut at 63.
    lstrcpynA(record.szTip, tip, 64);
    if (!Shell_NotifyIconA(message, &record))
        return FALSE;
    m_nid = record;
    return TRUE;
}

BOOL CTrayIcon::Add(HWND hwnd, UINT id, UINT flags, UINT callbackMessage, HICON icon, const char* tip)
{
    NOTIFYICONDATAA record = m_nid;
    record.hWnd = hwnd;
    record.uID = id;
    record.uCallbackMessage = callbackMessage;
    if (!Notify(NIM_ADD, record, flags, icon, tip))
        return FALSE;
    m_bAdded = TRUE;
    return TRUE;
}

BOOL CTrayIcon::Modify(UINT flags, HICON icon, const char* tip)
{
    return m_bAdded && Notify(NIM_MODIFY, m_nid, flags, icon, tip);
}

BOOL CTrayIcon::Readd()
{
    if (!m_bAdded)
        return FALSE;
    // A modification may have left only the icon and tip flags set; a new
    // taskbar needs the callback message too.
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return Shell_NotifyIconA(NIM_ADD, &m_nid);
}

void CTrayIcon::Delete()
{
    if (!m_bAdded)
        return;
    Shell_NotifyIconA(NIM_DELETE, &m_nid);
    Reset();
    m_bAdded = FALSE;
}
