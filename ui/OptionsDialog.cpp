#include "ui/OptionsDialog.h"

#include <commctrl.h>

#include "conversion/TextKind.h"
#include "ui/HotKey.h"
#include "ui/resource.h"

namespace {

struct KindBox {
    int id;
    DWORD kind;
};
const KindBox kKindBoxes[] = {
    {IDC_CONVERT_TITLES, kTitleKind},
    {IDC_CONVERT_TABS, kTabKind},
    {IDC_CONVERT_HEADERS, kHeaderKind},
    {IDC_CONVERT_MENUS, kMenuKind},
};

} // namespace

COptionsDialog::COptionsDialog()
    : CIconDialog(IDD_OPTIONS), m_nResMode(0), m_nToggleHotKey(0), m_bHotKeyTaken(FALSE), m_nKinds(kAllKinds)
{
}

LRESULT COptionsDialog::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(hwnd, msg, wParam, lParam);
    case WM_COMMAND: return OnCommand(hwnd, msg, wParam, lParam);
    }
    return CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
}

LRESULT COptionsDialog::OnInitDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    // Any stored mode other than 0 runs as hook mode, so it shows as such.
    CheckDlgButton(hwnd, m_nResMode == 0 ? IDC_NORMAL_MODE : IDC_HOOK_MODE, BST_CHECKED);
    SendDlgItemMessageA(hwnd, IDC_TOGGLE_HOTKEY, HKM_SETHOTKEY, CHotKey::ToControlValue(m_nToggleHotKey), 0);
    ShowWindow(GetDlgItem(hwnd, IDC_HOTKEY_TAKEN), m_bHotKeyTaken ? SW_SHOW : SW_HIDE);
    for (int i = 0, count = m_excludedPrograms.Count(); i < count; ++i)
        SendDlgItemMessageA(hwnd, IDC_EXCLUDED_PROGRAMS, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(m_excludedPrograms.Name(i).Text()));
    // Captions are always converted: the box only says so.
    CheckDlgButton(hwnd, IDC_CONVERT_CAPTIONS, BST_CHECKED);
    for (const KindBox& box : kKindBoxes)
        CheckDlgButton(hwnd, box.id, (m_nKinds & box.kind) != 0 ? BST_CHECKED : BST_UNCHECKED);
    return FALSE;
}

LRESULT COptionsDialog::OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDOK) {
        m_nResMode = IsDlgButtonChecked(hwnd, IDC_HOOK_MODE);
        m_nToggleHotKey =
            CHotKey::FromControlValue(LOWORD(SendDlgItemMessageA(hwnd, IDC_TOGGLE_HOTKEY, HKM_GETHOTKEY, 0, 0)));
        m_nKinds = 0;
        for (const KindBox& box : kKindBoxes)
            m_nKinds |= IsDlgButtonChecked(hwnd, box.id) == BST_CHECKED ? box.kind : 0;
        return CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    }
    if (LOWORD(wParam) == IDC_REMOVE_EXCLUDED)
        OnRemoveExcluded(hwnd);
    CIconDialog::WindowProc(hwnd, msg, wParam, lParam);
    return TRUE;
}

// The list box keeps the list's order (it is not sorted), so its index is the list's.
void COptionsDialog::OnRemoveExcluded(HWND hwnd)
{
    LRESULT selected = SendDlgItemMessageA(hwnd, IDC_EXCLUDED_PROGRAMS, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR)
        return;
    m_excludedPrograms.Remove(static_cast<int>(selected));
    SendDlgItemMessageA(hwnd, IDC_EXCLUDED_PROGRAMS, LB_DELETESTRING, selected, 0);
}
