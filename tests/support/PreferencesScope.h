#pragma once

#include <string>
#include <vector>

#include "tests/support/UserKey.h"

// HKCU\Software\Quorvel\Morvane\Preferences, emptied when the scope starts and
// when it ends, so that no test sees another's preferences.
class CPreferencesScope {
public:
    static const char kKey[];

    CPreferencesScope();
    ~CPreferencesScope();

    static void SetString(const char* name, const std::string& value) { Key().SetString(name, value); }
    static void SetDWORD(const char* name, DWORD value) { Key().SetDWORD(name, value); }
    static void Store(const RawValue& value) { Key().Store(value); }
    static bool GetString(const char* name, std::string* value) { return Key().GetString(name, value); }
    static bool GetDWORD(const char* name, DWORD* value) { return Key().GetDWORD(name, value); }
    static bool Load(const char* name, RawValue* value) { return Key().Load(name, value); }
    static bool Exists(const char* name);
    static void Clear() { Key().Delete(); }

private:
    static CUserKey Key() { return CUserKey(kKey); }
};

// Every preference value in the order Morvane saves them, as a first run writes them.
std::vector<RawValue> DefaultPreferences();

// Each value is stored exactly so.
void ExpectStored(const std::vector<RawValue>& expected);
