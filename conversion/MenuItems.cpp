#include "conversion/MenuItems.h"

int CMenuItems::Count()
{
    if (!IsMenu(m_hMenu))
        return 0;
    int count = GetMenuItemCount(m_hMenu);
    return count > 0 ? count : 0;
}

BOOL CMenuItems::Read(int index, char* text, int size)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(size - 1);
    text[0] = '\0';
    if (!GetMenuItemInfoA(m_hMenu, static_cast<UINT>(index), TRUE, &info) ||
        (info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)) != 0)
        return FALSE;
    text[size - 1] = '\0';
    return TRUE;
}

BOOL CMenuItems::Write(int index, const char* text)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text);
    return SetMenuItemInfoA(m_hMenu, static_cast<UINT>(index), TRUE, &info);
}

void CMenuItems::Repaint()
{
    if (m_hOwner != NULL)
        DrawMenuBar(m_hOwner);
}
