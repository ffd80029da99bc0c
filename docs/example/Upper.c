/* The smallest useful engine: turns the ASCII letters of every caption into
   capitals. It shows the whole contract and nothing else. */
#include "conversion/TxvEngineApi.h"

DWORD WINAPI TXVGetAPIVersion(void)
{
    return TXV_API_VERSION_1;
}

BOOL WINAPI TXVGetEngineDescription(LPSTR buffer, int bufferSize)
{
    lstrcpynA(buffer, "Capital letters", bufferSize);
    return TRUE;
}

BOOL WINAPI TXVGetEngineVersion(LPSTR buffer, int bufferSize)
{
    lstrcpynA(buffer, "1.0", bufferSize);
    return TRUE;
}

BOOL WINAPI TXVInitEngine(void)
{
    return TRUE;
}

BOOL WINAPI TXVConvertCaptionString(LPCSTR className, LPCSTR text, LPSTR outBuffer, int outBufferSize)
{
    BOOL changed = FALSE;
    int i = 0;
    (void)className;
    if (outBufferSize <= 0)
        return FALSE;
    /* Walk whole characters: the trail byte of a double-byte character may
       look like a lower-case letter. */
    for (; text[i] != '\0' && i < outBufferSize - 1; ++i) {
        char ch = text[i];
        if (IsDBCSLeadByte((BYTE)ch) && text[i + 1] != '\0') {
            if (i + 2 > outBufferSize - 1)
                break;
            outBuffer[i] = ch;
            outBuffer[i + 1] = text[i + 1];
            ++i;
            continue;
        }
        if (ch >= 'a' && ch <= 'z') {
            ch = (char)(ch - 'a' + 'A');
            changed = TRUE;
        }
        outBuffer[i] = ch;
    }
    outBuffer[i] = '\0';
    return changed; /* zero leaves the caption alone */
}
