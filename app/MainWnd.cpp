#include "app/MainWnd.h"

#include <string.h>

#include "app/MorvaneApp.h"
#include "conversion/Engine.h"
#include "foundation/IconDialog.h"
#include "hook/MorLatch.h"
#include "ui/AboutDialog.h"
#include "ui/EngineChangeNoticeDialog.h"
#include "ui/EngineSettingsDialog.h"
#include "ui/OptionsDialog.h"
#include "ui/resource.h"

const char* const CMainWnd::s_pszClassName = "MorvaneWndClass";

namespace {

const UINT kTrayIconId = 10;
const int kTrayIconSize = 16;

HICON LoadTrayIcon(UINT id)
{
    return static_cast<HICON>(
        LoadImageA(g_pApp->m_hInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, kTrayIconSize, kTrayIconSize, 0));
}

} // namespace

CMainWnd::CMainWnd()
    : m_bSuspended(FALSE), m_bPaused(FALSE), m_nTaskbarCreatedMsg(RegisterWindowMessageA("TaskbarCreated")),
      m_bCreated(FALSE)
{
}

// Members go in reverse order: the hot key and the tray icon first, then the walker's records,
// then the base destroys the window if it still exists.
CMainWnd::~CMainWnd() {}

LRESULT CMainWnd::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == m_nTaskbarCreatedMsg && msg != 0)
        return OnTaskbarCreated(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE: return OnCreate(hwnd, msg, wParam, lParam);
    case WM_DESTROY: return OnDestroy(hwnd, msg, wParam, lParam);
    case WM_ENDSESSION: return OnEndSession(hwnd, msg, wParam, lParam);
    case WM_COMMAND: return OnCommand(hwnd, msg, wParam, lParam);
    case WM_TIMER: return OnTimer(hwnd, msg, wParam, lParam);
    case WM_TRAY_NOTIFY: return OnTrayNotify(hwnd, msg, wParam, lParam);
    case WM_TRAY_MENU: return OnTrayMenu(hwnd, msg, wParam, lParam);
    case WM_HOOK_CREATED: return OnHookCreated(hwnd, msg, wParam, lParam);
    case WM_HOTKEY: return OnHotKey(hwnd, msg, wParam, lParam);
    case WM_ENGINE_FAULTED: return OnEngineFaulted(hwnd, msg, wParam, lParam);
    default: return CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    }
}

BOOL CMainWnd::CreateMainWindow()
{
    return Create(s_pszClassName, "", WS_POPUP, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL);
}

LRESULT CMainWnd::OnCreate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    CGString tip(128);
    tip.LoadText(IDS_APP_NAME);
    HICON icon = LoadTrayIcon(IDI_MORVANE);
    if (!m_trayIcon.Add(hwnd, kTrayIconId, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_TRAY_NOTIFY, icon, tip.Text())) {
        if (icon != NULL)
            DestroyIcon(icon);
        g_pApp->ShowMessage(NULL, IDS_TRAY_ICON_FAILED, MB_ICONHAND, 0);
        return -1;
    }
    m_walker.SetKinds(static_cast<int>(g_pApp->m_settings.ConvertKinds));
    // The records are cleaned up in both modes: hook mode keeps them too.
    SetTimer(hwnd, IDT_GC, g_pApp->m_settings.TimerElapseGC, NULL);
    if (g_pApp->m_settings.ResMode != 0)
        MorLatch(hwnd);
    else
        StartNormalMode();
    // A key another program holds leaves Morvane without it; the Options dialog says so.
    m_toggleHotKey.Register(hwnd, IDH_TOGGLE_ORIGINALS, g_pApp->m_settings.ToggleHotKey);
    m_bCreated = TRUE;
    return 0;
}

LRESULT CMainWnd::OnDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    // Windows sends this also when WM_CREATE refused the window: nothing was
    // started then, and a quit message would end the start-up.
    if (!m_bCreated)
        return 0;
    m_bCreated = FALSE;
    m_toggleHotKey.Unregister();
    HICON icon = m_trayIcon.GetIcon();
    m_trayIcon.Delete();
    if (icon != NULL)
        DestroyIcon(icon);
    KillTimer(hwnd, IDT_GC);
    if (g_pApp->m_settings.ResMode != 0)
        MorUnlatch();
    else
        StopNormalMode();
    PostQuitMessage(0);
    return 0;
}

