#pragma once

#include <windows.h>

#include "conversion/TxvEngineApi.h"

// The thread on which one engine's conversions run, so that an engine that
// never returns holds up this thread alone. The caller waits for each call
// with a bound, answering meanwhile the messages other threads send it; the
// time runs out only while the thread serves no messages either, since an
// engine that shows a box of its own is waiting for the user, and the caller
// then serves all its messages, as it did when such a box ran on its thread.
// Between calls the thread serves its messages, so windows and timers an
// engine makes while converting go on working. Texts cross in buffers of the
// thread's own: an engine that returns after its caller gave up writes nothing
// the caller uses.
class CEngineThread {
public:
    // The code of a call that neither returned nor served messages in time; no exception has it.
    static const DWORD kHungCode = STATUS_TIMEOUT;

    // A thread ready for calls, or null when none could be made.
    static CEngineThread* Start();

    // Ends the thread and deletes the object; FALSE when the thread did not
    // end in time, and the object then stays with it, as must the engine's code.
    BOOL End();

    // 0 when the engine returned, its result in *result and its text in
    // output; otherwise the code of its exception or kHungCode, and the caller
    // must never use the object again (it belongs to its thread). Texts above
    // TXV_MAX_TEXT_LENGTH bytes, class names above 255 and outputs above
    // TXV_PREVIEW_OUTPUT_SIZE bytes are declined without a call.
    DWORD Convert(PFN_TXVConvertCaptionString function, const char* className, const char* text, char* output,
                  int outputSize, BOOL* result);

private:
    CEngineThread();
    ~CEngineThread();
    CEngineThread(const CEngineThread&) = delete;
    CEngineThread& operator=(const CEngineThread&) = delete;

    static DWORD WINAPI ThreadProc(void* parameter);
    void Serve();
    void ServeMessages();
    static LRESULT CALLBACK BeatProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The caller's side of a call: 0 or the exception's code once it is done, kHungCode when it is given up.
    DWORD AwaitCall();
    // Handles the caller's messages while it waits.
    void ServeCaller(BOOL everything);

    HANDLE m_hThread;
    DWORD m_nThreadId;
    // Set by the caller when a call (or the end) waits, by the thread when the call is done.
    HANDLE m_hCallReady;
    HANDLE m_hCallDone;
    // The thread's own window, made once it runs, which notes when the thread
    // last served a message sent to it, and whether it has during this call.
    HWND volatile m_hBeat;
    // The number of the latest call, and of the latest the thread has done.
    volatile LONG m_nCall;
    volatile LONG m_nDone;
    volatile DWORD m_nServedAt;
    volatile BOOL m_bServed;
    volatile BOOL m_bEnd;
    // The caller's thread got its quit message during a call.
    BOOL m_bQuitting;
    // A fault in the engine's windows or timers between calls, told at the next call.
    volatile DWORD m_nLateFault;
    DWORD m_nCode;
    PFN_TXVConvertCaptionString m_pfnConvert;
    BOOL m_bResult;
    int m_nOutputSize;
    char m_className[256];
    char m_text[TXV_MAX_TEXT_LENGTH + 1];
    char m_output[TXV_PREVIEW_OUTPUT_SIZE];
};
