#pragma once

#include "foundation/WindowBase.h"

class CEngine;

// The engine list of the engine settings dialog: one row per loadable engine
// of a folder, each row owning its silent engine object.
class CEngineListView : public CWindowBase {
public:
    CEngineListView();
    ~CEngineListView() override;

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    BOOL Init(HWND listView);
    BOOL Fill(const char* folder);
    BOOL AddEngine(const char* folder, const char* fileName);
    void Clear();
    BOOL SelectByName(const char* fileName);
    CEngine* GetSelectedEngine();
};
