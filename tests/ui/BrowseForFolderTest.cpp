#include <gtest/gtest.h>

#include <shlobj.h>

#include <functional>
#include <string>

#include "tests/support/TestApp.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/EngineSettingsFixture.h"
#include "ui/BrowseForFolder.h"

namespace {

struct Browsed {
    int result = 0;
    std::string chosen;
    bool titleShown = false;
};

// Runs the picker on `initial` and lets `act` choose or cancel in it.
Browsed Browse(const std::string& initial, UINT flags, const std::function<void(HWND)>& act)
{
    const char* title = "Choose the test folder";
    Browsed browsed;
    CDialogDriver driver;
    driver.ThenWindow(IsFolderPicker, [&](HWND picker) {
        browsed.titleShown = HasChild(picker, [title](HWND child) {
            char text[256] = "";
            GetWindowTextA(child, text, sizeof(text));
            return lstrcmpA(text, title) == 0;
        });
        act(picker);
    });
    char chosen[MAX_PATH] = "stale";
    browsed.result = BrowseForFolder(NULL, initial.c_str(), title, flags, chosen);
    browsed.chosen = chosen;
    EXPECT_TRUE(driver.Finished());
    return browsed;
}

class BrowseForFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTestApplication();
        m_initial.SettleForPicker();
        m_other.SettleForPicker();
    }

    CEngineFolder m_initial;
    CEngineFolder m_other;
};

TEST_F(BrowseForFolderTest, OpensOnTheInitialFolderAndReturnsIt)
{
    Browsed browsed = Browse(m_initial.Path(), BIF_RETURNONLYFSDIRS, [](HWND picker) { PostClick(picker, IDOK); });
    EXPECT_EQ(BROWSE_FOLDER_CHOSEN, browsed.result);
    EXPECT_EQ(0, lstrcmpiA(m_initial.Path().c_str(), browsed.chosen.c_str())) << browsed.chosen;
    EXPECT_TRUE(browsed.titleShown);
}

TEST_F(BrowseForFolderTest, ReturnsTheFolderChosenInThePicker)
{
    Browsed browsed = Browse(m_initial.Path(), BIF_RETURNONLYFSDIRS, [this](HWND picker) {
        SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(m_other.Path().c_str()));
        PostClick(picker, IDOK);
    });
    EXPECT_EQ(BROWSE_FOLDER_CHOSEN, browsed.result);
    EXPECT_EQ(0, lstrcmpiA(m_other.Path().c_str(), browsed.chosen.c_str())) << browsed.chosen;
}

TEST_F(BrowseForFolderTest, CancelReportsNoFolder)
{
    Browsed browsed = Browse(m_initial.Path(), BIF_RETURNONLYFSDIRS, [](HWND picker) { PostClick(picker, IDCANCEL); });
    EXPECT_EQ(BROWSE_FOLDER_CANCELLED, browsed.result);
    EXPECT_EQ("", browsed.chosen);
}

TEST_F(BrowseForFolderTest, AnItemWithoutFileSystemPathReportsNoFolder)
{
    // Without BIF_RETURNONLYFSDIRS the picker lets the user confirm a virtual folder.
    Browsed browsed = Browse(m_initial.Path(), 0, [](HWND picker) {
        LPITEMIDLIST computer = NULL;
        SHGetSpecialFolderLocation(NULL, CSIDL_DRIVES, &computer);
        SendMessageA(picker, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer));
        CoTaskMemFree(computer);
        PostClick(picker, IDOK);
    });
    EXPECT_EQ(BROWSE_FOLDER_CANCELLED, browsed.result);
    EXPECT_EQ("", browsed.chosen);
}

} // namespace
