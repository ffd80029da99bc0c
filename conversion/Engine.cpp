#include "conversion/Engine.h"

#include <cstring>

#include "conversion/EngineOwner.h"
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

} // namespace

CEngine::CEngine(BOOL silent, CEngineOwner* owner)
    : m_hModule(NULL), m_bInitialized(FALSE), m_bSilent(silent), m_pfnGetAPIVersion(NULL),
      m_pfnGetEngineDescription(NULL), m_pfnGetEngineVersion(NULL), m_pfnInitEngine(NULL), m_pfnExitEngine(NULL),
      m_pfnConvertCaptionString(NULL), m_pfnOnAbout(NULL), m_pfnOnSetting(NULL), m_pOwner(owner), m_nFaultCode(0),
      m_nCallDepth(0)
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
    if (m_nFaultCode != 0)
        return FALSE;
    ++m_nCallDepth;
    DWORD code = CFaultGuard::Run(call);
    --m_nCallDepth;
    if (code == 0)
        return TRUE;
    // A nested call may have faulted first; the owner hears of it once.
    if (m_nFaultCode == 0) {
        m_nFaultCode = code;
        if (m_pOwner != NULL)
            m_pOwner->OnEngineFaulted(this, code);
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
    if (m_hModule == NULL)
        return;
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
    if (!m_bInitialized || Resolve(m_pfnConvertCaptionString, "TXVConvertCaptionString") == NULL)
        return FALSE;
    return GuardedText([&] { return m_pfnConvertCaptionString(className, text, outBuffer, outSize); }, outBuffer,
                       outSize);
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
