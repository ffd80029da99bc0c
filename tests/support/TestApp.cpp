#include "tests/support/TestApp.h"

#include "app/MorvaneApp.h"

void UseTestApplication()
{
    if (g_pApp != NULL)
        return;
    g_pApp = new CMorvaneApp;
    g_pApp->m_hInstance = GetModuleHandleA(NULL);
    CAppBase::s_pRunningApp = g_pApp;
}
