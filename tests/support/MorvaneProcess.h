#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/PreferencesScope.h"
#include "tests/support/ProcessDriver.h"

// Starts the build's Morvane.exe and waits for its hidden main window (null on failure).
HWND StartMorvane(CChildProcess& morvane, DWORD timeoutMs);
// Asks Morvane to exit through the tray menu's Exit command and returns its exit
// code, or -1 when it still runs after the time; it is then killed.
int ExitMorvane(CChildProcess& morvane, HWND mainWnd, DWORD timeoutMs);

// Runs the real Morvane.exe in its own process against a clean preferences key.
class MorvaneProcessTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Starts Morvane and waits for its hidden main window (null on failure).
    HWND StartMorvane();
    // Exits through the tray menu's Exit command; returns the exit code.
    int ExitMorvane();
    void Command(WPARAM id);

    static std::string Bin(const std::string& name) { return BinaryFolder() + "\\" + name; }

    CPreferencesScope m_preferences;
    CChildProcess m_morvane;
    HWND m_hMainWnd = nullptr;
};
