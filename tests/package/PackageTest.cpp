#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "tests/support/ProcessDriver.h"
#include "ui/resource.h"

namespace {

// The Morvane folder unpacked from the package, named by the test that unpacks it.
std::string PackageFolder()
{
    const char* folder = getenv("MORVANE_PACKAGE_FOLDER");
    return folder != nullptr ? folder : "";
}

// Morvane started the way Explorer starts it, in its own folder. CChildProcess
// starts programs in the build's binary folder, whose MorLatch.dll would stand
// in for one missing from the package.
class CUnpackedMorvane {
public:
    CUnpackedMorvane() = default;
    CUnpackedMorvane(const CUnpackedMorvane&) = delete;
    CUnpackedMorvane& operator=(const CUnpackedMorvane&) = delete;

    ~CUnpackedMorvane()
    {
        if (m_info.hProcess == nullptr)
            return;
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_info.hProcess, 99);
            WaitForSingleObject(m_info.hProcess, 5000);
        }
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }

    bool Start(const std::string& folder)
    {
        std::string commandLine = "\"" + folder + "\\Morvane.exe\"";
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                              &m_info) != FALSE;
    }

    // The exit code, or -1 when the process still runs after the time.
    int WaitExit(DWORD timeoutMs)
    {
        if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return static_cast<int>(code);
    }

    DWORD Id() const { return m_info.dwProcessId; }

private:
    PROCESS_INFORMATION m_info{};
};

TEST(Package, TheUnpackedMorvaneRunsWithTheUnpackedDictionaryEngineAndExitsWithZero)
{
    const std::string folder = PackageFolder();
    ASSERT_FALSE(folder.empty()) << "MORVANE_PACKAGE_FOLDER must name the unpacked Morvane folder";
    CPreferencesScope preferences;
    CPreferencesScope::SetString("Engine", folder + "\\Dictionary.TXV");

    CUnpackedMorvane morvane;
    ASSERT_TRUE(morvane.Start(folder));
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

} // namespace
