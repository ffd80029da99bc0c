#pragma once

#include "foundation/WindowBase.h"

class CEngine;
class CEngineOwner;

// The engine list of the engine settings dialog: one row per loadable engine
// of a folder, each row owning its silent engine object, whose faults go to
// the given owner.
class CEngineListView : public CWindowBase {
public:
    explicit CEngineListView(CEngineOwner* engineOwner);
    ~CEngineListView() override;

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    BOOL Init(HWND listView);
    BOOL Fill(const char* folder);
    BOOL AddEngine(const char* folder, const char* fileName);
    void Clear();
    BOOL SelectByName(const char* fileName);
    CEngine* GetSelectedEngine();

private:
    CEngineOwner* m_pEngineOwner;
};
