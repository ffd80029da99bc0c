#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <utility>

// One registry value exactly as the registry holds it: any type, any size,
// terminated or not.
struct RawValue {
    std::string name;
    DWORD type;
    std::string data;

    bool operator==(const RawValue& other) const
    {
        return name == other.name && type == other.type && data == other.data;
    }
};

// A REG_SZ value with its terminator.
RawValue SzValue(const char* name, const std::string& text);
RawValue DwordValue(const char* name, DWORD value);

// Briefly, for long data.
std::ostream& operator<<(std::ostream& out, const RawValue& value);

// A key of the current user, read and written value by value with the system's
// own calls, never with the program's registry code under test.
class CUserKey {
public:
    explicit CUserKey(std::string path) : m_path(std::move(path)) {}

    // Creates the key when it is missing.
    bool Store(const RawValue& value) const;
    // False when the value or the key is missing.
    bool Load(const char* name, RawValue* value) const;
    bool Remove(const char* name) const;
    bool Exists() const;
    // The key with its values; it must have no subkeys.
    void Delete() const;

    bool SetString(const char* name, const std::string& text) const { return Store(SzValue(name, text)); }
    bool SetDWORD(const char* name, DWORD value) const { return Store(DwordValue(name, value)); }
    // A REG_SZ value up to its first zero.
    bool GetString(const char* name, std::string* text) const;
    // A REG_DWORD value of four bytes.
    bool GetDWORD(const char* name, DWORD* value) const;

private:
    std::string m_path;
};
