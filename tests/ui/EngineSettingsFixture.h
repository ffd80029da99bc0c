#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/engines/ProbeEngine.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/DialogDriver.h"
#include "ui/EngineSettingsDialog.h"

#include <gtest/gtest.h>

// A fresh folder of the temporary directory holding copies of some probe
// engines; removed with everything in it when the object goes.
class CEngineFolder : public CTempFolder {
public:
    explicit CEngineFolder(std::initializer_list<const char*> probeEngines = {});
    // Wine's folder picker finds a folder by comparing item ids that record
    // each folder's last access time, and the first read of a folder since it
    // last changed moves that time on, even while the picker walks to it; the
    // picker then opens on the desktop. Reads the folder and every folder above
    // it: call it after the last change in or next to the folder, just before
    // the picker opens.
    void SettleForPicker() const;
};

struct EngineRow {
    std::string fileName;
    std::string description;
    std::string version;
    bool operator==(const EngineRow& other) const
    {
        return fileName == other.fileName && description == other.description && version == other.version;
    }
};

// The list control of the engine settings dialog, read and changed in place.
std::vector<EngineRow> SortedRows(HWND dialog);
std::string SelectedName(HWND dialog);
void SelectRow(HWND dialog, const char* fileName);
void ClearSelection(HWND dialog);

// Dialog objects take the running application's instance when they are built,
// so the application comes before the fixture's dialog.
struct WithTestApplication {
    WithTestApplication();
};

class EngineSettingsDialogTest : public ::testing::Test, private WithTestApplication {
protected:
    // Runs the dialog on the folder with the given initial engine path and sample.
    int Run(const std::string& folder, const std::string& enginePath, const char* sample = "abc");

    CEngineSettingsDialog m_dialog;
    CDialogDriver m_driver;
    CMessageBoxWatcher m_boxes{IDOK};
    CProbeLog m_log;
};
