#include "tests/support/SavedValue.h"

CSavedValue::CSavedValue(const char* key, const char* name) : m_key(key), m_value{name, REG_NONE, ""}
{
    m_bExisted = m_key.Load(name, &m_value);
}

CSavedValue::~CSavedValue()
{
    if (m_bExisted)
        m_key.Store(m_value);
    else
        m_key.Remove(m_value.name.c_str());
}
