#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "tests/support/ExpectedTexts.h"
#include "tests/ui/EngineSettingsFixture.h"
#include "ui/resource.h"

namespace {

const std::string s_caption = ExpectedCaption(IDD_ENGINE_SETTINGS);

struct DialogView {
    std::vector<EngineRow> rows;
    std::string selected;
    std::string enginePath;
    std::string folderShown;
    std::string sampleShown;
    std::string preview;
    bool settingEnabled = true;
    bool aboutEnabled = true;
};

DialogView Read(HWND hwnd, const CEngineSettingsDialog& dialog)
{
    return DialogView{SortedRows(hwnd),
                      SelectedName(hwnd),
                      dialog.m_enginePath.Text(),
                      ItemText(hwnd, IDC_ENGINE_FOLDER),
                      ItemText(hwnd, IDC_SAMPLE),
                      ItemText(hwnd, IDC_SAMPLE_RESULT),
                      IsWindowEnabled(GetDlgItem(hwnd, IDC_ENGINE_SETTING)) != FALSE,
                      IsWindowEnabled(GetDlgItem(hwnd, IDC_ENGINE_ABOUT)) != FALSE};
}

std::vector<std::pair<std::string, int>> Columns(HWND list)
{
    std::vector<std::pair<std::string, int>> columns;
    for (int index = 0;; ++index) {
        char text[64] = "";
        LVCOLUMNA column;
        ZeroMemory(&column, sizeof(column));
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = sizeof(text);
        if (!SendMessageA(list, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)))
            return columns;
        columns.emplace_back(text, column.cx);
    }
}

class EngineSettingsNothingSelectedTest : public EngineSettingsDialogTest,
                                          public ::testing::WithParamInterface<bool> {};

// With the engine in the folder it is selected at first and the selection then removed.
TEST_P(EngineSettingsNothingSelectedTest, ShowsNoEngineAndOkAsksUntilYes)
{
    const bool engineListed = GetParam();
    CEngineFolder folder = engineListed ? CEngineFolder({"ProbeComplete.TXV"}) : CEngineFolder();
    DialogView view;
    HWND shown = NULL;
    bool openAfterNo = false;
    m_boxes.SetAnswer(IDNO);
    m_driver
        .Then(s_caption,
              [&](HWND hwnd) {
                  shown = hwnd;
                  ClearSelection(hwnd);
                  view = Read(hwnd, m_dialog);
                  PostClick(hwnd, IDOK);
              })
        .Then(s_caption, [&](HWND hwnd) {
            openAfterNo = true;
            m_boxes.SetAnswer(IDYES);
            PostClick(hwnd, IDOK);
        });

    EXPECT_EQ(IDOK, Run(folder.Path(), folder.PathOf("ProbeComplete.TXV")));
    EXPECT_EQ(engineListed ? 1u : 0u, view.rows.size());
    EXPECT_EQ("", view.selected);
    EXPECT_EQ("", view.enginePath);
    EXPECT_EQ(folder.Path(), view.folderShown);
    EXPECT_EQ("abc", view.sampleShown);
    EXPECT_EQ("", view.preview);
    EXPECT_FALSE(view.settingEnabled);
    EXPECT_FALSE(view.aboutEnabled);
    EXPECT_TRUE(openAfterNo);
    ASSERT_EQ(2u, m_boxes.Seen().size());
    for (const SeenMessageBox& box : m_boxes.Seen())
        EXPECT_EQ(MorvaneWarning(ExpectedString(IDS_NO_ENGINE_SELECTED), MB_YESNO, shown), box);
    EXPECT_STREQ("", m_dialog.m_enginePath.Text());
}

INSTANTIATE_TEST_SUITE_P(Folders, EngineSettingsNothingSelectedTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "SelectionRemoved" : "EmptyFolder";
                         });

