#pragma once

#include <windows.h>

#include "conversion/TxvEngineApi.h"

class CEngineOwner;

class CEngineThread;

// One loaded engine library: Empty, Loaded (version accepted) or Initialised.
// Only an initialised engine is ever asked to convert, to show its settings or
// its about box. Every call into the engine runs under a fault guard, one at a
// time; conversions run on a thread of the engine's own, with a time limit.
// An engine that raises an exception or stops responding is stopped for good:
// it refuses every later call (its exit entry point included) and tells its
// owner; its library stays loaded until the process ends and cannot be loaded
// again meanwhile.
class CEngine {
public:
    CEngine(BOOL silent, CEngineOwner* owner);
    virtual ~CEngine();

    BOOL Load(const char* path);
    void Unload();

    DWORD GetAPIVersion();
    BOOL GetEngineDescription(char* buffer, int size);
    BOOL GetEngineVersion(char* buffer, int size);
    BOOL InitEngine();
    void ExitEngine();
    BOOL ConvertCaptionString(const char* className, const char* text, char* outBuffer, int outSize);
    BOOL HasOnAbout() const { return !IsFaulted() && m_pfnOnAbout != NULL; }
    BOOL HasOnSetting() const { return !IsFaulted() && m_pfnOnSetting != NULL; }
    void OnAbout(HWND owner);
    void OnSetting(HWND owner);
    BOOL IsInitialized() const { return m_bInitialized; }
    const char* GetPath() const { return m_path; }
    BOOL IsFaulted() const { return m_nFaultCode != 0; }
    // Whether a call into the engine is running further up the stack.
    BOOL IsInCall() const { return m_bInCall; }
    void ReportError(UINT textId, UINT style, DWORD errorCode);

private:
    CEngine(const CEngine&) = delete;
    CEngine& operator=(const CEngine&) = delete;
    // Looks an entry point up on first use and keeps it until Unload; a
    // failed lookup is tried again on the next call.
    template <typename T> T Resolve(T& slot, const char* name);
    // Runs one call into the engine; FALSE when the engine is or becomes
    // faulted, or when another call is under way.
    template <typename F> BOOL Guarded(F call);
    // A text call: a successful text is terminated inside the buffer, a faulted one emptied.
    template <typename F> BOOL GuardedText(F call, char* buffer, int size);
    // Ends the engine's use for good after a fault or a hang, and tells the owner.
    void Stop(DWORD code);
    static BOOL IsStoppedLibrary(HMODULE module);

    HMODULE m_hModule;
    BOOL m_bInitialized;
    char m_path[MAX_PATH];
    BOOL m_bSilent;
    PFN_TXVGetAPIVersion m_pfnGetAPIVersion;
    PFN_TXVGetEngineDescription m_pfnGetEngineDescription;
    PFN_TXVGetEngineVersion m_pfnGetEngineVersion;
    PFN_TXVInitEngine m_pfnInitEngine;
    PFN_TXVExitEngine m_pfnExitEngine;
    PFN_TXVConvertCaptionString m_pfnConvertCaptionString;
    PFN_TXVOnAbout m_pfnOnAbout;
    PFN_TXVOnSetting m_pfnOnSetting;
    CEngineOwner* m_pOwner;
    DWORD m_nFaultCode;
    BOOL m_bInCall;
    // Made on the first conversion; a stopped engine leaves it to whatever it was doing.
    CEngineThread* m_pThread;
};
