#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "tests/support/ProcessDriver.h"
#include "tests/support/TestApp.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/EngineSettingsFixture.h"
#include "ui/BrowseForFolder.h"

namespace {

enum Expected { kNoFolder, kInitialFolder, kOtherFolder };

struct BrowseCase {
    const char* name;
    UINT flags;
    void (*act)(HWND picker, const char* otherFolder);
    int result;
    Expected chosen;
};

void Confirm(HWND picker, const char*)
{
    PostClick(picker, IDOK);
}

void ConfirmOther(HWND picker, const char* otherFolder)
{
    SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(otherFolder));
    PostClick(picker, IDOK);
}

void Cancel(HWND picker, const char*)
{
    PostClick(picker, IDCANCEL);
}

void ConfirmComputer(HWND picker, const char*)
{
    LPITEMIDLIST computer = NULL;
    SHGetSpecialFolderLocation(NULL, CSIDL_DRIVES, &computer);
    SendMessageA(picker, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer));
    CoTaskMemFree(computer);
    PostClick(picker, IDOK);
}

class BrowseForFolderTest : public ::testing::TestWithParam<BrowseCase> {};

TEST_P(BrowseForFolderTest, OpensOnTheInitialFolderWithTheTitleAndReturnsTheFolderConfirmed)
{
    const BrowseCase& c = GetParam();
    UseTestApplication();
    CEngineFolder initial;
    CEngineFolder other;
    initial.SettleForPicker();
    other.SettleForPicker();
    const char* title = "Choose the test folder";
    bool titleShown = false;
    CDialogDriver driver;
    driver.ThenWindow(IsFolderPicker, [&](HWND picker) {
        titleShown = HasChild(picker, [title](HWND child) { return TextOf(child) == title; });
        c.act(picker, other.Path().c_str());
    });
    char chosen[MAX_PATH] = "stale";

    EXPECT_EQ(c.result, BrowseForFolder(NULL, initial.Path().c_str(), title, c.flags, chosen));
    EXPECT_TRUE(driver.Finished());
    EXPECT_TRUE(titleShown);
    const std::string expected[] = {std::string(), initial.Path(), other.Path()}; // by Expected
    EXPECT_EQ(0, lstrcmpiA(expected[c.chosen].c_str(), chosen)) << chosen;
}

INSTANTIATE_TEST_SUITE_P(
    Choices, BrowseForFolderTest,
    ::testing::Values(BrowseCase{"Initial", BIF_RETURNONLYFSDIRS, Confirm, BROWSE_FOLDER_CHOSEN, kInitialFolder},
                      BrowseCase{"Other", BIF_RETURNONLYFSDIRS, ConfirmOther, BROWSE_FOLDER_CHOSEN, kOtherFolder},
                      BrowseCase{"Cancelled", BIF_RETURNONLYFSDIRS, Cancel, BROWSE_FOLDER_CANCELLED, kNoFolder},
                      // Without BIF_RETURNONLYFSDIRS the picker lets the user confirm a virtual folder.
                      BrowseCase{"NoFileSystemPath", 0, ConfirmComputer, BROWSE_FOLDER_CANCELLED, kNoFolder}),
    [](const ::testing::TestParamInfo<BrowseCase>& info) { return info.param.name; });

} // namespace
