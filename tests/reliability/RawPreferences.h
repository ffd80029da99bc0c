#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One value of the preferences key exactly as the registry holds it: any
// type, any size, terminated or not.
struct RawValue {
    std::string name;
    DWORD type;
    std::string data;

    bool operator==(const RawValue& other) const
    {
        return name == other.name && type == other.type && data == other.data;
    }
};

RawValue SzValue(const char* name, const std::string& text);
RawValue DwordValue(const char* name, DWORD value);

void StoreRaw(const RawValue& value);
// False when the value is missing.
bool LoadRaw(const char* name, RawValue* value);

// The seven preference names, in the order they are saved.
extern const char* const kPreferenceNames[7];

// What a run of Morvane that starts from the defaults writes at exit.
std::vector<RawValue> DefaultPreferences();
