#pragma once

#include <windows.h>

#include <string>

#include "conversion/TxvEngineApi.h"

// An engine library loaded straight, so that a test calls its exports exactly
// as given, without the host's checks in between.
class CEngineLibrary {
public:
    explicit CEngineLibrary(const std::string& path) : m_hModule(LoadLibraryA(path.c_str())) {}
    ~CEngineLibrary()
    {
        if (m_hModule != NULL)
            FreeLibrary(m_hModule);
    }
    CEngineLibrary(const CEngineLibrary&) = delete;
    CEngineLibrary& operator=(const CEngineLibrary&) = delete;

    bool IsLoaded() const { return m_hModule != NULL; }
    bool Has(const char* name) const { return GetProcAddress(m_hModule, name) != NULL; }

    template <typename T> T Export(const char* name) const
    {
        return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(m_hModule, name)));
    }

    BOOL Convert(const char* text, char* outBuffer, int outBufferSize) const
    {
        return Export<PFN_TXVConvertCaptionString>("TXVConvertCaptionString")("Button", text, outBuffer,
                                                                              outBufferSize);
    }

private:
    HMODULE m_hModule;
};
