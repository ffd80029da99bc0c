#pragma once

#include "conversion/WndList.h"
#include "foundation/WindowBase.h"
#include "ui/TrayIcon.h"

#define WM_TRAY_NOTIFY (WM_APP + 100)
#define WM_TRAY_MENU (WM_APP + 101)
#define WM_HOOK_CREATED (WM_APP + 102)
// Posted when the current engine faulted: wParam the exception code, lParam the engine.
#define WM_ENGINE_FAULTED (WM_APP + 103)

#define IDT_CONVERT 1
#define IDT_GC 2

// The hidden main window: tray icon, tray menu commands, the normal-mode timers
// or the hook, and the caption conversion walker.
class CMainWnd : public CWindowBase {
public:
    CMainWnd();
    ~CMainWnd() override;

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    BOOL CreateMainWindow();
    BOOL SetSuspended(BOOL suspended);
    static BOOL IsTargetClass(const char* className);

    CWndList m_wndList;
    int m_nGCBucket;
    CTrayIcon m_trayIcon;
    BOOL m_bSuspended;
    BOOL m_bPaused;
    CWndEntry* m_pCurTop;

    static const char* const s_pszClassName;

private:
    LRESULT OnCreate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnHookCreated(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEngineFaulted(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    void OnEngineSettingsCommand();
    void OnOptionsCommand();
    void OnAboutCommand();
    void StartNormalMode();
    void StopNormalMode();

    void ConvertTick();
    void CleanupTick();
    static BOOL CALLBACK EnumChildProc(HWND hwnd, LPARAM lParam);
    BOOL VisitChild(HWND hwnd);
    static BOOL ConvertWindow(HWND hwnd, const char* className, const char* text, CGString& output);

    UINT m_nTaskbarCreatedMsg;
    // The walk's class-name buffer, made once rather than for every control of every tick.
    CGString m_walkClassName;
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
