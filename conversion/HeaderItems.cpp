#include "conversion/HeaderItems.h"

#include <commctrl.h>

// The header item structure with its filter and state fields, in either bitness.
const CControlItems::Messages CHeaderItems::s_messages = {
    HDM_GETITEMCOUNT, HDM_GETITEMA, HDM_SETITEMA, HDI_TEXT, {8, 16, 48}, {8, 24, 72},
};

CHeaderItems::CHeaderItems(HWND hwnd, CRemoteMemory& remote) : CControlItems(hwnd, remote, s_messages) {}
