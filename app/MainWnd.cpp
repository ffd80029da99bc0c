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
const int kClassNameSize = 200;
const int kTextSize = 1024;
const int kOutputSize = 256;
// A control whose thread does not answer within this time is left as it is,
// so that one hung program cannot stop conversion everywhere.
const UINT kWriteBackTimeout = 2000;

const char* const kTargetClasses[] = {"Button", "Static", "TButton", "TCheckBox", "TGroupBox"};

HICON LoadTrayIcon(UINT id)
{
    return static_cast<HICON>(
        LoadImageA(g_pApp->m_hInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, kTrayIconSize, kTrayIconSize, 0));
}

} // namespace

CMainWnd::CMainWnd()
    : m_nGCBucket(0), m_bSuspended(FALSE), m_bPaused(FALSE), m_pCurTop(NULL),
      m_nTaskbarCreatedMsg(RegisterWindowMessageA("TaskbarCreated")), m_walkClassName(kClassNameSize)
{
}

// Members go in reverse order: the tray icon first, then the window lists,
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
    if (g_pApp->m_settings.ResMode != 0)
        MorLatch(hwnd);
    else
        StartNormalMode();
    return 0;
}

LRESULT CMainWnd::OnDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowBase::WindowProc(hwnd, msg, wParam, lParam);
    HICON icon = m_trayIcon.GetIcon();
    m_trayIcon.Delete();
    if (icon != NULL)
        DestroyIcon(icon);
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
    SetTimer(m_hWnd, IDT_GC, g_pApp->m_settings.TimerElapseGC, NULL);
}

void CMainWnd::StopNormalMode()
{
    KillTimer(m_hWnd, IDT_CONVERT);
    KillTimer(m_hWnd, IDT_GC);
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
    // The menu must belong to the foreground window or it will not close when
    // the user clicks elsewhere.
    SetForegroundWindow(hwnd);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd, NULL);
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
    }
    return 0;
}

BOOL CMainWnd::SetSuspended(BOOL suspended)
{
    m_bSuspended = suspended;
    HICON icon = LoadTrayIcon(suspended ? IDI_MORVANE_STOPPED : IDI_MORVANE);
    CGString tip(128);
    tip.LoadText(suspended ? IDS_APP_NAME_STOPPED : IDS_APP_NAME);
    HICON shown = m_trayIcon.GetIcon();
    m_trayIcon.Modify(NIF_ICON | NIF_TIP, icon, tip.Text());
    // Exactly one icon stays loaded: the one the tray shows.
    HICON stale = m_trayIcon.GetIcon() == icon ? shown : icon;
    if (stale != NULL)
        DestroyIcon(stale);
    return TRUE;
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
    if (dialog.DoModal(NULL) != IDOK)
        return;
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
    if (wParam == IDT_CONVERT)
        ConvertTick();
    else if (wParam == IDT_GC)
        CleanupTick();
    return 0;
}

void CMainWnd::ConvertTick()
{
    if (m_bSuspended || m_bPaused)
        return;
    HWND foreground = GetForegroundWindow();
    if (foreground == NULL)
        return;
    m_pCurTop = m_wndList.FindTopEntry(foreground);
    if (m_pCurTop == NULL) {
        CWndEntry entryTemplate(foreground, "");
        m_pCurTop = m_wndList.AddTopEntry(entryTemplate);
        if (m_pCurTop == NULL)
            return;
    }
    EnumChildWindows(foreground, EnumChildProc, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK CMainWnd::EnumChildProc(HWND hwnd, LPARAM lParam)
{
    return reinterpret_cast<CMainWnd*>(lParam)->VisitChild(hwnd);
}

BOOL CMainWnd::VisitChild(HWND hwnd)
{
    // Only the walk uses it, and walks never nest: ticks arrive as posted messages.
    CGString& className = m_walkClassName;
    GetClassNameA(hwnd, className.Buffer(-1), kClassNameSize);
    className.SyncLength();
    if (!IsTargetClass(className.Text()))
        return TRUE;

    CWndEntry* child = m_wndList.FindChildEntry(m_pCurTop, hwnd);
    if (child == NULL) {
        CWndEntry entryTemplate(hwnd, "");
        child = m_wndList.AddChildEntry(m_pCurTop, entryTemplate);
        if (child == NULL)
            return FALSE;
    }
    char text[kTextSize];
    text[0] = '\0';
    GetWindowTextA(hwnd, text, kTextSize);
    // Still what the walker left there (or still empty): nothing to do.
    if (child->m_text.Compare(text, FALSE) == 0)
        return TRUE;
    CGString output(kOutputSize);
    BOOL answered = ConvertWindow(hwnd, className.Text(), text, output);
    child->m_text.Assign(output);
    // A window that does not answer would make every further control of it
    // wait as long: leave the rest for the next tick.
    return answered;
}

BOOL CMainWnd::IsTargetClass(const char* className)
{
    for (const char* target : kTargetClasses) {
        if (strcmp(className, target) == 0)
            return TRUE;
    }
    return FALSE;
}

// Returns FALSE only when the window did not answer the write-back in time.
BOOL CMainWnd::ConvertWindow(HWND hwnd, const char* className, const char* text, CGString& output)
{
    CEngine* engine = g_pApp->m_pEngine;
    if (engine == NULL)
        return TRUE;
    BOOL converted = engine->ConvertCaptionString(className, text, output.Buffer(-1), output.Capacity());
    output.SyncLength();
    if (!converted)
        return TRUE;
    DWORD_PTR result;
    if (!SendMessageTimeoutA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(output.Text()), SMTO_ABORTIFHUNG,
                             kWriteBackTimeout, &result) &&
        IsWindow(hwnd))
        return FALSE;
    InvalidateRect(hwnd, NULL, TRUE);
    return TRUE;
}

LRESULT CMainWnd::OnHookCreated(HWND, UINT, WPARAM wParam, LPARAM)
{
    if (m_bSuspended || m_bPaused)
        return 0;
    HWND created = reinterpret_cast<HWND>(wParam);
    CGString className(kClassNameSize);
    GetClassNameA(created, className.Buffer(-1), kClassNameSize);
    className.SyncLength();
    if (!IsTargetClass(className.Text()))
        return 0;
    char text[kTextSize] = "";
    GetWindowTextA(created, text, kTextSize);
    CGString output(kOutputSize);
    ConvertWindow(created, className.Text(), text, output);
    return 0;
}

void CMainWnd::CleanupTick()
{
    CWndEntry* entry = m_wndList.GetBucketHead(m_nGCBucket);
    while (entry != NULL) {
        CWndEntry* next = m_wndList.GetNextEntry(entry);
        if (!IsWindow(entry->m_hWnd))
            m_wndList.RemoveTopEntry(entry);
        entry = next;
    }
    m_nGCBucket = (m_nGCBucket + 1) % 256;
}
