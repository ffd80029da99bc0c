#include "conversion/ControlItems.h"

#include <string.h>

namespace {

const SIZE_T kLargestStructure = 72;

} // namespace

CControlItems::CControlItems(HWND hwnd, CRemoteMemory& remote, const Messages& messages)
    : m_hWnd(hwnd), m_remote(remote), m_messages(messages)
{
}

int CControlItems::Count()
{
    LRESULT count = Ask(m_hWnd, m_messages.count, 0, 0);
    if (m_bHung)
        return -1;
    return count > 0 ? static_cast<int>(count) : 0;
}

BOOL CControlItems::Put(const char* text, int capacity)
{
    if (!m_remote.Attach(m_hWnd))
        return FALSE;
    const Layout& layout = m_remote.Is64Bit() ? m_messages.layout64 : m_messages.layout32;
    char block[CRemoteMemory::kSize] = {};
    UINT64 textAddress = m_remote.Address() + layout.size;
    memcpy(block, &m_messages.textMask, sizeof(UINT));
    memcpy(block + layout.textAt, &textAddress, m_remote.Is64Bit() ? 8 : 4);
    memcpy(block + layout.capacityAt, &capacity, sizeof(int));
    SIZE_T length = strlen(text) + 1;
    memcpy(block + layout.size, text, length);
    return m_remote.Write(0, block, layout.size + length);
}

BOOL CControlItems::Read(int index, char* text, int size)
{
    if (!Put("", size) || Ask(m_hWnd, m_messages.get, index, static_cast<LPARAM>(m_remote.Address())) == 0)
        return FALSE;
    const Layout& layout = m_remote.Is64Bit() ? m_messages.layout64 : m_messages.layout32;
    char block[kLargestStructure + 1024];
    if (layout.size + size > sizeof(block) || !m_remote.Read(0, block, layout.size + size))
        return FALSE;
    // A control may point the structure at a text of its own: only what it copied into the block is read.
    UINT64 textAddress = 0;
    memcpy(&textAddress, block + layout.textAt, m_remote.Is64Bit() ? 8 : 4);
    if (textAddress != m_remote.Address() + layout.size)
        return FALSE;
    memcpy(text, block + layout.size, size);
    text[size - 1] = '\0';
    return TRUE;
}

BOOL CControlItems::Write(int index, const char* text)
{
    int capacity = static_cast<int>(strlen(text)) + 1;
    if (capacity > 1024 || !Put(text, capacity))
        return FALSE;
    return Ask(m_hWnd, m_messages.set, index, static_cast<LPARAM>(m_remote.Address())) != 0;
}

void CControlItems::Repaint()
{
    InvalidateRect(m_hWnd, NULL, TRUE);
}
