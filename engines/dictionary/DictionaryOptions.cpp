#include "DictionaryOptions.h"

#include <windows.h>

namespace {

const char kKey[] = "Software\\Quorvel\\Morvane\\Dictionary";
const char kCapture[] = "CaptureUntranslated";

} // namespace

// A missing or damaged value leaves the default.
void CDictionaryOptions::Load()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key, kCapture, NULL, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(value))
        m_bCapture = value != 0;
    RegCloseKey(key);
}

void CDictionaryOptions::Save() const
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    DWORD value = m_bCapture ? 1 : 0;
    RegSetValueExA(key, kCapture, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}
