#include <gtest/gtest.h>

#include "tests/support/ExpectedTexts.h"
#include "tests/support/MorvaneRun.h"
#include "tests/support/TempFolder.h"
#include "ui/resource.h"

namespace {

// Morvane started in a folder of its own choosing: a relative engine name
// must not find a library that lies only in that folder.
using CurrentFolder = MorvaneRunTest;

TEST_F(CurrentFolder, ARelativeEngineNameIsNotLoadedFromTheCurrentFolder)
{
    CTempFolder folder;
    ASSERT_TRUE(CopyFileA(TestEnginePath("ProbeComplete.TXV").c_str(), folder.PathOf("CurrentOnly.TXV").c_str(),
                          FALSE));
    CPreferencesScope::SetString("Engine", "CurrentOnly.TXV");
    ASSERT_NE(StartAnswering(folder.Path()), nullptr);
    ASSERT_EQ(m_startBoxes.size(), 1u) << "the engine must not load";
    EXPECT_EQ(m_startBoxes[0].text, ExpectedError(IDS_ENGINE_LOAD_FAILED, ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(ExitMorvane(), 0);
}

} // namespace
