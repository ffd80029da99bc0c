#pragma once

#include "app/AppBase.h"
#include "app/MainWnd.h"
#include "conversion/EngineOwner.h"
#include "settings/Settings.h"

class CEngine;

// The one application object: owns the settings, the current engine and the
// hidden main window for the whole run, and hears what goes wrong with every
// engine of the program.
class CMorvaneApp : public CAppBase, public CEngineOwner {
public:
    CMorvaneApp();
    ~CMorvaneApp() override;

    BOOL InitInstance() override;
    void ExitInstance() override;

    BOOL LoadEngine(const char* path);
    void SaveSettings();
    int ShowMessage(HWND owner, const char* text, UINT type, DWORD errorCode);
    int ShowMessage(HWND owner, UINT textId, UINT type, DWORD errorCode);

    void OnEngineLoadFailed(UINT textId, UINT style, DWORD errorCode) override;
    void OnEngineFaulted(CEngine* engine, DWORD exceptionCode) override;
    // The main window's handling of what OnEngineFaulted posted: frees the
    // engine and tells the user. Without a stopped engine it does nothing.
    void DropFaultedEngine();

    CSettings m_settings;
    CEngine* m_pEngine;
    CMainWnd m_mainWnd;

private:
    void ReleaseEngine();
    void ShowEngineFault(const char* path, DWORD exceptionCode);

    // Stored preferences are written back only when they were read first, so
    // that a start-up failing earlier cannot overwrite them with defaults.
    BOOL m_bSettingsLoaded;
    // The current engine that stopped, until the main window tells the user;
    // the posted message names nothing, so that another program's cannot
    // point the application anywhere.
    CEngine* m_pStoppedEngine;
    DWORD m_nStoppedCode;
};

extern CMorvaneApp* g_pApp;
