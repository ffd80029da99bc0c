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
// While Windows starts, the shell may refuse icons for a while: they are tried
// again every 2 s for about a minute before Morvane gives up.
const UINT kTrayRetryPeriod = 2000;
const int kTrayRetries = 30;

HICON LoadTrayIcon(UINT id)
{
    return static_cast<HICON>(
        LoadImageA(g_pApp->m_hInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, kTrayIconSize, kTrayIconSize, 0));
}

} // namespace

CMainWnd::CMainWnd()
    : m_bSuspended(FALSE), m_bPaused(FALSE), m_nTaskbarCreatedMsg(RegisterWindowMessageA("TaskbarCreated")),
      m_nTrayRetriesLeft(0), m_bCreated(FALSE)
{
    m_szExcludeCandidate[0] = '\0';
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
    case WM_HOOK_REPORT: return OnHookReport(hwnd, msg, wParam, lParam);
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
    // Started with Windows, Morvane may come before the shell takes icons: it runs on and tries again.
    if (!AddTrayIcon()) {
        m_nTrayRetriesLeft = kTrayRetries;
        SetTimer(hwnd, IDT_TRAY_RETRY, kTrayRetryPeriod, NULL);
    }
    ApplyExcludedPrograms();
    m_walker.SetKinds(static_cast<int>(g_pApp->m_settings.ConvertKinds));
    // The records are cleaned up in both modes: hook mode keeps them too.
    SetTimer(hwnd, IDT_GC, g_pApp->m_settings.TimerElapseGC, NULL);
    if (g_pApp->m_settings.ResMode != 0)
        StartHookMode();
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
    KillTimer(hwnd, IDT_TRAY_RETRY);
    // Either mode may run whatever the setting says: a failed hook runs the timers.
    StopHookMode();
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
    if (m_trayIcon.IsAdded())
        m_trayIcon.Readd();
    else
        RetryTrayIcon();
    return 0;
}

BOOL CMainWnd::AddTrayIcon()
{
    char tip[128] = "";
    LoadStringA(g_pApp->m_hInstance, IDS_APP_NAME, tip, sizeof(tip));
    HICON icon = LoadTrayIcon(IDI_MORVANE);
    if (m_trayIcon.Add(m_hWnd, kTrayIconId, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_TRAY_NOTIFY, icon, tip))
        return TRUE;
    if (icon != NULL)
        DestroyIcon(icon);
    return FALSE;
}

// Also on TaskbarCreated, which a shell that has just started sends; a tray
// that never takes the icon ends the start-up with the error box.
void CMainWnd::RetryTrayIcon()
{
    if (m_nTrayRetriesLeft == 0)
        return;
    if (AddTrayIcon()) {
        m_nTrayRetriesLeft = 0;
        KillTimer(m_hWnd, IDT_TRAY_RETRY);
        // A command of the hot key may have changed the look meanwhile.
        UpdateLook();
        return;
    }
    if (--m_nTrayRetriesLeft > 0)
        return;
    KillTimer(m_hWnd, IDT_TRAY_RETRY);
    g_pApp->ShowMessage(NULL, IDS_TRAY_ICON_FAILED, MB_ICONHAND, 0);
    DestroyWindow(m_hWnd);
}

