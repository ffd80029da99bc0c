#include "conversion/EngineThread.h"

#include <cstring>
#include <new>

#include "conversion/FaultGuard.h"

namespace {

// How long a call may go without returning or serving a message; once it has
// served one (a box of the engine's, waiting for the user), as long as the
// system takes to call a window that serves none hung, since the platform may
// hold up a box's thread a moment while it closes.
const DWORD kCallLimit = 1000;
const DWORD kServingLimit = 5000;
// How often a call that has not returned is asked whether its thread serves messages.
const DWORD kBeatPeriod = 100;
// How long at the start of a call the messages other threads send wait.
const DWORD kQuietPeriod = 100;
// Most conversions take microseconds: the caller looks this many times for the
// end of the call before it waits on the event, which costs far more.
const int kSpins = 2000;
const char* const kBeatClass = "MorvaneEngineThread";

// Waits for the object, meanwhile handling the messages other threads send to
// this one (a hook report, a test asking whether the program still answers, a
// box of the engine's disabling its owner), so that none of them waits on the
// engine as well.
BOOL WaitAnswering(HANDLE object, DWORD timeout)
{
    DWORD start = GetTickCount();
    DWORD elapsed = 0;
    while (MsgWaitForMultipleObjectsEx(1, &object, timeout - elapsed, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        elapsed = GetTickCount() - start;
        if (elapsed > timeout)
            elapsed = timeout;
    }
    return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
}

BOOL FitsIn(const char* text, size_t size)
{
    return text != NULL && memchr(text, '\0', size) != NULL;
}

} // namespace

CEngineThread::CEngineThread()
    : m_hThread(NULL), m_nThreadId(0), m_hCallReady(CreateEventA(NULL, FALSE, FALSE, NULL)),
      m_hCallDone(CreateEventA(NULL, FALSE, FALSE, NULL)), m_hBeat(NULL), m_nCall(0), m_nDone(0), m_nServedAt(0),
      m_bServed(FALSE), m_bEnd(FALSE), m_bQuitting(FALSE), m_nLateFault(0), m_nCode(0), m_pfnConvert(NULL),
      m_bResult(FALSE), m_nOutputSize(0)
{
    m_className[0] = '\0';
    m_text[0] = '\0';
}

CEngineThread::~CEngineThread()
{
    if (m_hThread != NULL)
        CloseHandle(m_hThread);
    if (m_hCallReady != NULL)
        CloseHandle(m_hCallReady);
    if (m_hCallDone != NULL)
        CloseHandle(m_hCallDone);
}

CEngineThread* CEngineThread::Start()
{
    CEngineThread* thread = new (std::nothrow) CEngineThread;
    if (thread == NULL)
        return NULL;
    if (thread->m_hCallReady != NULL && thread->m_hCallDone != NULL)
        thread->m_hThread = CreateThread(NULL, 0, ThreadProc, thread, 0, &thread->m_nThreadId);
    if (thread->m_hThread == NULL) {
        delete thread;
        return NULL;
    }
    return thread;
}

BOOL CEngineThread::End()
{
    m_bEnd = TRUE;
    SetEvent(m_hCallReady);
    // The windows the engine made on the thread are destroyed as it ends, so its code must still be there.
    if (!WaitAnswering(m_hThread, kCallLimit))
        return FALSE;
    delete this;
    return TRUE;
}

DWORD CEngineThread::Convert(PFN_TXVConvertCaptionString function, const char* className, const char* text,
                             char* output, int outputSize, BOOL* result)
{
    *result = FALSE;
    if (m_nLateFault != 0)
        return m_nLateFault;
    // The program ends: nothing more is converted, so no further box of the engine's holds it up.
    if (m_bQuitting)
        return 0;
    if (!FitsIn(className, sizeof(m_className)) || !FitsIn(text, sizeof(m_text)) || output == NULL || outputSize <= 0 ||
        outputSize > static_cast<int>(sizeof(m_output)))
        return 0;
    m_pfnConvert = function;
    strcpy(m_className, className);
    strcpy(m_text, text);
    ZeroMemory(m_output, sizeof(m_output));
    m_nOutputSize = outputSize;
    ++m_nCall;
    m_nServedAt = GetTickCount();
    m_bServed = FALSE;
    SetEvent(m_hCallReady);
    for (int spin = 0; spin < kSpins && m_nDone != m_nCall; ++spin)
        YieldProcessor();
    // What the thread wrote before it marked the call done is read after.
    MemoryBarrier();
    DWORD code = m_nDone == m_nCall ? m_nCode : AwaitCall();
    if (code != 0)
        return code;
    memcpy(output, m_output, outputSize);
    *result = m_bResult;
    return 0;
}

DWORD CEngineThread::AwaitCall()
{
    DWORD beatAt = GetTickCount();
    for (;;) {
        // Once the engine runs a message loop of its own (a box), this thread
        // runs one too, as it did when such a box ran on it; until then posted
        // messages wait, so that nothing starts or ends an engine call meanwhile.
        BOOL everything = m_bServed && !m_bQuitting;
        // For a first moment even sent messages wait: a hook report taken now
        // would find the walker busy and be put off past its window's creation,
        // while one that waits is converted as the window is created.
        BOOL quiet = !everything && GetTickCount() - m_nServedAt < kQuietPeriod;
        DWORD waited = MsgWaitForMultipleObjectsEx(1, &m_hCallDone, kBeatPeriod,
                                                   quiet ? 0 : everything ? QS_ALLINPUT : QS_SENDMESSAGE,
                                                   MWMO_INPUTAVAILABLE);
        // The event may be left set by a call whose end was seen before it.
        if (waited == WAIT_OBJECT_0 && m_nDone == m_nCall)
            return m_nCode;
        if (waited == WAIT_OBJECT_0 + 1)
            ServeCaller(everything);
        DWORD now = GetTickCount();
        if (now - m_nServedAt >= (m_bServed ? kServingLimit : kCallLimit))
            return kHungCode;
        // Served whenever the thread looks at its messages, in whatever loop it runs.
        if (now - beatAt >= kBeatPeriod && m_hBeat != NULL) {
            beatAt = now;
            SendNotifyMessageA(m_hBeat, WM_NULL, static_cast<WPARAM>(m_nCall), 0);
        }
    }
}

void CEngineThread::ServeCaller(BOOL everything)
{
    MSG msg;
    if (!everything) {
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        return;
    }
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program ends: so does the engine's box, as it would have on
            // this thread, and then the loop this call was made from.
            m_bQuitting = TRUE;
            PostThreadMessageA(m_nThreadId, WM_QUIT, msg.wParam, 0);
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

LRESULT CALLBACK CEngineThread::BeatProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CEngineThread* thread = reinterpret_cast<CEngineThread*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg != WM_NULL || thread == NULL)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    // A beat of an earlier call, served late, says nothing of this one.
    if (wParam != static_cast<WPARAM>(thread->m_nCall))
        return 0;
    thread->m_nServedAt = GetTickCount();
    thread->m_bServed = TRUE;
    return 0;
}

