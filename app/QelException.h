#pragma once

#include <windows.h>

// The program's only exceptions. They are thrown by pointer and never deleted:
// memory exhaustion throws the address of one static CQelMemoryException.
class CQelException {
public:
    explicit CQelException(DWORD errorCode) : m_nErrorCode(errorCode) {}
    virtual ~CQelException() {}
    virtual const char* GetErrorText() const;

protected:
    DWORD m_nErrorCode;
};

class CQelMemoryException : public CQelException {
public:
    CQelMemoryException() : CQelException(0) {}
    const char* GetErrorText() const override;
};

[[noreturn]] void ThrowMemoryException();