TEST_F(EngineSettingsDialogTest, ListsLoadableEnginesInThreeColumnsAndLeavesBrokenOnesOutSilently)
{
    CEngineFolder folder({"ProbeComplete.TXV", "ProbeBare.TXV", "ProbeApi00000001.TXV", "ProbeApi0001FFFF.TXV",
                          "ProbeInitFails.TXV", "ProbeApi00020000.TXV", "ProbeApi00000000.TXV", "ProbeNoApiVersion.TXV",
                          "ProbeNoDescription.TXV", "ProbeNoVersionText.TXV"});
    folder.WriteFile("NotALibrary.TXV", "text");
    DialogView view;
    std::vector<std::pair<std::string, int>> columns;
    LRESULT extendedStyle = 0;
    m_driver.Then(s_caption, [&](HWND hwnd) {
        view = Read(hwnd, m_dialog);
        columns = Columns(GetDlgItem(hwnd, IDC_ENGINE_LIST));
        extendedStyle = SendDlgItemMessageA(hwnd, IDC_ENGINE_LIST, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        PostClick(hwnd, IDCANCEL);
    });

    EXPECT_EQ(IDCANCEL, Run(folder.Path(), ""));
    const std::vector<std::pair<std::string, int>> expectedColumns = {{ExpectedString(IDS_COLUMN_FILE_NAME), 100},
                                                                      {ExpectedString(IDS_COLUMN_DESCRIPTION), 200},
                                                                      {ExpectedString(IDS_COLUMN_VERSION), 73}};
    EXPECT_EQ(expectedColumns, columns);
    EXPECT_EQ(LVS_EX_FULLROWSELECT, extendedStyle);
    const std::vector<EngineRow> expected = {
        {"ProbeApi00000001.TXV", "Probe engine api00000001", "API 00000001"},
        {"ProbeApi0001FFFF.TXV", "Probe engine api0001ffff", "API 0001FFFF"},
        {"ProbeBare.TXV", "Probe engine bare", "API 00010000"},
        {"ProbeComplete.TXV", "Probe engine complete", "API 00010000"},
        {"ProbeInitFails.TXV", "Probe engine initfails", "API 00010000"},
    };
    EXPECT_EQ(expected, view.rows);
    EXPECT_TRUE(m_boxes.Seen().empty());
    // Listed but never selected: neither started nor ended, and every library freed with the dialog.
    for (const char* name : {"complete", "bare", "api00000001", "api0001ffff", "initfails"}) {
        EXPECT_EQ(0, m_log.Count(std::string(name) + " TXVInitEngine")) << name;
        EXPECT_EQ(0, m_log.Count(std::string(name) + " TXVExitEngine")) << name;
    }
    EXPECT_TRUE(m_log.EveryLibraryFreed());
}

struct InitialPathCase {
    const char* name;
    std::string initialPath; // "<folder>" stands for the dialog's folder
    std::string selected;
};

class EngineSettingsInitialPathTest : public EngineSettingsDialogTest,
                                      public ::testing::WithParamInterface<InitialPathCase> {};

TEST_P(EngineSettingsInitialPathTest, SelectsTheRowOfTheInitialFileNameWhichOkTakesWithoutAsking)
{
    const InitialPathCase& c = GetParam();
    CEngineFolder folder({"ProbeComplete.TXV", "ProbeBare.TXV"});
    std::string initial = c.initialPath;
    if (initial.compare(0, 8, "<folder>") == 0)
        initial = folder.Path() + initial.substr(8);
    const bool found = !c.selected.empty();
    DialogView view;
    m_driver.Then(s_caption, [&](HWND hwnd) {
        view = Read(hwnd, m_dialog);
        PostClick(hwnd, found ? IDOK : IDCANCEL);
    });

    EXPECT_EQ(found ? IDOK : IDCANCEL, Run(folder.Path(), initial));
    EXPECT_EQ(c.selected, view.selected);
    EXPECT_EQ(found ? folder.PathOf(c.selected.c_str()) : std::string(), view.enginePath);
    EXPECT_EQ(found ? "[abc]" : "", view.preview);
    EXPECT_EQ(found, view.settingEnabled);
    EXPECT_EQ(found, view.aboutEnabled);
    EXPECT_TRUE(m_boxes.Seen().empty());
    EXPECT_EQ(view.enginePath, m_dialog.m_enginePath.Text());
    EXPECT_EQ(folder.Path(), m_dialog.m_engineFolder.Text());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, EngineSettingsInitialPathTest,
    ::testing::Values(InitialPathCase{"SameFolder", "<folder>\\ProbeComplete.TXV", "ProbeComplete.TXV"},
                      InitialPathCase{"OtherFolderOtherCase", "C:\\elsewhere\\probecomplete.txv", "ProbeComplete.TXV"},
                      InitialPathCase{"UpperCase", "D:\\PROBECOMPLETE.TXV", "ProbeComplete.TXV"},
                      InitialPathCase{"NotInFolder", "<folder>\\Missing.TXV", ""}, InitialPathCase{"Empty", "", ""}),
    [](const ::testing::TestParamInfo<InitialPathCase>& info) { return info.param.name; });

struct SelectionStep {
    const char* fileName;
    const char* logName;
    const char* preview;
    bool buttonsEnabled;
};

TEST_F(EngineSettingsDialogTest, SelectingARowPreviewsTheSampleThroughThatEngine)
{
    CEngineFolder folder({"ProbeComplete.TXV", "ProbeDeclines.TXV", "ProbeBare.TXV"});
    const std::vector<SelectionStep> steps = {
        {"ProbeComplete.TXV", "complete", "[abc]", true},
        {"ProbeDeclines.TXV", "declines", "", true},
        {"ProbeBare.TXV", "bare", "[abc]", false},
        {"ProbeComplete.TXV", "complete", "[abc]", true},
    };
    std::vector<DialogView> views;
    std::vector<std::vector<std::string>> conversions;
    m_driver.Then(s_caption, [&](HWND hwnd) {
        for (const SelectionStep& step : steps) {
            size_t logged = m_log.Lines().size();
            SelectRow(hwnd, step.fileName);
            views.push_back(Read(hwnd, m_dialog));
            std::vector<std::string> lines = m_log.Lines();
            conversions.emplace_back();
            for (size_t i = logged; i < lines.size(); ++i) {
                if (lines[i].find(" TXVConvertCaptionString") != std::string::npos)
                    conversions.back().push_back(lines[i]);
            }
        }
        PostClick(hwnd, IDCANCEL);
    });

    EXPECT_EQ(IDCANCEL, Run(folder.Path(), ""));
    ASSERT_EQ(steps.size(), views.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "selection " << i << ": " << steps[i].fileName);
        EXPECT_EQ(folder.PathOf(steps[i].fileName), views[i].enginePath);
        EXPECT_EQ(steps[i].preview, views[i].preview);
        EXPECT_EQ(steps[i].buttonsEnabled, views[i].settingEnabled);
        EXPECT_EQ(steps[i].buttonsEnabled, views[i].aboutEnabled);
        // The list reports one change of selection in several notifications (the old row losing
        // selection and focus, the new row gaining them), and each previews afresh: how many there
        // are is the control's business, but every one converts through the newly selected engine.
        EXPECT_FALSE(conversions[i].empty());
        for (const std::string& line : conversions[i])
            EXPECT_EQ(std::string(steps[i].logName) + " TXVConvertCaptionString @Sample 512", line);
    }

    // An engine stays started while others are selected, and is ended with the list.
    EXPECT_EQ(1, m_log.Count("complete TXVInitEngine"));
    EXPECT_EQ(1, m_log.Count("complete TXVExitEngine"));
    EXPECT_EQ(1, m_log.Count("declines TXVExitEngine"));
    EXPECT_TRUE(m_log.EveryLibraryFreed());
    EXPECT_TRUE(m_boxes.Seen().empty());
}

