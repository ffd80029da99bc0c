#include "conversion/Engine.h"

#include <cstring>

#include "conversion/EngineOwner.h"
#include "conversion/EngineThread.h"
#include "conversion/FaultGuard.h"
#include "ui/resource.h"

namespace {

// An engine that fills a buffer to the last byte without terminating it must
// not make the host read beyond it: the text of a successful call is cut at
// the last whole character that leaves room for the terminator.
BOOL TerminatedInside(BOOL result, char* buffer, int size)
{
    if (!result || buffer == NULL || size <= 0 || memchr(buffer, '\0', size) != NULL)
        return result;
    int end = 0;
    while (end < size - 1) {
        int next = end + (IsDBCSLeadByte(static_cast<BYTE>(buffer[end])) ? 2 : 1);
        if (next > size - 1)
            break;
        end = next;
    }
    buffer[end] = '\0';
    return result;
}

// The libraries of the engines stopped in this run, loaded still in whatever
// state they stopped. Beyond this many, later ones are not remembered.
HMODULE s_stoppedLibraries[32];
int s_nStoppedLibraries = 0;

} // namespace

CEngine::CEngine(BOOL silent, CEngineOwner* owner)
    : m_hModule(NULL), m_bInitialized(FALSE), m_bSilent(silent), m_pfnGetAPIVersion(NULL),
      m_pfnGetEngineDescription(NULL), m_pfnGetEngineVersion(NULL), m_pfnInitEngine(NULL), m_pfnExitEngine(NULL),
      m_pfnConvertCaptionString(NULL), m_pfnOnAbout(NULL), m_pfnOnSetting(NULL), m_pOwner(owner), m_nFaultCode(0),
      m_bInCall(FALSE), m_pThread(NULL)
{
    ZeroMemory(m_path, sizeof(m_path));
}

CEngine::~CEngine()
{
    Unload();
}

template <typename T> T CEngine::Resolve(T& slot, const char* name)
{
    if (slot == NULL && m_hModule != NULL)
        slot = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(m_hModule, name)));
    return slot;
}

template <typename F> BOOL CEngine::Guarded(F call)
{
    // A box of the engine's runs a message loop, and a conversion waits while
    // answering messages: either may ask again before the call has returned.
    if (m_nFaultCode != 0 || m_bInCall)
        return FALSE;
    m_bInCall = TRUE;
    DWORD code = CFaultGuard::Run(call);
    m_bInCall = FALSE;
    if (code == 0)
        return TRUE;
    Stop(code);
    return FALSE;
}

void CEngine::Stop(DWORD code)
{
    m_nFaultCode = code;
    // Idle after a fault, stuck in the engine after a hang: the thread goes on
    // serving what the engine made on it, and is never asked again.
    m_pThread = NULL;
    if (!IsStoppedLibrary(m_hModule) &&
        s_nStoppedLibraries < static_cast<int>(sizeof(s_stoppedLibraries) / sizeof(HMODULE)))
        s_stoppedLibraries[s_nStoppedLibraries++] = m_hModule;
    // Threads started from now on do not run its code.
    DisableThreadLibraryCalls(m_hModule);
    if (m_pOwner != NULL)
        m_pOwner->OnEngineFaulted(this, code);
}

BOOL CEngine::IsStoppedLibrary(HMODULE module)
{
    for (int i = 0; i < s_nStoppedLibraries; ++i) {
        if (s_stoppedLibraries[i] == module)
            return TRUE;
    }
    return FALSE;
}

template <typename F> BOOL CEngine::GuardedText(F call, char* buffer, int size)
{
    BOOL result = FALSE;
    if (Guarded([&] { result = call(); }))
        return TerminatedInside(result, buffer, size);
    // Whatever the engine had written when it faulted is not a text.
    if (buffer != NULL && size > 0)
        buffer[0] = '\0';
    return FALSE;
}

BOOL CEngine::Load(const char* path)
{
    if (m_hModule != NULL)
        return FALSE;
    m_hModule = LoadLibraryA(path);
    if (m_hModule == NULL) {
        DWORD error = GetLastError();
        ReportError(IDS_ENGINE_LOAD_FAILED, MB_ICONEXCLAMATION, error);
        return FALSE;
    }
    // The same library stopped earlier: loading it again would call it again.
    if (IsStoppedLibrary(m_hModule)) {
        FreeLibrary(m_hModule);
        m_hModule = NULL;
        ReportError(IDS_ENGINE_STOPPED_EARLIER, MB_ICONEXCLAMATION, 0);
        return FALSE;
    }

    // The library is freed before the user is told, so that nothing of a
    // rejected engine stays mapped while the box is up. A faulted engine has
    // been reported already.
    DWORD version = GetAPIVersion();
    if (IsFaulted()) {
        Unload();
        return FALSE;
    }
    if (version == 0) {
        Unload();
        ReportError(IDS_NOT_AN_ENGINE, MB_ICONEXCLAMATION, 0);
        return FALSE;
    }
    if ((version >> 16) > TXV_API_MAJOR_VERSION) {
        Unload();
        ReportError(IDS_ENGINE_API_TOO_HIGH, MB_ICONEXCLAMATION, 0);
        return FALSE;
    }

    Resolve(m_pfnOnAbout, "TXVOnAbout");
    Resolve(m_pfnOnSetting, "TXVOnSetting");
    lstrcpynA(m_path, path, MAX_PATH);
    return TRUE;
}

