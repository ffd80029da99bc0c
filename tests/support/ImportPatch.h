#pragma once

#include <windows.h>

// Points this program's import of one system function at a replacement for as
// long as it lives, so that a test can make one call fail the way the system
// might. The program's own code and the test's reach the function through the
// same import, so a replacement passes what it does not fail on to Original().
class CImportPatch {
public:
    CImportPatch(const char* dll, const char* function, void* replacement);
    ~CImportPatch();
    CImportPatch(const CImportPatch&) = delete;
    CImportPatch& operator=(const CImportPatch&) = delete;

    bool IsApplied() const { return m_pSlot != nullptr; }
    template <typename T> T Original() const { return reinterpret_cast<T>(m_pOriginal); }

private:
    void Write(void* value);

    void** m_pSlot;
    void* m_pOriginal;
};
