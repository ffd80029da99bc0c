#pragma once

#include <windows.h>

class CEngine;

// What an engine host tells whoever owns its engine, so that the host needs
// to know nothing of the program around it.
class CEngineOwner {
public:
    virtual ~CEngineOwner() {}

    // Loading failed: a string-table text, a message-box style and the
    // system error code (0 for none). Silent engines never report.
    virtual void OnEngineLoadFailed(UINT textId, UINT style, DWORD errorCode) = 0;

    // The engine raised an exception (its code given) or stopped responding
    // (CEngineThread::kHungCode), and refuses every call from now on. A call
    // further up the stack may still be inside it: the owner must not delete
    // it from here.
    virtual void OnEngineFaulted(CEngine* engine, DWORD exceptionCode) = 0;
};
