#include "app/QelException.h"

#include "app/AppBase.h"
#include "ui/resource.h"

namespace {

// Loaded into fixed storage: the text must be available when memory is not.
const char* LoadErrorText(UINT id, char* buffer, int size)
{
    HINSTANCE instance = CAppBase::s_pRunningApp ? CAppBase::s_pRunningApp->m_hInstance : GetModuleHandleA(NULL);
    if (LoadStringA(instance, id, buffer, size) == 0)
        buffer[0] = '\0';
    return buffer;
}

CQelMemoryException s_memoryException;

} // namespace

const char* CQelException::GetErrorText() const
{
    static char text[128];
    return LoadErrorText(IDS_INTERNAL_ERROR, text, sizeof(text));
}

const char* CQelMemoryException::GetErrorText() const
{
    static char text[128];
    return LoadErrorText(IDS_OUT_OF_MEMORY, text, sizeof(text));
}

void ThrowMemoryException()
{
    throw &s_memoryException;
}
