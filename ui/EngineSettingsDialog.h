#pragma once

#include "foundation/GString.h"
#include "foundation/IconDialog.h"
#include "ui/EngineListView.h"

// Chooses the engine folder and the engine, previews the sample string, and
// opens the selected engine's own settings and about boxes.
class CEngineSettingsDialog : public CIconDialog {
public:
    CEngineSettingsDialog();

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    CGString m_enginePath;   // in: the active engine; out: the engine selected
    CGString m_engineFolder; // in: the setting; out: the folder shown
    CGString m_sampleString; // in: the setting; out: possibly changed
    CEngineListView m_engineList;

private:
    LRESULT OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnOK(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEngineAbout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnChangeFolder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEngineSetting(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnChangeSample(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    void UpdateButtons();
    void UpdatePreview();
    CEngine* InitializedSelection();

    // The selected engine whose start failed; not tried again until another selection.
    CEngine* m_pInitFailed;
};