TEST_F(EngineSettingsDialogTest, FailingInitIsShownOwnedByTheDialogOncePerSelection)
{
    CEngineFolder folder({"ProbeInitFails.TXV"});
    HWND shown = NULL;
    DialogView afterSelect;
    std::vector<size_t> boxes;
    m_driver.Then(s_caption, [&](HWND hwnd) {
        shown = hwnd;
        SelectRow(hwnd, "ProbeInitFails.TXV");
        afterSelect = Read(hwnd, m_dialog);
        boxes.push_back(m_boxes.Seen().size());
        Click(hwnd, IDC_ENGINE_SETTING);
        Click(hwnd, IDC_ENGINE_ABOUT);
        boxes.push_back(m_boxes.Seen().size());
        ClearSelection(hwnd);
        SelectRow(hwnd, "ProbeInitFails.TXV");
        boxes.push_back(m_boxes.Seen().size());
        PostClick(hwnd, IDCANCEL);
    });

    EXPECT_EQ(IDCANCEL, Run(folder.Path(), ""));
    EXPECT_EQ((std::vector<size_t>{1, 1, 2}), boxes) << "after selecting, after both buttons, after selecting again";
    EXPECT_EQ("ProbeInitFails.TXV", afterSelect.selected);
    EXPECT_EQ(folder.PathOf("ProbeInitFails.TXV"), afterSelect.enginePath);
    EXPECT_EQ("", afterSelect.preview);
    for (const SeenMessageBox& box : m_boxes.Seen())
        EXPECT_EQ(MorvaneWarning(ExpectedString(IDS_ENGINE_INIT_FAILED), MB_OK, shown), box);
    EXPECT_EQ(2, m_log.Count("initfails TXVInitEngine"));
    EXPECT_EQ(0, m_log.Count("initfails TXVOnSetting " + CProbeLog::HexWindow(shown)));
    EXPECT_EQ(0, m_log.Count("initfails TXVOnAbout " + CProbeLog::HexWindow(shown)));
}

