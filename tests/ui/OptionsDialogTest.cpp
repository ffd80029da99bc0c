#include <gtest/gtest.h>

#include "tests/support/Cp932.h"
#include "tests/support/TestApp.h"
#include "tests/ui/DialogDriver.h"
#include "ui/OptionsDialog.h"
#include "ui/resource.h"

namespace {

const char* const s_pszCaption = u8"オプション - Morvane";

struct OptionsCase {
    int stored;
    UINT normalShown;
    UINT hookShown;
    int afterOk;
};

class OptionsDialogTest : public ::testing::TestWithParam<OptionsCase> {
protected:
    void SetUp() override { UseTestApplication(); }
};

TEST_P(OptionsDialogTest, ShowsStoredModeAndConfirmsItUnchanged)
{
    const OptionsCase& c = GetParam();
    COptionsDialog dialog;
    dialog.m_nResMode = c.stored;
    UINT normalShown = 99;
    UINT hookShown = 99;
    CDialogDriver driver;
    driver.Then(Cp932(s_pszCaption), [&](HWND hwnd) {
        normalShown = IsDlgButtonChecked(hwnd, IDC_NORMAL_MODE);
        hookShown = IsDlgButtonChecked(hwnd, IDC_HOOK_MODE);
        Click(hwnd, IDOK);
    });

    EXPECT_EQ(IDOK, dialog.DoModal(NULL));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(c.normalShown, normalShown);
    EXPECT_EQ(c.hookShown, hookShown);
    EXPECT_EQ(c.afterOk, dialog.m_nResMode);
}

INSTANTIATE_TEST_SUITE_P(StoredModes, OptionsDialogTest,
                         ::testing::Values(OptionsCase{0, BST_CHECKED, BST_UNCHECKED, 0},
                                           OptionsCase{1, BST_UNCHECKED, BST_CHECKED, 1},
                                           OptionsCase{2, BST_UNCHECKED, BST_CHECKED, 1}));

struct SwitchCase {
    int stored;
    int clicked;
    int afterOk;
};

class OptionsSwitchTest : public ::testing::TestWithParam<SwitchCase> {
protected:
    void SetUp() override { UseTestApplication(); }
};

TEST_P(OptionsSwitchTest, OkReturnsTheClickedMode)
{
    const SwitchCase& c = GetParam();
    COptionsDialog dialog;
    dialog.m_nResMode = c.stored;
    CDialogDriver driver;
    driver.Then(Cp932(s_pszCaption), [&](HWND hwnd) {
        SendDlgItemMessageA(hwnd, c.clicked, BM_CLICK, 0, 0);
        Click(hwnd, IDOK);
    });

    EXPECT_EQ(IDOK, dialog.DoModal(NULL));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(c.afterOk, dialog.m_nResMode);
}

INSTANTIATE_TEST_SUITE_P(Clicks, OptionsSwitchTest,
                         ::testing::Values(SwitchCase{0, IDC_HOOK_MODE, 1}, SwitchCase{1, IDC_NORMAL_MODE, 0},
                                           SwitchCase{2, IDC_NORMAL_MODE, 0}));

using CancelWay = void (*)(HWND);

class OptionsCancelTest : public ::testing::TestWithParam<CancelWay> {
protected:
    void SetUp() override { UseTestApplication(); }
};

TEST_P(OptionsCancelTest, KeepsTheCallersModeAfterAChangedChoice)
{
    COptionsDialog dialog;
    dialog.m_nResMode = 2;
    CancelWay cancel = GetParam();
    CDialogDriver driver;
    driver.Then(Cp932(s_pszCaption), [&](HWND hwnd) {
        SendDlgItemMessageA(hwnd, IDC_NORMAL_MODE, BM_CLICK, 0, 0);
        cancel(hwnd);
    });

    EXPECT_EQ(IDCANCEL, dialog.DoModal(NULL));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(2, dialog.m_nResMode);
}

INSTANTIATE_TEST_SUITE_P(Ways, OptionsCancelTest,
                         ::testing::Values([](HWND hwnd) { PostClick(hwnd, IDCANCEL); }, PressEscape, CloseBox));

} // namespace