LRESULT CMainWnd::OnEndSession(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    // The session ends without the Exit command: this is the last chance to
    // keep the changes of this run.
    if (wParam)
        g_pApp->SaveSettings();
    return 0;
}

LRESULT CMainWnd::OnTaskbarCreated(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    m_trayIcon.Readd();
    return 0;
}

LRESULT CMainWnd::OnEngineFaulted(HWND, UINT, WPARAM wParam, LPARAM lParam)
{
    g_pApp->DropFaultedEngine(reinterpret_cast<CEngine*>(lParam), static_cast<DWORD>(wParam));
    return 0;
}

void CMainWnd::StartNormalMode()
{
    SetTimer(m_hWnd, IDT_CONVERT, g_pApp->m_settings.TimerElapseConv, NULL);
}

void CMainWnd::StopNormalMode()
{
    KillTimer(m_hWnd, IDT_CONVERT);
}

LRESULT CMainWnd::OnTrayNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    // The menu opens from a posted message, once the shell's call has returned.
    if (wParam == kTrayIconId && (lParam == WM_LBUTTONDOWN || lParam == WM_RBUTTONDOWN))
        PostMessageA(hwnd, WM_TRAY_MENU, kTrayIconId, lParam);
    return 0;
}

LRESULT CMainWnd::OnTrayMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    // An engine's box is up in the middle of a conversion: no command may
    // change or unload the engine under it.
    if (m_walker.IsBusy())
        return 0;
    if (CIconDialog::s_pTopDialog != NULL) {
        SetForegroundWindow(hwnd);
        SetActiveWindow(CIconDialog::s_pTopDialog->m_hWnd);
        return 0;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    HMENU menu = LoadMenuA(g_pApp->m_hInstance, MAKEINTRESOURCEA(IDR_TRAY_MENU));
    HMENU popup = GetSubMenu(menu, 0);
    CheckMenuItem(popup, ID_TRAY_PAUSE, MF_BYCOMMAND | (m_bPaused ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, ID_TRAY_ORIGINALS,
                  MF_BYCOMMAND | (m_walker.AreOriginalsShown() ? MF_CHECKED : MF_UNCHECKED));
    // The menu must belong to the foreground window or it will not close when
    // the user clicks elsewhere.
    SetForegroundWindow(hwnd);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd, NULL);
    // Without a message after it, the next menu may close at once, or this one not at all.
    PostMessageA(hwnd, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return 0;
}

LRESULT CMainWnd::OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    switch (LOWORD(wParam)) {
    case ID_TRAY_EXIT: DestroyWindow(hwnd); break;
    case ID_TRAY_ABOUT: OnAboutCommand(); break;
    case ID_TRAY_ENGINE_SETTINGS: OnEngineSettingsCommand(); break;
    case ID_TRAY_PAUSE: m_bPaused = !m_bPaused; break;
    case ID_TRAY_OPTIONS: OnOptionsCommand(); break;
    case ID_TRAY_ORIGINALS: OnToggleOriginalsCommand(); break;
    }
    return 0;
}

LRESULT CMainWnd::OnHotKey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    if (wParam == IDH_TOGGLE_ORIGINALS)
        OnToggleOriginalsCommand();
    return 0;
}

BOOL CMainWnd::SetSuspended(BOOL suspended)
{
    m_bSuspended = suspended;
    UpdateLook();
    return TRUE;
}

// The stopped look shows while a dialog is open or the originals are shown,
// until neither is; pausing keeps the running look.
void CMainWnd::UpdateLook()
{
    BOOL stopped = m_bSuspended || m_walker.AreOriginalsShown();
    HICON icon = LoadTrayIcon(stopped ? IDI_MORVANE_STOPPED : IDI_MORVANE);
    // No heap: this runs while a command that ran out of memory unwinds, and a
    // second exception there would end the program.
    char tip[128] = "";
    LoadStringA(g_pApp->m_hInstance, m_bSuspended ? IDS_APP_NAME_STOPPED : stopped ? IDS_APP_NAME_ORIGINALS : IDS_APP_NAME,
                tip, sizeof(tip));
    HICON shown = m_trayIcon.GetIcon();
    m_trayIcon.Modify(NIF_ICON | NIF_TIP, icon, tip);
    // Exactly one icon stays loaded: the one the tray shows.
    HICON stale = m_trayIcon.GetIcon() == icon ? shown : icon;
    if (stale != NULL)
        DestroyIcon(stale);
}

