#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/support/PeImage.h"
#include "tests/support/PreferencesScope.h"
#include "tests/support/ProcessDriver.h"
#include "ui/resource.h"

namespace {

const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Morvane";
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// What the build names in the test's environment.
std::string Given(const char* name)
{
    const char* value = getenv(name);
    return value != nullptr ? value : "";
}

// Morvane started the way Explorer starts it, in its own folder: in the build's
// binary folder, that folder's MorLatch.dll would stand in for one missing from
// the package.
bool StartIn(CChildProcess& morvane, const std::string& folder)
{
    return morvane.Start("\"" + folder + "\\Morvane.exe\"", folder);
}

// A string value under HKEY_CURRENT_USER, empty when missing.
std::string UserValue(const char* key, const char* name)
{
    std::string value;
    return CUserKey(key).GetString(name, &value) ? value : "";
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Package, TheUnpackedMorvaneRunsWithTheUnpackedDictionaryEngineAndExitsWithZero)
{
    const std::string folder = Given("MORVANE_PACKAGE_FOLDER");
    ASSERT_FALSE(folder.empty()) << "MORVANE_PACKAGE_FOLDER must name the unpacked Morvane folder";
    CPreferencesScope preferences;
    CPreferencesScope::SetString("Engine", folder + "\\Dictionary.TXV");

    CChildProcess morvane;
    ASSERT_TRUE(StartIn(morvane, folder));
    // A missing library keeps Morvane from starting; a missing engine or
    // table stops its start-up at an error box.
    HWND mainWnd = WaitForTopLevelWindow("MorvaneWndClass", morvane.Id(), 15000);
    ASSERT_NE(mainWnd, nullptr);
    EXPECT_EQ(FindProcessDialog(morvane.Id(), nullptr), nullptr);

    PostMessageA(mainWnd, WM_COMMAND, ID_TRAY_EXIT, 0);
    EXPECT_EQ(morvane.WaitExit(15000), 0);
    std::string engineFolder;
    EXPECT_TRUE(CPreferencesScope::GetString("EngineFolder", &engineFolder)) << "an orderly exit saves the preferences";
    EXPECT_EQ(engineFolder, folder);
}

// A silent install with the start-with-Windows switch, the installed Morvane
// switched to hook mode, then a silent uninstall while it runs.
// A binary that imports a function Windows XP lacks does not start there at all.
TEST(Package, EveryShippedBinaryImportsOnlyWhatWindowsXpExports)
{
    const std::string folder = Given("MORVANE_PACKAGE_FOLDER");
    std::ifstream list(Given("MORVANE_XP_EXPORTS"));
    ASSERT_TRUE(list.good()) << "MORVANE_XP_EXPORTS must name the list of Windows XP's exports";
    std::set<std::string> known;
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line[0] != '#')
            known.insert(line);
    }
    int binaries = 0;
    for (const char* name : {"Morvane.exe", "MorLatch.dll", "Dictionary.TXV", "FullWidth.TXV"}) {
        CPeImage image(folder + "\\" + name);
        ASSERT_TRUE(image.Valid()) << name;
        std::vector<std::string> imported;
        ASSERT_TRUE(image.ImportedFunctions(&imported)) << name;
        for (const std::string& function : imported) {
            // Our own library is in the package beside the program.
            if (function.rfind("morlatch.dll ", 0) != 0) {
                EXPECT_EQ(known.count(function), 1u) << name << " imports " << function;
            }
        }
        binaries += !imported.empty();
    }
    EXPECT_EQ(binaries, 4);
}

TEST(Package, TheSetupInstallsForTheUserAndItsUninstallerLetsMorvaneSaveAndLeavesNothing)
{
    const std::string setup = Given("MORVANE_SETUP");
    ASSERT_FALSE(setup.empty()) << "MORVANE_SETUP must name the setup program";
    CPreferencesScope preferences;
    const std::string folder = Given("LOCALAPPDATA") + "\\Programs\\Morvane";
    const std::string shortcuts = Given("APPDATA") + "\\Microsoft\\Windows\\Start Menu\\Programs\\Morvane";

    CChildProcess installer;
    ASSERT_TRUE(installer.Start("\"" + setup + "\" /S /AUTOSTART"));
    ASSERT_EQ(installer.WaitExit(180000), 0);
    for (const char* file : {"Morvane.exe", "MorLatch.dll", "MorLatch64.dll", "MorLatch64Host.exe", "Dictionary.TXV",
                             "Dictionary.txt", "FullWidth.TXV", "readme.txt", "Uninstall.exe"})
        EXPECT_TRUE(Exists(folder + "\\" + file)) << file;
    EXPECT_TRUE(Exists(shortcuts + "\\Morvane.lnk"));
    const std::string uninstaller = UserValue(kUninstallKey, "UninstallString");
    EXPECT_EQ(uninstaller, "\"" + folder + "\\Uninstall.exe\"");
    EXPECT_EQ(UserValue(kUninstallKey, "DisplayVersion"), Given("MORVANE_VERSION"));
    EXPECT_EQ(UserValue(kRunKey, "Morvane"), "\"" + folder + "\\Morvane.exe\"");

    CChildProcess morvane;
    ASSERT_TRUE(StartIn(morvane, folder));
    HWND mainWnd = WaitForTopLevelWindow("MorvaneWndClass", morvane.Id(), 60000);
    ASSERT_NE(mainWnd, nullptr);
    PostMessageA(mainWnd, WM_COMMAND, ID_TRAY_OPTIONS, 0);
    HWND options = nullptr;
    // The dialog is found as soon as it exists, before its controls do.
    ASSERT_TRUE(WaitUntil(
        [&] {
            options = FindProcessDialog(morvane.Id(), nullptr);
            return options != nullptr && IsWindowVisible(GetDlgItem(options, IDC_HOOK_MODE));
        },
        60000));
    SendDlgItemMessageA(options, IDC_HOOK_MODE, BM_CLICK, 0, 0);
    ASSERT_EQ(IsDlgButtonChecked(options, IDC_HOOK_MODE), static_cast<UINT>(BST_CHECKED));
    PostMessageA(options, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }, 60000));

    // The uninstaller hands over to a copy of itself outside the folder and
    // returns at once, so its effects are waited for.
    CChildProcess uninstall;
    ASSERT_TRUE(uninstall.Start(uninstaller + " /S"));
    EXPECT_EQ(morvane.WaitExit(120000), 0);
    DWORD resMode = 0;
    EXPECT_TRUE(CPreferencesScope::GetDWORD("ResMode", &resMode) && resMode == 1)
        << "Morvane was asked to exit through its Exit command, which saves the preferences";
    EXPECT_TRUE(WaitUntil([] { return !CUserKey(kUninstallKey).Exists(); }, 180000));
    EXPECT_FALSE(Exists(folder));
    EXPECT_FALSE(Exists(shortcuts));
    EXPECT_EQ(UserValue(kRunKey, "Morvane"), "");
}

} // namespace
