#include <gtest/gtest.h>

#include "app/MorvaneApp.h"
#include "tests/engines/ProbeEngine.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/ProbeLog.h"
#include "tests/support/TestApp.h"
#include "tests/ui/DialogDriver.h"
#include "ui/AboutDialog.h"
#include "ui/resource.h"

namespace {

struct AboutCase {
    const char* name;
    const char* engine; // "" for none
    const char* description;
    BOOL aboutEnabled;
    void (*close)(HWND);
    int result;
};

class AboutDialogTest : public ::testing::TestWithParam<AboutCase> {
protected:
    void TearDown() override { g_pApp->LoadEngine(NULL); }
};

TEST_P(AboutDialogTest, ShowsTheVersionAndTheCurrentEngineWhoseBoxTheButtonOpens)
{
    const AboutCase& c = GetParam();
    UseTestApplication();
    CProbeLog log;
    const std::string path = c.engine[0] == '\0' ? "" : TestEnginePath(c.engine);
    ASSERT_TRUE(g_pApp->LoadEngine(path.c_str()));
    CAboutDialog dialog;
    HWND shown = NULL;
    std::string version;
    std::string pathShown;
    std::string description;
    BOOL aboutEnabled = -1;
    bool openAfterAbout = false;
    EXPECT_EQ(c.result, ShowDialog(dialog, ExpectedCaption(IDD_ABOUT), [&](HWND hwnd) {
                  shown = hwnd;
                  version = ItemText(hwnd, IDC_VERSION);
                  pathShown = ItemText(hwnd, IDC_ENGINE_PATH);
                  description = ItemText(hwnd, IDC_ENGINE_DESCRIPTION);
                  aboutEnabled = IsWindowEnabled(GetDlgItem(hwnd, IDC_ENGINE_ABOUT));
                  if (aboutEnabled)
                      Click(hwnd, IDC_ENGINE_ABOUT);
                  openAfterAbout = IsWindowVisible(hwnd) != FALSE;
                  c.close(hwnd);
              }));
    EXPECT_EQ("Version 0.96", version);
    EXPECT_EQ(path, pathShown);
    EXPECT_EQ(c.description, description);
    EXPECT_EQ(c.aboutEnabled, aboutEnabled);
    EXPECT_TRUE(openAfterAbout);
    EXPECT_EQ(c.aboutEnabled ? 1 : 0, log.Count("complete TXVOnAbout " + CProbeLog::HexWindow(shown)));
}

INSTANTIATE_TEST_SUITE_P(Engines, AboutDialogTest,
                         ::testing::Values(AboutCase{"None", "", "", FALSE, PressEscape, IDCANCEL},
                                           AboutCase{"Complete", "ProbeComplete.TXV", "Probe engine complete", TRUE,
                                                     PostClickOf<IDOK>, IDOK},
                                           AboutCase{"Bare", "ProbeBare.TXV", "Probe engine bare", FALSE,
                                                     PostClickOf<IDCANCEL>, IDCANCEL}),
                         [](const ::testing::TestParamInfo<AboutCase>& info) { return info.param.name; });

} // namespace
