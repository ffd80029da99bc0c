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
    if (m_pEngine == NULL)
        return;
    m_pEngine->ExitEngine();
    m_pEngine->Unload();
    delete m_pEngine;
    m_pEngine = NULL;
}

BOOL CMorvaneApp::LoadEngine(const char* path)
{
    ReleaseEngine();
    if (path == NULL || path[0] == '\0')
        return TRUE;

    CEngineHolder holder(new (std::nothrow) CEngine(FALSE));
    if (holder.Get() == NULL)
        return FALSE;
    if (!holder.Get()->Load(path))
        return FALSE;
    if (!holder.Get()->InitEngine()) {
        ShowMessage(NULL, IDS_ENGINE_INIT_FAILED, MB_ICONEXCLAMATION, 0);
        return FALSE;
    }
    m_pEngine = holder.Release();
    return TRUE;
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
