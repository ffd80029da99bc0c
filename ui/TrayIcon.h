#pragma once

#include <windows.h>
#include <shellapi.h>

// The one icon in the task tray. It does not own the icon handle it shows.
class CTrayIcon {
public:
    CTrayIcon();
    ~CTrayIcon();

    BOOL Add(HWND hwnd, UINT id, UINT flags, UINT callbackMessage, HICON icon, const char* tip);
    BOOL Modify(UINT flags, HICON icon, const char* tip);
    BOOL Readd();
    void Delete();
    HICON GetIcon() const { return m_nid.hIcon; }
    const char* GetTip() const { return m_nid.szTip; }
    BOOL IsAdded() const { return m_bAdded; }

    // The first-version layout of NOTIFYICONDATAA, which every shell accepts.
    static const DWORD s_nRecordSize = 88;

private:
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;
    void Reset();
    BOOL Notify(DWORD message, NOTIFYICONDATAA record, UINT flags, HICON icon, const char* tip);

    BOOL m_bAdded;
    NOTIFYICONDATAA m_nid;
};