void CEngine::Unload()
{
    ExitEngine();
    // The windows, timers, threads and subclasses a stopped engine made may
    // still run its code, and so may a call further up the stack or a thread
    // that does not end: their library stays loaded until the process ends.
    BOOL keepLibrary = IsFaulted() || m_bInCall;
    if (m_pThread != NULL && !m_pThread->End())
        keepLibrary = TRUE;
    m_pThread = NULL;
    if (m_hModule == NULL)
        return;
    if (!keepLibrary)
        FreeLibrary(m_hModule);
    m_hModule = NULL;
    m_pfnGetAPIVersion = NULL;
    m_pfnGetEngineDescription = NULL;
    m_pfnGetEngineVersion = NULL;
    m_pfnInitEngine = NULL;
    m_pfnExitEngine = NULL;
    m_pfnConvertCaptionString = NULL;
    m_pfnOnAbout = NULL;
    m_pfnOnSetting = NULL;
    ZeroMemory(m_path, sizeof(m_path));
}

DWORD CEngine::GetAPIVersion()
{
    DWORD version = 0;
    if (Resolve(m_pfnGetAPIVersion, "TXVGetAPIVersion") == NULL || !Guarded([&] { version = m_pfnGetAPIVersion(); }))
        return 0;
    return version;
}

BOOL CEngine::GetEngineDescription(char* buffer, int size)
{
    if (Resolve(m_pfnGetEngineDescription, "TXVGetEngineDescription") == NULL)
        return FALSE;
    return GuardedText([&] { return m_pfnGetEngineDescription(buffer, size); }, buffer, size);
}

BOOL CEngine::GetEngineVersion(char* buffer, int size)
{
    if (Resolve(m_pfnGetEngineVersion, "TXVGetEngineVersion") == NULL)
        return FALSE;
    return GuardedText([&] { return m_pfnGetEngineVersion(buffer, size); }, buffer, size);
}

BOOL CEngine::InitEngine()
{
    BOOL result = FALSE;
    if (Resolve(m_pfnInitEngine, "TXVInitEngine") == NULL || !Guarded([&] { result = m_pfnInitEngine(); }) ||
        !result)
        return FALSE;
    m_bInitialized = TRUE;
    return TRUE;
}

void CEngine::ExitEngine()
{
    if (!m_bInitialized)
        return;
    // Cleared first: the engine is no longer usable once its exit has begun.
    m_bInitialized = FALSE;
    if (Resolve(m_pfnExitEngine, "TXVExitEngine") != NULL)
        Guarded([&] { m_pfnExitEngine(); });
}

BOOL CEngine::ConvertCaptionString(const char* className, const char* text, char* outBuffer, int outSize)
{
    if (!m_bInitialized || m_nFaultCode != 0 || m_bInCall ||
        Resolve(m_pfnConvertCaptionString, "TXVConvertCaptionString") == NULL)
        return FALSE;
    if (m_pThread == NULL && (m_pThread = CEngineThread::Start()) == NULL)
        return FALSE;
    BOOL result = FALSE;
    m_bInCall = TRUE;
    DWORD code = m_pThread->Convert(m_pfnConvertCaptionString, className, text, outBuffer, outSize, &result);
    m_bInCall = FALSE;
    if (code == 0)
        return TerminatedInside(result, outBuffer, outSize);
    if (outBuffer != NULL && outSize > 0)
        outBuffer[0] = '\0';
    Stop(code);
    return FALSE;
}

void CEngine::OnAbout(HWND owner)
{
    if (m_bInitialized && m_pfnOnAbout != NULL)
        Guarded([&] { m_pfnOnAbout(owner); });
}

void CEngine::OnSetting(HWND owner)
{
    if (m_bInitialized && m_pfnOnSetting != NULL)
        Guarded([&] { m_pfnOnSetting(owner); });
}

void CEngine::ReportError(UINT textId, UINT style, DWORD errorCode)
{
    if (!m_bSilent && m_pOwner != NULL)
        m_pOwner->OnEngineLoadFailed(textId, style, errorCode);
}