LRESULT CMainWnd::OnEngineFaulted(HWND, UINT, WPARAM, LPARAM)
{
    g_pApp->DropFaultedEngine();
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

// Without a hook Morvane would convert nothing at all: it polls instead, for
// this run, and says so. The setting stays, so the next start tries again.
// On 64-bit Windows, 64-bit programs are hooked by a host program of their bitness.
void CMainWnd::StartHookMode()
{
    if (m_hookThread.Start(m_hWnd)) {
        m_hookHost64.Start(m_hWnd, m_walker.m_programFilter.List().WithAlwaysExcluded().Text());
        return;
    }
    g_pApp->ShowMessage(NULL, IDS_HOOK_FAILED, MB_ICONEXCLAMATION, 0);
    StartNormalMode();
}

void CMainWnd::StopHookMode()
{
    m_hookHost64.Stop();
    m_hookThread.Stop();
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
    PrepareExcludeItem(popup);
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
    case ID_TRAY_EXCLUDE_PROGRAM: OnExcludeProgramCommand(); break;
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
// until neither is; pausing keeps the running look. The tip tells besides
// when a window could not be converted because it runs with higher rights.
void CMainWnd::UpdateLook()
{
    BOOL stopped = m_bSuspended || m_walker.AreOriginalsShown();
    HICON icon = LoadTrayIcon(stopped ? IDI_MORVANE_STOPPED : IDI_MORVANE);
    UINT tipId = m_walker.HasRefusedWindow() ? IDS_APP_NAME_REFUSED : IDS_APP_NAME;
    if (stopped)
        tipId = m_bSuspended ? IDS_APP_NAME_STOPPED : IDS_APP_NAME_ORIGINALS;
    // No heap: this runs while a command that ran out of memory unwinds, and a
    // second exception there would end the program.
    char tip[128] = "";
    LoadStringA(g_pApp->m_hInstance, tipId, tip, sizeof(tip));
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

// Taken before the menu brings Morvane to the front, from the window the user
// was working in; a program already left alone is not offered.
void CMainWnd::PrepareExcludeItem(HMENU popup)
{
    const CProgramFilter& filter = m_walker.m_programFilter;
    if (!CProgramFilter::ProgramOf(CProgramFilter::UserWindow(), m_szExcludeCandidate, MAX_PATH) ||
        filter.List().Contains(m_szExcludeCandidate) || CProgramList::IsAlwaysExcluded(m_szExcludeCandidate)) {
        m_szExcludeCandidate[0] = '\0';
        EnableMenuItem(popup, ID_TRAY_EXCLUDE_PROGRAM, MF_BYCOMMAND | MF_GRAYED);
        return;
    }
    char format[128] = "";
    char item[MAX_PATH + 128];
    LoadStringA(g_pApp->m_hInstance, IDS_EXCLUDE_PROGRAM, format, sizeof(format));
    wsprintfA(item, format, m_szExcludeCandidate);
    ModifyMenuA(popup, ID_TRAY_EXCLUDE_PROGRAM, MF_BYCOMMAND | MF_STRING, ID_TRAY_EXCLUDE_PROGRAM, item);
}

void CMainWnd::OnExcludeProgramCommand()
{
    // Chosen without the menu: the window in front now.
    if (m_szExcludeCandidate[0] == '\0')
        CProgramFilter::ProgramOf(CProgramFilter::UserWindow(), m_szExcludeCandidate, MAX_PATH);
    CSettings& settings = g_pApp->m_settings;
    CProgramList list(settings.ExcludedPrograms.Text());
    BOOL added = list.Add(m_szExcludeCandidate);
    m_szExcludeCandidate[0] = '\0';
    if (!added)
        return;
    settings.ExcludedPrograms.Assign(list.Text());
    ApplyExcludedPrograms();
    g_pApp->SaveSettings();
}

// Applies at once: the program's windows get their originals back and are never read again.
void CMainWnd::ApplyExcludedPrograms()
{
    m_walker.m_programFilter.SetList(g_pApp->m_settings.ExcludedPrograms.Text());
    CGString hookList(m_walker.m_programFilter.List().WithAlwaysExcluded());
    MorLatchExclude(hookList.Text());
    m_walker.ReleaseExcluded();
    // The 64-bit host is told the list as it starts.
    if (m_hookHost64.IsRunning()) {
        m_hookHost64.Stop();
        m_hookHost64.Start(m_hWnd, hookList.Text());
    }
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
    dialog.m_excludedPrograms.Assign(settings.ExcludedPrograms.Text());
    dialog.m_nKinds = settings.ConvertKinds;
    if (dialog.DoModal(NULL) != IDOK)
        return;
    // Unchanged, nothing is released and the 64-bit host keeps running.
    if (settings.ExcludedPrograms.Compare(dialog.m_excludedPrograms.Text(), FALSE) != 0) {
        settings.ExcludedPrograms.Assign(dialog.m_excludedPrograms.Text());
        ApplyExcludedPrograms();
    }
    settings.ConvertKinds = dialog.m_nKinds;
    m_walker.SetKinds(static_cast<int>(settings.ConvertKinds));
    settings.ToggleHotKey = dialog.m_nToggleHotKey;
    m_toggleHotKey.Register(m_hWnd, IDH_TOGGLE_ORIGINALS, settings.ToggleHotKey);
    // Never both at once: the timers stop before the hook goes in, and the
    // hook comes out before the timers start.
    if ((dialog.m_nResMode != 0) != (settings.ResMode != 0)) {
        if (dialog.m_nResMode != 0) {
            StopNormalMode();
            StartHookMode();
        } else {
            StopHookMode();
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
    else if (wParam == IDT_TRAY_RETRY)
        RetryTrayIcon();
    if (m_walker.TakeRefusalsChanged())
        UpdateLook();
    return 0;
}

LRESULT CMainWnd::OnHookReport(HWND, UINT, WPARAM wParam, LPARAM lParam)
{
    if (!m_bSuspended && !m_bPaused)
        m_walker.ConvertReported(reinterpret_cast<HWND>(wParam), static_cast<UINT>(lParam), g_pApp->m_pEngine);
    if (m_walker.TakeRefusalsChanged())
        UpdateLook();
    return 0;
}