DWORD WINAPI CEngineThread::ThreadProc(void* parameter)
{
    static_cast<CEngineThread*>(parameter)->Serve();
    return 0;
}

void CEngineThread::Serve()
{
    // Registered by the first thread; of a class the walker never converts.
    WNDCLASSA beatClass;
    ZeroMemory(&beatClass, sizeof(beatClass));
    beatClass.lpfnWndProc = BeatProc;
    beatClass.hInstance = GetModuleHandleA(NULL);
    beatClass.lpszClassName = kBeatClass;
    RegisterClassA(&beatClass);
    HWND beat = CreateWindowExA(0, kBeatClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, beatClass.hInstance, NULL);
    if (beat != NULL)
        SetWindowLongPtrA(beat, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_hBeat = beat;
    auto call = [this] { m_bResult = m_pfnConvert(m_className, m_text, m_output, m_nOutputSize); };
    for (;;) {
        DWORD waited = MsgWaitForMultipleObjectsEx(1, &m_hCallReady, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (waited == WAIT_OBJECT_0 + 1) {
            ServeMessages();
            continue;
        }
        if (waited != WAIT_OBJECT_0 || m_bEnd)
            break;
        m_nCode = CFaultGuard::Run(call);
        InterlockedExchange(&m_nDone, m_nCall);
        SetEvent(m_hCallDone);
    }
    if (m_hBeat != NULL)
        DestroyWindow(m_hBeat);
}

void CEngineThread::ServeMessages()
{
    // A quit message the engine posts does not end the thread its conversions need.
    auto serve = [] {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    };
    DWORD code = CFaultGuard::Run(serve);
    if (code != 0 && m_nLateFault == 0)
        m_nLateFault = code;
}
