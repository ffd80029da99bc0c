#include "tests/support/UserKey.h"

RawValue SzValue(const char* name, const std::string& text)
{
    return RawValue{name, REG_SZ, text + '\0'};
}

RawValue DwordValue(const char* name, DWORD value)
{
    return RawValue{name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof(value))};
}

std::ostream& operator<<(std::ostream& out, const RawValue& value)
{
    return out << value.name << " (type " << value.type << ", " << value.data.size()
               << " bytes): " << value.data.substr(0, 80);
}

bool CUserKey::Store(const RawValue& value) const
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, value.name.c_str(), 0, value.type,
                                 reinterpret_cast<const BYTE*>(value.data.data()),
                                 static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool CUserKey::Load(const char* name, RawValue* value) const
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    std::string data(size, '\0');
    if (result == ERROR_SUCCESS && size != 0)
        result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    data.resize(size);
    *value = RawValue{name, type, data};
    return true;
}

bool CUserKey::Remove(const char* name) const
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    LONG result = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool CUserKey::Exists() const
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void CUserKey::Delete() const
{
    RegDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
}

bool CUserKey::GetString(const char* name, std::string* text) const
{
    RawValue value;
    if (!Load(name, &value) || value.type != REG_SZ)
        return false;
    *text = value.data.substr(0, value.data.find('\0'));
    return true;
}

bool CUserKey::GetDWORD(const char* name, DWORD* value) const
{
    RawValue raw;
    if (!Load(name, &raw) || raw.type != REG_DWORD || raw.data.size() != sizeof(DWORD))
        return false;
    *value = *reinterpret_cast<const DWORD*>(raw.data.data());
    return true;
}
