#include "conversion/WindowText.h"

#include <string.h>

namespace {

// A window whose thread does not answer within this time is left as it is,
// so that one hung program cannot stop conversion everywhere.
const UINT kWriteTimeout = 2000;

} // namespace

// Every window is read in Unicode, since the system keeps its text so: read
// through the ANSI code page, characters without a form there would arrive
// as question marks or best-fit letters.
BOOL CWindowText::Read(HWND hwnd, char* text)
{
    WCHAR wide[s_nSize];
    int length = GetWindowTextW(hwnd, wide, s_nSize);
    text[0] = '\0';
    if (length <= 0)
        return TRUE;
    // Most captions are plain ASCII and need no conversion.
    int ascii = 0;
    for (; ascii < length && wide[ascii] < 0x80; ++ascii)
        text[ascii] = static_cast<char>(wide[ascii]);
    text[ascii] = '\0';
    if (ascii == length)
        return TRUE;
    char full[2 * s_nSize];
    BOOL lossy = FALSE;
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, full, sizeof(full), NULL, &lossy);
    // A few characters come back from the code page as others.
    WCHAR back[s_nSize];
    if (bytes == 0 || lossy || MultiByteToWideChar(CP_ACP, 0, full, bytes, back, s_nSize) != length ||
        memcmp(back, wide, length * sizeof(WCHAR)) != 0) {
        text[0] = '\0';
        return FALSE;
    }
    // As from an ANSI window: at most the first 1023 bytes, cut at the last whole character.
    int kept = 0;
    while (kept < bytes) {
        int step = IsDBCSLeadByte(static_cast<BYTE>(full[kept])) ? 2 : 1;
        if (kept + step > s_nSize - 1)
            break;
        kept += step;
    }
    memcpy(text, full, kept);
    text[kept] = '\0';
    return TRUE;
}

CWindowText::Outcome CWindowText::Write(HWND hwnd, const char* text, WPARAM mark)
{
    DWORD_PTR result;
    LRESULT sent;
    if (IsWindowUnicode(hwnd)) {
        WCHAR wide[s_nSize];
        if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, s_nSize) == 0)
            wide[0] = L'\0';
        sent = SendMessageTimeoutW(hwnd, WM_SETTEXT, mark, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG,
                                   kWriteTimeout, &result);
    } else {
        sent = SendMessageTimeoutA(hwnd, WM_SETTEXT, mark, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                                   kWriteTimeout, &result);
    }
    if (!sent) {
        // The system refuses messages into a program that runs with higher rights than Morvane.
        if (GetLastError() == ERROR_ACCESS_DENIED)
            return kRefused;
        if (IsWindow(hwnd))
            return kUnanswered;
    }
    InvalidateRect(hwnd, NULL, TRUE);
    return kDone;
}
