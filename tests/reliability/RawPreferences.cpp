#include "tests/reliability/RawPreferences.h"

#include "tests/support/Cp932.h"
#include "tests/support/ProcessDriver.h"

namespace {

const char* const kPreferencesKey = "Software\\Quorvel\\Morvane\\Preferences";

} // namespace

const char* const kPreferenceNames[7] = {"Engine",          "EngineFolder",  "SampleString", "ShowChangeEngineInfo",
                                         "TimerElapseConv", "TimerElapseGC", "ResMode"};

RawValue SzValue(const char* name, const std::string& text)
{
    return RawValue{name, REG_SZ, text + '\0'};
}

RawValue DwordValue(const char* name, DWORD value)
{
    return RawValue{name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof(value))};
}

void StoreRaw(const RawValue& value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kPreferencesKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                   static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
}

bool LoadRaw(const char* name, RawValue* value)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPreferencesKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
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

std::vector<RawValue> DefaultPreferences()
{
    return {SzValue("Engine", ""),
            SzValue("EngineFolder", BinaryFolder()),
            SzValue("SampleString", Cp932("サンプル文字列です。")),
            DwordValue("ShowChangeEngineInfo", 1),
            DwordValue("TimerElapseConv", 100),
            DwordValue("TimerElapseGC", 500),
            DwordValue("ResMode", 0),
            DwordValue("ToggleHotKey", 0x0006007B)};
}