TEST_F(EngineSettingsDialogTest, SettingsButtonRefreshesThePreviewAndAboutButtonDoesNot)
{
    CEngineFolder folder({"ProbeComplete.TXV"});
    HWND shown = NULL;
    std::string before;
    std::string afterSetting;
    std::string afterAbout;
    int conversionsBeforeAbout = 0;
    int conversionsAfterAbout = 0;
    const std::string convert = "complete TXVConvertCaptionString @Sample 512";
    m_driver.Then(s_caption, [&](HWND hwnd) {
        shown = hwnd;
        before = ItemText(hwnd, IDC_SAMPLE_RESULT);
        Click(hwnd, IDC_ENGINE_SETTING);
        afterSetting = ItemText(hwnd, IDC_SAMPLE_RESULT);
        conversionsBeforeAbout = m_log.Count(convert);
        Click(hwnd, IDC_ENGINE_ABOUT);
        conversionsAfterAbout = m_log.Count(convert);
        afterAbout = ItemText(hwnd, IDC_SAMPLE_RESULT);
        PostClick(hwnd, IDCANCEL);
    });

    EXPECT_EQ(IDCANCEL, Run(folder.Path(), folder.PathOf("ProbeComplete.TXV")));
    EXPECT_EQ("[abc]", before);
    EXPECT_EQ("<abc>", afterSetting);
    EXPECT_EQ("<abc>", afterAbout);
    EXPECT_EQ(conversionsBeforeAbout, conversionsAfterAbout);
    EXPECT_EQ(1, m_log.Count("complete TXVOnSetting " + CProbeLog::HexWindow(shown)));
    EXPECT_EQ(1, m_log.Count("complete TXVOnAbout " + CProbeLog::HexWindow(shown)));
}

struct SampleCase {
    const char* name;
    int close;
    std::string sample;
    std::string preview;
};

class EngineSettingsSampleTest : public EngineSettingsDialogTest, public ::testing::WithParamInterface<SampleCase> {};

TEST_P(EngineSettingsSampleTest, ChangedSampleIsPreviewedAndKeptAfterCancel)
{
    const SampleCase& c = GetParam();
    CEngineFolder folder({"ProbeComplete.TXV"});
    HWND settings = NULL;
    HWND sampleOwner = NULL;
    std::string sampleShown;
    DialogView after;
    m_driver
        .Then(s_caption,
              [&](HWND hwnd) {
                  settings = hwnd;
                  PostClick(hwnd, IDC_CHANGE_SAMPLE);
              })
        .Then(ExpectedCaption(IDD_SAMPLE_STRING),
              [&](HWND hwnd) {
                  sampleOwner = GetWindow(hwnd, GW_OWNER);
                  sampleShown = ItemText(hwnd, IDC_SAMPLE_EDIT);
                  SetDlgItemTextA(hwnd, IDC_SAMPLE_EDIT, "xyz");
                  PostClick(hwnd, c.close);
              })
        .Then(s_caption, [&](HWND hwnd) {
            after = Read(hwnd, m_dialog);
            PostClick(hwnd, IDCANCEL);
        });

    EXPECT_EQ(IDCANCEL, Run(folder.Path(), folder.PathOf("ProbeComplete.TXV")));
    EXPECT_EQ(settings, sampleOwner);
    EXPECT_EQ("abc", sampleShown);
    EXPECT_EQ(c.sample, after.sampleShown);
    EXPECT_EQ(c.preview, after.preview);
    EXPECT_EQ(c.sample, m_dialog.m_sampleString.Text());
}

INSTANTIATE_TEST_SUITE_P(Closings, EngineSettingsSampleTest,
                         ::testing::Values(SampleCase{"Ok", IDOK, "xyz", "[xyz]"},
                                           SampleCase{"Cancel", IDCANCEL, "abc", "[abc]"}),
                         [](const ::testing::TestParamInfo<SampleCase>& info) { return info.param.name; });

