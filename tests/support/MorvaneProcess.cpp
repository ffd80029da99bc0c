#include "tests/support/MorvaneProcess.h"

void MorvaneProcessTest::TearDown()
{
    m_morvane.Kill();
}

HWND MorvaneProcessTest::StartMorvane()
{
    if (!m_morvane.Start("\"" + Bin("Morvane.exe") + "\""))
        return nullptr;
    m_hMainWnd = WaitForTopLevelWindow("MorvaneWndClass", m_morvane.Id(), 15000);
    return m_hMainWnd;
}

int MorvaneProcessTest::ExitMorvane()
{
    Command(40001);
    return m_morvane.WaitExit(15000);
}

void MorvaneProcessTest::Command(WPARAM id)
{
    PostMessageA(m_hMainWnd, WM_COMMAND, id, 0);
}
