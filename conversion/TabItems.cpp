#include "conversion/TabItems.h"

#include <commctrl.h>

// The tab item structure: the text pointer after three 32-bit fields, padded to 8 bytes in a 64-bit program.
const CControlItems::Messages CTabItems::s_messages = {
    TCM_GETITEMCOUNT, TCM_GETITEMA, TCM_SETITEMA, TCIF_TEXT, {12, 16, 28}, {16, 24, 40},
};

CTabItems::CTabItems(HWND hwnd, CRemoteMemory& remote) : CControlItems(hwnd, remote, s_messages) {}
