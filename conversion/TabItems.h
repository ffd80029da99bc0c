#pragma once

#include "conversion/ControlItems.h"

// The tab labels of a tab control (SysTabControl32).
class CTabItems : public CControlItems {
public:
    CTabItems(HWND hwnd, CRemoteMemory& remote);

private:
    static const Messages s_messages;
};
