#include "hook/HookThread.h"

#include <initializer_list>

#include "hook/MorLatch.h"

namespace {

// Removing the hook waits on nobody, so this is only reached by a thread that
// the system holds: Morvane then ends without it rather than not at all.
const DWORD kStopTimeout = 5000;

} // namespace

CHookThread::CHookThread()
    : m_hThread(NULL), m_nThreadId(0), m_hStarter(NULL), m_hReady(NULL), m_hTarget(NULL), m_bLatched(FALSE)
{
}

CHookThread::~CHookThread()
{
    Stop();
}

BOOL CHookThread::Start(HWND target)
{
    if (m_hThread != NULL)
        return TRUE;
    m_hTarget = target;
    m_bLatched = FALSE;
    HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, GetCurrentThread(), process, &m_hStarter, SYNCHRONIZE, FALSE, 0))
        m_hStarter = NULL;
    m_hReady = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (m_hStarter != NULL && m_hReady != NULL)
        m_hThread = CreateThread(NULL, 0, ThreadProc, this, 0, &m_nThreadId);
    if (m_hThread != NULL) {
        HANDLE started[] = {m_hReady, m_hThread};
        WaitForMultipleObjects(2, started, FALSE, INFINITE);
    }
    if (!m_bLatched) {
        if (m_hThread != NULL)
            WaitForSingleObject(m_hThread, INFINITE);
        Close();
        return FALSE;
    }
    return TRUE;
}

void CHookThread::Stop()
{
    if (m_hThread == NULL)
        return;
    PostThreadMessageA(m_nThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(m_hThread, kStopTimeout);
    Close();
}

void CHookThread::Close()
{
    for (HANDLE* handle : {&m_hThread, &m_hStarter, &m_hReady}) {
        if (*handle != NULL)
            CloseHandle(*handle);
        *handle = NULL;
    }
}

DWORD WINAPI CHookThread::ThreadProc(LPVOID param)
{
    CHookThread* self = static_cast<CHookThread*>(param);
    MSG msg;
    // The queue exists before Start returns, so that Stop's quit message finds it.
    PeekMessageA(&msg, NULL, WM_USER, WM_USER, PM_NOREMOVE);
    BOOL latched = MorLatch(self->m_hTarget) != 0;
    HANDLE starter = self->m_hStarter;
    self->m_bLatched = latched;
    SetEvent(self->m_hReady);
    if (latched) {
        Pump(starter);
        MorUnlatch();
    }
    return 0;
}

void CHookThread::Pump(HANDLE starter)
{
    for (;;) {
        if (MsgWaitForMultipleObjects(1, &starter, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0 + 1)
            return;
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return;
            DispatchMessageA(&msg);
        }
    }
}
