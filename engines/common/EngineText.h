#pragma once

#include <windows.h>

// Copies text into a buffer of size bytes, cut where it must be at the last
// whole character, so that a double-byte character is never split. Returns
// the number of bytes copied; the result is always zero-terminated.
inline int CopyWholeCharacters(const char* text, char* buffer, int size)
{
    if (size <= 0)
        return 0;
    int used = 0;
    while (text[used] != '\0') {
        int next = used + (IsDBCSLeadByte(static_cast<BYTE>(text[used])) && text[used + 1] != '\0' ? 2 : 1);
        if (next > size - 1)
            break;
        used = next;
    }
    CopyMemory(buffer, text, used);
    buffer[used] = '\0';
    return used;
}

// Copies a text of the engine's own string table into a buffer the host passed;
// FALSE when there is no such text or no room at all.
inline BOOL CopyEngineText(HINSTANCE instance, UINT id, char* buffer, int size)
{
    char text[1024];
    if (size <= 0 || LoadStringA(instance, id, text, sizeof(text)) == 0)
        return FALSE;
    CopyWholeCharacters(text, buffer, size);
    return TRUE;
}
