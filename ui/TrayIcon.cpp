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

void CTrayIcon::SetTip(const char* tip)
{
    // The first-version record holds 64 bytes: a longer tip is cut at 63.
    lstrcpynA(m_nid.szTip, tip, 64);
}

BOOL CTrayIcon::Add(HWND hwnd, UINT id, UINT flags, UINT callbackMessage, HICON icon, const char* tip)
{
    m_nid.hWnd = hwnd;
    m_nid.uID = id;
    m_nid.uFlags = flags;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icon;
    SetTip(tip);
    if (!Shell_NotifyIconA(NIM_ADD, &m_nid))
        return FALSE;
    m_bAdded = TRUE;
    return TRUE;
}

BOOL CTrayIcon::Modify(UINT flags, HICON icon, const char* tip)
{
    if (!m_bAdded)
        return FALSE;
    m_nid.uFlags = flags;
    m_nid.hIcon = icon;
    SetTip(tip);
    return Shell_NotifyIconA(NIM_MODIFY, &m_nid);
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
