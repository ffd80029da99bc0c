#include "conversion/TextItems.h"

LRESULT CTextItems::Ask(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeout, &result)) {
        m_bHung = IsWindow(hwnd);
        return 0;
    }
    return static_cast<LRESULT>(result);
}
