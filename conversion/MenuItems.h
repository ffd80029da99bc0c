#pragma once

#include "conversion/TextItems.h"

// The items of one menu (a menu bar or a popup menu). Windows keeps menus
// where every program may reach them; a system that keeps them per process
// (Wine) answers nothing for another program's menu, and nothing is done.
class CMenuItems : public CTextItems {
public:
    // owner: the window whose menu bar it is, repainted after a change; null for a popup menu.
    CMenuItems(HMENU menu, HWND owner) : m_hMenu(menu), m_hOwner(owner) {}

    int Count() override;
    // Separators and items drawn by their program have no text to read.
    BOOL Read(int index, char* text, int size) override;
    BOOL Write(int index, const char* text) override;
    void Repaint() override;

    HMENU SubMenu(int index) const { return GetSubMenu(m_hMenu, index); }

private:
    HMENU m_hMenu;
    HWND m_hOwner;
};
