#pragma once

#include "app/AppBase.h"
#include "app/MainWnd.h"
#include "settings/Settings.h"

class CEngine;

// The one application object: owns the settings, the current engine and the
// hidden main window for the whole run.
class CMorvaneApp : public CAppBase {
public:
    CMorvaneApp();
    ~CMorvaneApp() override;

    BOOL InitInstance() override;
    void ExitInstance() override;

    BOOL LoadEngine(const char* path);
    void SaveSettings();
    int ShowMessage(HWND owner, const char* text, UINT type, DWORD errorCode);
    int ShowMessage(HWND owner, UINT textId, UINT type, DWORD errorCode);

    CSettings m_settings;
    CEngine* m_pEngine;
    CMainWnd m_mainWnd;

private:
    void ReleaseEngine();

    // Stored preferences are written back only when they were read first, so
    // that a start-up failing earlier cannot overwrite them with defaults.
    BOOL m_bSettingsLoaded;
};

extern CMorvaneApp* g_pApp;
