#include <gtest/gtest.h>

#include "tests/support/ExpectedTexts.h"
#include "tests/support/TestApp.h"
#include "tests/ui/DialogDriver.h"
#include "ui/EngineChangeNoticeDialog.h"
#include "ui/resource.h"

namespace {

struct NoticeCase {
    const char* name;
    bool tick;
    void (*close)(HWND);
    int result;
    BOOL dontShowAgain;
};

using EngineChangeNoticeDialogTest = ::testing::TestWithParam<NoticeCase>;

TEST_P(EngineChangeNoticeDialogTest, DontShowAgainOnlyWhenTickedAndConfirmed)
{
    const NoticeCase& c = GetParam();
    UseTestApplication();
    CEngineChangeNoticeDialog dialog;
    LRESULT initialCheck = -1;
    EXPECT_EQ(c.result, ShowDialog(dialog, ExpectedCaption(IDD_ENGINE_CHANGE_NOTICE), [&](HWND hwnd) {
                  initialCheck = SendDlgItemMessageA(hwnd, IDC_DONT_SHOW_AGAIN, BM_GETCHECK, 0, 0);
                  if (c.tick)
                      SendDlgItemMessageA(hwnd, IDC_DONT_SHOW_AGAIN, BM_CLICK, 0, 0);
                  c.close(hwnd);
              }));
    EXPECT_EQ(BST_UNCHECKED, initialCheck);
    EXPECT_EQ(c.dontShowAgain, dialog.m_bDontShowAgain);
}

INSTANTIATE_TEST_SUITE_P(Closings, EngineChangeNoticeDialogTest,
                         ::testing::Values(NoticeCase{"TickedOk", true, PostClickOf<IDOK>, IDOK, TRUE},
                                           NoticeCase{"UntickedOk", false, PostClickOf<IDOK>, IDOK, FALSE},
                                           NoticeCase{"TickedEscape", true, PressEscape, IDCANCEL, FALSE},
                                           NoticeCase{"TickedCloseBox", true, CloseBox, IDCANCEL, FALSE},
                                           NoticeCase{"UntickedEscape", false, PressEscape, IDCANCEL, FALSE}),
                         [](const ::testing::TestParamInfo<NoticeCase>& info) { return info.param.name; });

} // namespace
