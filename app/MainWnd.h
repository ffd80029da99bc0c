#pragma once

#include "app/HookHost64.h"
#include "conversion/CaptionWalker.h"
#include "foundation/WindowBase.h"
#include "hook/HookThread.h"
#include "ui/HotKey.h"
#include "ui/TrayIcon.h"

#define WM_TRAY_NOTIFY (WM_APP + 100)
#define WM_TRAY_MENU (WM_APP + 101)
#define WM_HOOK_REPORT (WM_APP + 102)
// Posted when the current engine faulted or stopped responding. It carries
// nothing: the application knows which engine it was.
#define WM_ENGINE_FAULTED (WM_APP + 103)

#define IDT_CONVERT 1
#define IDT_GC 2
#define IDT_TRAY_RETRY 3

#define IDH_TOGGLE_ORIGINALS 1

// The hidden main window: tray icon, tray menu commands, the timers and the
// hook's reports, which decide when the caption walker runs.
class CMainWnd : public CWindowBase {
public:
    CMainWnd();
    ~CMainWnd() override;

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    BOOL CreateMainWindow();
    BOOL SetSuspended(BOOL suspended);

    CCaptionWalker m_walker;
    CTrayIcon m_trayIcon;
    BOOL m_bSuspended;
    BOOL m_bPaused;
    CHotKey m_toggleHotKey;
    CHookHost64 m_hookHost64;
    CHookThread m_hookThread;

    static const char* const s_pszClassName;

private:
    LRESULT OnCreate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnHookReport(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnHotKey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEngineFaulted(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    void OnEngineSettingsCommand();
    void OnOptionsCommand();
    void OnAboutCommand();
    void OnToggleOriginalsCommand();
    void OnExcludeProgramCommand();
    void PrepareExcludeItem(HMENU popup);
    void ApplyExcludedPrograms();
    BOOL AddTrayIcon();
    void RetryTrayIcon();
    void UpdateLook();
    void StartNormalMode();
    void StopNormalMode();
    void StartHookMode();
    void StopHookMode();

    UINT m_nTaskbarCreatedMsg;
    // The program the tray menu offers to leave alone, taken as the menu opens; empty for none.
    char m_szExcludeCandidate[MAX_PATH];
    // How many more times the icon is tried on the retry timer; 0 once it is in the tray or given up.
    int m_nTrayRetriesLeft;
    // Set once WM_CREATE has started everything that WM_DESTROY stops.
    BOOL m_bCreated;
};

// Lifts the suspension when a dialog command ends, also through an exception.
class CSuspendGuard {
public:
    explicit CSuspendGuard(CMainWnd* mainWnd) : m_pMainWnd(mainWnd) {}
    ~CSuspendGuard() { m_pMainWnd->SetSuspended(FALSE); }

private:
    CSuspendGuard(const CSuspendGuard&) = delete;
    CSuspendGuard& operator=(const CSuspendGuard&) = delete;
    CMainWnd* m_pMainWnd;
};
