#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "tests/support/ExpectedTexts.h"
#include "tests/support/TestApp.h"
#include "conversion/TextKind.h"
#include "tests/ui/DialogDriver.h"
#include "ui/OptionsDialog.h"
#include "ui/resource.h"

namespace {

struct OptionsCase {
    const char* name;
    int stored;
    int clicked; // 0: the choice is left as shown
    void (*close)(HWND);
    UINT hookShown;
    int result;
    int after;
};

using OptionsDialogTest = ::testing::TestWithParam<OptionsCase>;

TEST_P(OptionsDialogTest, ShowsTheStoredModeAndReturnsTheChoiceOnlyOnOk)
{
    const OptionsCase& c = GetParam();
    UseTestApplication();
    COptionsDialog dialog;
    dialog.m_nResMode = c.stored;
    UINT normalShown = 99;
    UINT hookShown = 99;
    EXPECT_EQ(c.result, ShowDialog(dialog, ExpectedCaption(IDD_OPTIONS), [&](HWND hwnd) {
                  normalShown = IsDlgButtonChecked(hwnd, IDC_NORMAL_MODE);
                  hookShown = IsDlgButtonChecked(hwnd, IDC_HOOK_MODE);
                  if (c.clicked != 0)
                      SendDlgItemMessageA(hwnd, c.clicked, BM_CLICK, 0, 0);
                  c.close(hwnd);
              }));
    EXPECT_EQ(c.hookShown, hookShown);
    EXPECT_EQ(c.hookShown == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, normalShown);
    EXPECT_EQ(c.after, dialog.m_nResMode);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, OptionsDialogTest,
    ::testing::Values(OptionsCase{"Normal", 0, 0, PostClickOf<IDOK>, BST_UNCHECKED, IDOK, 0},
                      OptionsCase{"Hook", 1, 0, PostClickOf<IDOK>, BST_CHECKED, IDOK, 1},
                      OptionsCase{"StoredTwoIsHook", 2, 0, PostClickOf<IDOK>, BST_CHECKED, IDOK, 1},
                      OptionsCase{"ToHook", 0, IDC_HOOK_MODE, PostClickOf<IDOK>, BST_UNCHECKED, IDOK, 1},
                      OptionsCase{"ToNormal", 2, IDC_NORMAL_MODE, PostClickOf<IDOK>, BST_CHECKED, IDOK, 0},
                      OptionsCase{"CancelButton", 2, IDC_NORMAL_MODE, PostClickOf<IDCANCEL>, BST_CHECKED, IDCANCEL, 2},
                      OptionsCase{"Escape", 0, IDC_HOOK_MODE, PressEscape, BST_UNCHECKED, IDCANCEL, 0},
                      OptionsCase{"CloseBox", 1, IDC_NORMAL_MODE, CloseBox, BST_CHECKED, IDCANCEL, 1}),
    [](const ::testing::TestParamInfo<OptionsCase>& info) { return info.param.name; });

// The control's HOTKEYF_ flags have the shift and alt bits of the setting's MOD_ flags the other way round.
TEST(OptionsHotKey, ShowsTheKeyAndWhetherItIsTakenAndGivesBackTheKeyTyped)
{
    UseTestApplication();
    for (BOOL taken : {FALSE, TRUE}) {
        COptionsDialog dialog;
        dialog.m_nToggleHotKey = 0x0006007B;
        dialog.m_bHotKeyTaken = taken;
        LRESULT shown = 0;
        BOOL noteShown = !taken;
        EXPECT_EQ(IDOK, ShowDialog(dialog, ExpectedCaption(IDD_OPTIONS), [&](HWND hwnd) {
                      shown = SendDlgItemMessageA(hwnd, IDC_TOGGLE_HOTKEY, HKM_GETHOTKEY, 0, 0);
                      noteShown = IsWindowVisible(GetDlgItem(hwnd, IDC_HOTKEY_TAKEN));
                      SendDlgItemMessageA(hwnd, IDC_TOGGLE_HOTKEY, HKM_SETHOTKEY, MAKEWORD('K', HOTKEYF_ALT), 0);
                      PostClick(hwnd, IDOK);
                  }));
        EXPECT_EQ(MAKEWORD(VK_F12, HOTKEYF_CONTROL | HOTKEYF_SHIFT), shown);
        EXPECT_EQ(taken, noteShown);
        EXPECT_EQ(static_cast<DWORD>(MAKELONG('K', MOD_ALT)), dialog.m_nToggleHotKey);
    }
}

// Captions are always converted: their box is checked and cannot be changed.
TEST(OptionsKinds, ShowsTheKindsOnAndGivesBackThoseCheckedOnlyOnOk)
{
    UseTestApplication();
    const int boxes[] = {IDC_CONVERT_TITLES, IDC_CONVERT_TABS, IDC_CONVERT_HEADERS, IDC_CONVERT_MENUS};
    for (int close : {IDOK, IDCANCEL}) {
        COptionsDialog dialog;
        dialog.m_nKinds = kTitleKind | kHeaderKind;
        std::string shown;
        BOOL captionsFixed = FALSE;
        EXPECT_EQ(close, ShowDialog(dialog, ExpectedCaption(IDD_OPTIONS), [&](HWND hwnd) {
                      for (int box : boxes)
                          shown += IsDlgButtonChecked(hwnd, box) == BST_CHECKED ? "1" : "0";
                      captionsFixed = IsDlgButtonChecked(hwnd, IDC_CONVERT_CAPTIONS) == BST_CHECKED &&
                                      !IsWindowEnabled(GetDlgItem(hwnd, IDC_CONVERT_CAPTIONS));
                      for (int box : {IDC_CONVERT_TITLES, IDC_CONVERT_MENUS})
                          SendDlgItemMessageA(hwnd, box, BM_CLICK, 0, 0);
                      PostClick(hwnd, close);
                  }));
        EXPECT_EQ(shown, "1010");
        EXPECT_TRUE(captionsFixed);
        EXPECT_EQ(dialog.m_nKinds, close == IDOK ? static_cast<DWORD>(kHeaderKind | kMenuKind)
                                                 : static_cast<DWORD>(kTitleKind | kHeaderKind));
    }
}

} // namespace
