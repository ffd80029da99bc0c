#include "app/MorvaneApp.h"

#include <commctrl.h>

#include "conversion/Engine.h"
#include "conversion/EngineHolder.h"
#include "foundation/GString.h"
#include "ui/resource.h"

#include <new>

CMorvaneApp* g_pApp = NULL;

CMorvaneApp::CMorvaneApp() : m_pEngine(NULL), m_bSettingsLoaded(FALSE) {}

CMorvaneApp::~CMorvaneApp()
{
    ReleaseEngine();
}

BOOL CMorvaneApp::InitInstance()
{
    if (!CAppBase::InitInstance())
        return FALSE;
    InitCommonControls();
    if (RegisterWindowClass(CS_DBLCLKS, 0, 0, m_hInstance, LoadIconA(NULL, IDI_APPLICATION),
                            LoadCursorA(NULL, IDC_ARROW), NULL, NULL, CMainWnd::s_pszClassName, NULL) == 0)
        return FALSE;
    if (!m_settings.Load()) {
        ShowMessage(NULL, IDS_SETTINGS_LOAD_FAILED, MB_ICONHAND, 0);
        return FALSE;
    }
    m_bSettingsLoaded = TRUE;
    LoadEngine(m_settings.Engine.Text());
    if (!m_mainWnd.CreateMainWindow())
        return FALSE;
    ShowWindow(m_mainWnd.m_hWnd, SW_HIDE);
    return TRUE;
}

void CMorvaneApp::ExitInstance()
{
    // Saved before the engine goes, so that a crash in the engine's exit
    // cannot lose the user's preferences.
    SaveSettings();
    ReleaseEngine();
}

void CMorvaneApp::SaveSettings()
{
    if (m_bSettingsLoaded)
        m_settings.Save();
}

void CMorvaneApp::ReleaseEngine()
{
    CEngine* engine = m_pEngine;
    if (engine == NULL)
        return;
    // No longer current while it ends: a fault in its exit is reported at
    // once instead of being posted to a window that may be gone.
    m_pEngine = NULL;
    engine->ExitEngine();
    engine->Unload();
    delete engine;
}

BOOL CMorvaneApp::LoadEngine(const char* path)
{
    ReleaseEngine();
    if (path == NULL || path[0] == '\0')
        return TRUE;

    CEngineHolder holder(new (std::nothrow) CEngine(FALSE, this));
    if (holder.Get() == NULL)
        return FALSE;
    if (!holder.Get()->Load(path))
        return FALSE;
    if (!holder.Get()->InitEngine()) {
        if (!holder.Get()->IsFaulted())
            ShowMessage(NULL, IDS_ENGINE_INIT_FAILED, MB_ICONEXCLAMATION, 0);
        return FALSE;
    }
    m_pEngine = holder.Release();
    return TRUE;
}

void CMorvaneApp::OnEngineLoadFailed(UINT textId, UINT style, DWORD errorCode)
{
    ShowMessage(NULL, textId, style, errorCode);
}

void CMorvaneApp::OnEngineFaulted(CEngine* engine, DWORD exceptionCode)
{
    // Any other engine belongs to whoever is using it (the engine list, a
    // load in progress), which drops it once the call has returned.
    if (engine != m_pEngine) {
        ShowEngineFault(engine->GetPath(), exceptionCode);
        return;
    }
    // The walker or a dialog may be using the current engine further up the
    // stack: it stops being current now, refusing every call, and is freed
    // from the message loop. The Engine setting stays as it is.
    m_pEngine = NULL;
    if (!PostMessageA(m_mainWnd.m_hWnd, WM_ENGINE_FAULTED, exceptionCode, reinterpret_cast<LPARAM>(engine)))
        ShowEngineFault(engine->GetPath(), exceptionCode);
}

void CMorvaneApp::DropFaultedEngine(CEngine* engine, DWORD exceptionCode)
{
    CGString path(engine->GetPath());
    // A message loop running inside one of its calls (a box of its own) got
    // here first, or the walker holds it further up the stack: freeing it
    // would pull it from under them, so it stays loaded, refusing every call,
    // until the process ends.
    if (!engine->IsInCall() && !m_mainWnd.m_walker.IsBusy())
        delete engine;
    ShowEngineFault(path.Text(), exceptionCode);
}

void CMorvaneApp::ShowEngineFault(const char* path, DWORD exceptionCode)
{
    CGString format(256);
    format.LoadText(IDS_ENGINE_FAULTED);
    char text[1024];
    wsprintfA(text, format.Text(), exceptionCode, path);
    ShowMessage(NULL, text, MB_ICONEXCLAMATION, 0);
}

int CMorvaneApp::ShowMessage(HWND owner, const char* text, UINT type, DWORD errorCode)
{
    CGString caption(128);
    caption.LoadText(IDS_APP_NAME);
    CGString message(512);
    message.Assign(text);
    if (errorCode != 0) {
        CGString format(128);
        format.LoadText(IDS_ERROR_DETAILS);
        char details[512];
        wsprintfA(details, format.Text(), errorCode);
        message.Append(details);
    }
    return MessageBoxA(owner, message.Text(), caption.Text(), type);
}

int CMorvaneApp::ShowMessage(HWND owner, UINT textId, UINT type, DWORD errorCode)
{
    CGString text(128);
    text.LoadText(textId);
    return ShowMessage(owner, text.Text(), type, errorCode);
}
