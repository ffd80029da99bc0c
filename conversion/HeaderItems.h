#pragma once

#include "conversion/ControlItems.h"

// The column headers of a header control (SysHeader32), list views' included.
class CHeaderItems : public CControlItems {
public:
    CHeaderItems(HWND hwnd, CRemoteMemory& remote);

private:
    static const Messages s_messages;
};
