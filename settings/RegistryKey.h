#pragma once

#include <windows.h>

class CGString;

// One open key under HKEY_CURRENT_USER, closed by its owner's destructor.
class CRegistryKey {
public:
    CRegistryKey() : m_hKey(NULL) {}
    virtual ~CRegistryKey();

    BOOL Open(const char* subKey, BOOL forReading);
    void Close();
    BOOL QueryString(const char* valueName, CGString& out);
    BOOL QueryDWORD(const char* valueName, DWORD* out);
    BOOL SetString(const char* valueName, const char* text);
    BOOL SetDWORD(const char* valueName, DWORD value);

    HKEY m_hKey;

private:
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;
};
