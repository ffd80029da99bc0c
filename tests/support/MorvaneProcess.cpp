#include "tests/support/MorvaneProcess.h"

#include "ui/resource.h"

HWND StartMorvane(CChildProcess& morvane, DWORD timeoutMs)
{
    if (!morvane.Start("\"" + BinaryFolder() + "\\Morvane.exe\""))
        return nullptr;
    return WaitForTopLevelWindow("MorvaneWndClass", morvane.Id(), timeoutMs);
}

int ExitMorvane(CChildProcess& morvane, HWND mainWnd, DWORD timeoutMs)
{
    PostMessageA(mainWnd, WM_COMMAND, ID_TRAY_EXIT, 0);
    int code = morvane.WaitExit(timeoutMs);
    if (code == -1)
        morvane.Kill();
    return code;
}

void MorvaneProcessTest::TearDown()
{
    m_morvane.Kill();
}

HWND MorvaneProcessTest::StartMorvane()
{
    m_hMainWnd = ::StartMorvane(m_morvane, 15000);
    return m_hMainWnd;
}

int MorvaneProcessTest::ExitMorvane()
{
    return ::ExitMorvane(m_morvane, m_hMainWnd, 15000);
}

void MorvaneProcessTest::Command(WPARAM id)
{
    PostMessageA(m_hMainWnd, WM_COMMAND, id, 0);
}