struct FolderCase {
    const char* name;
    bool lowerCaseSetting;
    bool pickSecond; // the picker is pointed at the second folder before its button
    int pickerButton;
};

class EngineSettingsFolderTest : public EngineSettingsDialogTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(EngineSettingsFolderTest, AnotherFolderReloadsTheListAndTheSameOneKeepsListAndSelection)
{
    const FolderCase& c = GetParam();
    CEngineFolder first({"ProbeComplete.TXV"});
    CEngineFolder second({"ProbeBare.TXV", "ProbeApi0001FFFF.TXV"});
    std::string setting = first.Path();
    if (c.lowerCaseSetting)
        CharLowerA(&setting[0]);
    const bool reloaded = c.pickSecond && c.pickerButton == IDOK;
    const std::string versionCall = "complete TXVGetAPIVersion";
    HWND settings = NULL;
    HWND pickerOwner = NULL;
    DialogView after;
    int versionCallsBefore = 0;
    int versionCallsAfter = 0;
    int exitsAfter = -1;
    int detachesAfter = -1;
    m_driver
        .Then(s_caption,
              [&](HWND hwnd) {
                  settings = hwnd;
                  versionCallsBefore = m_log.Count(versionCall);
                  // The probe log has just been started next to both folders.
                  first.SettleForPicker();
                  second.SettleForPicker();
                  PostClick(hwnd, IDC_CHANGE_FOLDER);
              })
        .ThenWindow(IsFolderPicker,
                    [&](HWND picker) {
                        pickerOwner = GetWindow(picker, GW_OWNER);
                        if (c.pickSecond)
                            SendMessageA(picker, BFFM_SETSELECTIONA, TRUE,
                                         reinterpret_cast<LPARAM>(second.Path().c_str()));
                        PostClick(picker, c.pickerButton);
                    })
        .Then(s_caption, [&](HWND hwnd) {
            after = Read(hwnd, m_dialog);
            versionCallsAfter = m_log.Count(versionCall);
            exitsAfter = m_log.Count("complete TXVExitEngine");
            detachesAfter = m_log.Count("complete detach");
            PostClick(hwnd, IDCANCEL);
        });

    EXPECT_EQ(IDCANCEL, Run(setting, first.PathOf("ProbeComplete.TXV")));
    EXPECT_EQ(settings, pickerOwner);
    EXPECT_EQ(versionCallsBefore, versionCallsAfter);
    EXPECT_EQ(after.folderShown, m_dialog.m_engineFolder.Text());
    if (reloaded) {
        EXPECT_EQ(0, lstrcmpiA(second.Path().c_str(), after.folderShown.c_str())) << after.folderShown;
        const std::vector<EngineRow> expected = {
            {"ProbeApi0001FFFF.TXV", "Probe engine api0001ffff", "API 0001FFFF"},
            {"ProbeBare.TXV", "Probe engine bare", "API 00010000"},
        };
        EXPECT_EQ(expected, after.rows);
    } else {
        EXPECT_EQ(setting, after.folderShown);
        EXPECT_EQ((std::vector<EngineRow>{{"ProbeComplete.TXV", "Probe engine complete", "API 00010000"}}), after.rows);
    }
    EXPECT_EQ(reloaded ? "" : "ProbeComplete.TXV", after.selected);
    EXPECT_EQ(reloaded ? std::string() : setting + "\\ProbeComplete.TXV", after.enginePath);
    EXPECT_EQ(reloaded ? "" : "[abc]", after.preview);
    EXPECT_EQ(!reloaded, after.settingEnabled);
    EXPECT_EQ(!reloaded, after.aboutEnabled);
    // The first folder's engine is ended and freed when its rows go.
    EXPECT_EQ(reloaded ? 1 : 0, exitsAfter);
    EXPECT_EQ(reloaded ? 1 : 0, detachesAfter);
}

INSTANTIATE_TEST_SUITE_P(Ways, EngineSettingsFolderTest,
                         ::testing::Values(FolderCase{"AnotherFolder", false, true, IDOK},
                                           FolderCase{"SameFolder", false, false, IDOK},
                                           FolderCase{"OtherLetterCase", true, false, IDOK},
                                           FolderCase{"PickerCancelled", false, true, IDCANCEL}),
                         [](const ::testing::TestParamInfo<FolderCase>& info) { return info.param.name; });

} // namespace
