#include <gtest/gtest.h>

#include "tests/support/Cp932.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/TestApp.h"
#include "tests/ui/DialogDriver.h"
#include "ui/SampleStringDialog.h"
#include "ui/resource.h"

namespace {

struct SampleCase {
    const char* name;
    std::string initial;
    std::string typed;
    void (*close)(HWND);
    int result;
    std::string expected;
};

class SampleStringDialogTest : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SampleStringDialogTest, OkTakesTheEditedTextWithinTheCapacityAndCancelKeepsTheString)
{
    const SampleCase& c = GetParam();
    UseTestApplication();
    CSampleStringDialog dialog;
    dialog.m_sampleString.Assign(c.initial.c_str());
    std::string shown;
    EXPECT_EQ(c.result, ShowDialog(dialog, ExpectedCaption(IDD_SAMPLE_STRING), [&](HWND hwnd) {
                  shown = ItemText(hwnd, IDC_SAMPLE_EDIT);
                  SetDlgItemTextA(hwnd, IDC_SAMPLE_EDIT, c.typed.c_str());
                  c.close(hwnd);
              }));
    EXPECT_EQ(c.initial, shown);
    EXPECT_EQ(c.expected, dialog.m_sampleString.Text());
    EXPECT_EQ(static_cast<int>(c.expected.size()), dialog.m_sampleString.Length());
}

const std::string s_default = ExpectedString(IDS_DEFAULT_SAMPLE_STRING);

INSTANTIATE_TEST_SUITE_P(
    Texts, SampleStringDialogTest,
    ::testing::Values(
        SampleCase{"Empty", s_default, "", PostClickOf<IDOK>, IDOK, ""},
        SampleCase{"Japanese", "abc", Cp932(u8"変換の見本"), PostClickOf<IDOK>, IDOK, Cp932(u8"変換の見本")},
        SampleCase{"CutAt255", "abc", std::string(300, 'x'), PostClickOf<IDOK>, IDOK, std::string(255, 'x')},
        // A longer string passed in has grown the capacity to hold it.
        SampleCase{"CutAtGrownCapacity", std::string(300, 'a'), std::string(400, 'y'), PostClickOf<IDOK>, IDOK,
                   std::string(300, 'y')},
        SampleCase{"CancelButton", s_default, "changed", PostClickOf<IDCANCEL>, IDCANCEL, s_default},
        SampleCase{"Escape", s_default, "changed", PressEscape, IDCANCEL, s_default},
        SampleCase{"CloseBox", s_default, "changed", CloseBox, IDCANCEL, s_default}),
    [](const ::testing::TestParamInfo<SampleCase>& info) { return info.param.name; });

} // namespace
