#pragma once

#include <windows.h>

// The reusable application base: start-up parameters, the running application
// that the foundation takes its instance handle from, and the life cycle.
class CAppBase {
public:
    CAppBase();
    virtual ~CAppBase();

    virtual BOOL InitInstance();
    virtual void ExitInstance();
    virtual int Run();

    int Execute(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow);

    static CAppBase* s_pRunningApp;

    HINSTANCE m_hInstance;
    HINSTANCE m_hPrevInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
};
