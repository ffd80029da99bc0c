#include <gtest/gtest.h>

#include "tests/support/Cp932.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/TestApp.h"
#include "tests/ui/DialogDriver.h"
#include "ui/SampleStringDialog.h"
#include "ui/resource.h"

namespace {


class SampleStringDialogTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestApplication(); }

    // Runs the dialog on `initial`, replaces the edit's text with `typed` unless it is null, and closes it with `close`.
    int Run(CSampleStringDialog& dialog, const std::string& initial, const char* typed, void (*close)(HWND))
    {
        dialog.m_sampleString.Assign(initial.c_str());
        CDialogDriver driver;
        driver.Then(ExpectedCaption(IDD_SAMPLE_STRING), [&](HWND hwnd) {
            m_shown = ItemText(hwnd, IDC_SAMPLE_EDIT);
            if (typed != nullptr)
                SetDlgItemTextA(hwnd, IDC_SAMPLE_EDIT, typed);
            close(hwnd);
        });
        int result = dialog.DoModal(NULL);
        EXPECT_TRUE(driver.Finished());
        return result;
    }

    std::string m_shown;
};

struct EditCase {
    const char* name;
    std::string initial;
    std::string typed;
    std::string expected;
};

class SampleStringEditTest : public SampleStringDialogTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(SampleStringEditTest, OkTakesTheEditedTextWithinTheCapacity)
{
    const EditCase& c = GetParam();
    CSampleStringDialog dialog;
    EXPECT_EQ(IDOK, Run(dialog, c.initial, c.typed.c_str(), PostClickOf<IDOK>));
    EXPECT_EQ(c.initial, m_shown);
    EXPECT_EQ(c.expected, dialog.m_sampleString.Text());
    EXPECT_EQ(static_cast<int>(c.expected.size()), dialog.m_sampleString.Length());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SampleStringEditTest,
    ::testing::Values(EditCase{"Empty", ExpectedString(IDS_DEFAULT_SAMPLE_STRING), "", ""},
                      EditCase{"Japanese", "abc", Cp932(u8"変換の見本"), Cp932(u8"変換の見本")},
                      EditCase{"CutAt255", "abc", std::string(300, 'x'), std::string(255, 'x')},
                      // A longer string passed in has grown the capacity to hold it.
                      EditCase{"CutAtGrownCapacity", std::string(300, 'a'), std::string(400, 'y'),
                               std::string(300, 'y')}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

struct CancelCase {
    const char* name;
    void (*close)(HWND);
};

class SampleStringCancelTest : public SampleStringDialogTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(SampleStringCancelTest, KeepsTheStringAfterEditing)
{
    CSampleStringDialog dialog;
    const std::string initial = ExpectedString(IDS_DEFAULT_SAMPLE_STRING);
    EXPECT_EQ(IDCANCEL, Run(dialog, initial, "changed", GetParam().close));
    EXPECT_EQ(initial, dialog.m_sampleString.Text());
}

INSTANTIATE_TEST_SUITE_P(Ways, SampleStringCancelTest,
                         ::testing::Values(CancelCase{"Button", [](HWND hwnd) { PostClick(hwnd, IDCANCEL); }},
                                           CancelCase{"Escape", PressEscape}, CancelCase{"CloseBox", CloseBox}),
                         [](const ::testing::TestParamInfo<CancelCase>& info) { return std::string(info.param.name); });

} // namespace
