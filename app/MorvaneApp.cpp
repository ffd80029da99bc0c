#include "app/MorvaneApp.h"

#include <commctrl.h>

#include "conversion/Engine.h"
#include "conversion/EngineHolder.h"
#include "conversion/EngineThread.h"
#include "foundation/GString.h"
#include "foundation/IconDialog.h"
#include "ui/resource.h"

#include <new>

CMorvaneApp* g_pApp = NULL;

CMorvaneApp::CMorvaneApp() : m_pEngine(NULL), m_bSettingsLoaded(FALSE), m_pStoppedEngine(NULL), m_nStoppedCode(0) {}

CMorvaneApp::~CMorvaneApp()
{
    ReleaseEngine();
    delete m_pStoppedEngine;
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
    // from the message loop. The Engine setting stays as it is. Should another
    // one be waiting there already, this one is told of at once and kept.
    m_pEngine = NULL;
    if (m_pStoppedEngine == NULL) {
        m_pStoppedEngine = engine;
        m_nStoppedCode = exceptionCode;
        if (PostMessageA(m_mainWnd.m_hWnd, WM_ENGINE_FAULTED, 0, 0))
            return;
        m_pStoppedEngine = NULL;
    }
    ShowEngineFault(engine->GetPath(), exceptionCode);
}

void CMorvaneApp::DropFaultedEngine()
{
    CEngine* engine = m_pStoppedEngine;
    if (engine == NULL)
        return;
    m_pStoppedEngine = NULL;
    CGString path(engine->GetPath());
    // A message loop running inside one of its calls (a box of its own) got
    // here first, or the walker holds it further up the stack: freeing it
    // would pull it from under them, so it stays, refusing every call, until
    // the process ends. Its library stays loaded either way.
    if (!engine->IsInCall() && !m_mainWnd.m_walker.IsBusy())
        delete engine;
    ShowEngineFault(path.Text(), m_nStoppedCode);
}

void CMorvaneApp::ShowEngineFault(const char* path, DWORD exceptionCode)
{
    BOOL hung = exceptionCode == CEngineThread::kHungCode;
    CGString format(256);
    format.LoadText(hung ? IDS_ENGINE_HUNG : IDS_ENGINE_FAULTED);
    char text[1024];
    if (hung)
        wsprintfA(text, format.Text(), path);
    else
        wsprintfA(text, format.Text(), exceptionCode, path);
    // Owned by the innermost dialog, which cannot free the engines it lists while the box is up.
    HWND owner = CIconDialog::s_pTopDialog != NULL ? CIconDialog::s_pTopDialog->m_hWnd : NULL;
    ShowMessage(owner, text, MB_ICONEXCLAMATION, 0);
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
