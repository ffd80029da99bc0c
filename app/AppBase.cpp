#include "app/AppBase.h"

CAppBase* CAppBase::s_pRunningApp = NULL;

CAppBase::CAppBase() : m_hInstance(NULL), m_hPrevInstance(NULL), m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWDEFAULT) {}

CAppBase::~CAppBase() {}

BOOL CAppBase::InitInstance()
{
    return TRUE;
}

void CAppBase::ExitInstance() {}

int CAppBase::Run()
{
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int CAppBase::Execute(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow)
{
    if (s_pRunningApp != NULL)
        return 0;
    s_pRunningApp = this;
    m_hInstance = instance;
    m_hPrevInstance = prevInstance;
    m_lpCmdLine = cmdLine;
    m_nCmdShow = cmdShow;

    int result = 0;
    if (InitInstance())
        result = Run();
    ExitInstance();
    return result;
}
