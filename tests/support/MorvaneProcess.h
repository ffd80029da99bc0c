#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/ProcessDriver.h"

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
