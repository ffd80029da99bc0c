#pragma once

#include "tests/support/UserKey.h"

// A value of a key of the current user, put back as it was (or removed again)
// when the object goes.
class CSavedValue {
public:
    CSavedValue(const char* key, const char* name);
    ~CSavedValue();
    CSavedValue(const CSavedValue&) = delete;
    CSavedValue& operator=(const CSavedValue&) = delete;

private:
    CUserKey m_key;
    RawValue m_value;
    bool m_bExisted;
};