void CMainWnd::OnToggleOriginalsCommand()
{
    if (m_walker.AreOriginalsShown())
        m_walker.ConvertAgain(g_pApp->m_pEngine);
    else
        m_walker.ShowOriginals();
    UpdateLook();
}

void CMainWnd::OnAboutCommand()
{
    SetSuspended(TRUE);
    CSuspendGuard guard(this);
    CAboutDialog dialog;
    dialog.DoModal(NULL);
}

void CMainWnd::OnEngineSettingsCommand()
{
    SetSuspended(TRUE);
    CSuspendGuard guard(this);
    CSettings& settings = g_pApp->m_settings;
    CEngineSettingsDialog dialog;
    CGString oldPath(g_pApp->m_pEngine != NULL ? g_pApp->m_pEngine->GetPath() : "");
    // The dialog loads every engine of the folder itself.
    g_pApp->LoadEngine(NULL);
    dialog.m_enginePath.Assign(oldPath);
    dialog.m_engineFolder.Assign(settings.EngineFolder);
    dialog.m_sampleString.Assign(settings.SampleString);

    CGString newPath(oldPath);
    BOOL confirmed = dialog.DoModal(NULL) == IDOK;
    if (confirmed) {
        settings.EngineFolder.Assign(dialog.m_engineFolder);
        newPath.Assign(dialog.m_enginePath);
        settings.Engine.Assign(newPath);
        if (dialog.m_enginePath.Compare(oldPath.Text(), TRUE) != 0 && newPath.Length() != 0 &&
            settings.ShowChangeEngineInfo != 0) {
            CEngineChangeNoticeDialog notice;
            notice.DoModal(NULL);
            settings.ShowChangeEngineInfo = notice.m_bDontShowAgain ? 0 : 1;
        }
    }
    g_pApp->LoadEngine(newPath.Text());
    settings.SampleString.Assign(dialog.m_sampleString);
    // Written at once: a run that ends without Exit keeps what was confirmed.
    if (confirmed)
        g_pApp->SaveSettings();
}

void CMainWnd::OnOptionsCommand()
{
    SetSuspended(TRUE);
    CSuspendGuard guard(this);
    CSettings& settings = g_pApp->m_settings;
    COptionsDialog dialog;
    dialog.m_nResMode = static_cast<int>(settings.ResMode);
    dialog.m_nToggleHotKey = settings.ToggleHotKey;
    dialog.m_bHotKeyTaken = m_toggleHotKey.IsTaken();
    dialog.m_nKinds = settings.ConvertKinds;
    if (dialog.DoModal(NULL) != IDOK)
        return;
    settings.ConvertKinds = dialog.m_nKinds;
    m_walker.SetKinds(static_cast<int>(settings.ConvertKinds));
    settings.ToggleHotKey = dialog.m_nToggleHotKey;
    m_toggleHotKey.Register(m_hWnd, IDH_TOGGLE_ORIGINALS, settings.ToggleHotKey);
    // Never both at once: the timers stop before the hook goes in, and the
    // hook comes out before the timers start.
    if ((dialog.m_nResMode != 0) != (settings.ResMode != 0)) {
        if (dialog.m_nResMode != 0) {
            StopNormalMode();
            MorLatch(m_hWnd);
        } else {
            MorUnlatch();
            StartNormalMode();
        }
        settings.ResMode = static_cast<DWORD>(dialog.m_nResMode);
    }
    // Written at once: a run that ends without Exit keeps what was confirmed.
    g_pApp->SaveSettings();
}

LRESULT CMainWnd::OnTimer(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    if (wParam == IDT_CONVERT && !m_bSuspended && !m_bPaused)
        m_walker.ConvertTick(g_pApp->m_pEngine);
    else if (wParam == IDT_GC)
        m_walker.CleanupTick();
    return 0;
}

LRESULT CMainWnd::OnHookCreated(HWND, UINT, WPARAM wParam, LPARAM)
{
    if (!m_bSuspended && !m_bPaused)
        m_walker.ConvertCreated(reinterpret_cast<HWND>(wParam), g_pApp->m_pEngine);
    return 0;
}
