#include "settings/RegistryKey.h"

#include "foundation/GString.h"

CRegistryKey::~CRegistryKey()
{
    Close();
}

BOOL CRegistryKey::Open(const char* subKey, BOOL forReading)
{
    Close();
    LONG result;
    if (forReading)
        result = RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &m_hKey);
    else
        result = RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL,
                                 &m_hKey, NULL);
    if (result != ERROR_SUCCESS) {
        m_hKey = NULL;
        // Tells the caller a missing key from one it may not open.
        SetLastError(static_cast<DWORD>(result));
    }
    return result == ERROR_SUCCESS;
}

void CRegistryKey::Close()
{
    if (m_hKey == NULL)
        return;
    RegCloseKey(m_hKey);
    m_hKey = NULL;
}

BOOL CRegistryKey::QueryString(const char* valueName, CGString& out)
{
    out.Clear();
    DWORD type = REG_NONE;
    LONG result;
    for (;;) {
        // The value is never given the block's last byte: a string stored
        // without its terminating zero is terminated there.
        DWORD size = static_cast<DWORD>(out.Capacity() - 1);
        char* buffer = out.Buffer(-1);
        result = RegQueryValueExA(m_hKey, valueName, NULL, &type, reinterpret_cast<BYTE*>(buffer), &size);
        // After ERROR_MORE_DATA the buffer's contents are undefined.
        buffer[result == ERROR_SUCCESS ? size : 0] = '\0';
        out.SyncLength();
        if (result != ERROR_MORE_DATA)
            break;
        out.Reserve(static_cast<int>(size) + 1);
    }
    return result == ERROR_SUCCESS && type == REG_SZ;
}

BOOL CRegistryKey::QueryDWORD(const char* valueName, DWORD* out)
{
    DWORD type = REG_NONE;
    DWORD size = sizeof(DWORD);
    LONG result = RegQueryValueExA(m_hKey, valueName, NULL, &type, reinterpret_cast<BYTE*>(out), &size);
    // A REG_DWORD shorter than four bytes would leave part of out unwritten.
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(DWORD);
}

BOOL CRegistryKey::SetString(const char* valueName, const char* text)
{
    return RegSetValueExA(m_hKey, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1) ==
           ERROR_SUCCESS;
}

BOOL CRegistryKey::SetDWORD(const char* valueName, DWORD value)
{
    return RegSetValueExA(m_hKey, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
}
