#include <gtest/gtest.h>

#include "app/MorvaneApp.h"
#include "tests/engines/ProbeEngine.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/TestApp.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/EngineSettingsFixture.h"
#include "ui/AboutDialog.h"
#include "ui/resource.h"

namespace {


struct AboutView {
    std::string version;
    std::string path;
    std::string description;
    BOOL aboutEnabled = -1;
};

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestApplication(); }
    void TearDown() override { g_pApp->LoadEngine(NULL); }

    int Run(void (*close)(HWND))
    {
        CAboutDialog dialog;
        CDialogDriver driver;
        driver.Then(ExpectedCaption(IDD_ABOUT), [&](HWND hwnd) {
            m_view.version = ItemText(hwnd, IDC_VERSION);
            m_view.path = ItemText(hwnd, IDC_ENGINE_PATH);
            m_view.description = ItemText(hwnd, IDC_ENGINE_DESCRIPTION);
            m_view.aboutEnabled = IsWindowEnabled(GetDlgItem(hwnd, IDC_ENGINE_ABOUT));
            close(hwnd);
        });
        int result = dialog.DoModal(NULL);
        EXPECT_TRUE(driver.Finished());
        return result;
    }

    AboutView m_view;
};

TEST_F(AboutDialogTest, ShowsTheProgramsFileVersion)
{
    EXPECT_EQ(IDOK, Run([](HWND hwnd) { PostClick(hwnd, IDOK); }));
    EXPECT_EQ("Version 0.96", m_view.version);
}

TEST_F(AboutDialogTest, WithoutEngineFieldsAreEmptyAndTheButtonDisabled)
{
    ASSERT_EQ(NULL, g_pApp->m_pEngine);
    EXPECT_EQ(IDCANCEL, Run(PressEscape));
    EXPECT_EQ("", m_view.path);
    EXPECT_EQ("", m_view.description);
    EXPECT_FALSE(m_view.aboutEnabled);
}

struct EngineCase {
    const char* file;
    const char* description;
    BOOL aboutEnabled;
};

class AboutDialogEngineTest : public AboutDialogTest, public ::testing::WithParamInterface<EngineCase> {};

TEST_P(AboutDialogEngineTest, ShowsTheCurrentEnginesPathAndDescription)
{
    const EngineCase& c = GetParam();
    ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath(c.file).c_str()));
    EXPECT_EQ(IDOK, Run([](HWND hwnd) { PostClick(hwnd, IDOK); }));
    EXPECT_EQ(TestEnginePath(c.file), m_view.path);
    EXPECT_EQ(c.description, m_view.description);
    EXPECT_EQ(c.aboutEnabled, m_view.aboutEnabled);
}

INSTANTIATE_TEST_SUITE_P(Engines, AboutDialogEngineTest,
                         ::testing::Values(EngineCase{"ProbeComplete.TXV", "Probe engine complete", TRUE},
                                           EngineCase{"ProbeBare.TXV", "Probe engine bare", FALSE}));

TEST_F(AboutDialogTest, EngineButtonOpensTheEnginesBoxOwnedByTheDialog)
{
    CProbeLog log;
    ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath("ProbeComplete.TXV").c_str()));
    CAboutDialog dialog;
    HWND shown = NULL;
    bool openAfterwards = false;
    CDialogDriver driver;
    driver
        .Then(ExpectedCaption(IDD_ABOUT),
              [&](HWND hwnd) {
                  shown = hwnd;
                  PostClick(hwnd, IDC_ENGINE_ABOUT);
              })
        .Then(ExpectedCaption(IDD_ABOUT), [&](HWND hwnd) {
            openAfterwards = true;
            PostClick(hwnd, IDCANCEL);
        });

    EXPECT_EQ(IDCANCEL, dialog.DoModal(NULL));
    EXPECT_TRUE(driver.Finished());
    EXPECT_TRUE(openAfterwards);
    EXPECT_EQ(1, log.Count("complete TXVOnAbout " + CProbeLog::HexWindow(shown)));
}

} // namespace
