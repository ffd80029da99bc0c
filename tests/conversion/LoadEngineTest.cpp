#include <gtest/gtest.h>

#include "app/MorvaneApp.h"
#include "conversion/Engine.h"
#include "conversion/EngineHolder.h"
#include "tests/engines/ProbeEngine.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/MessageBoxWatcher.h"
#include "tests/support/TestApp.h"
#include "ui/resource.h"

namespace {

class LoadEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTestApplication();
        g_pApp->LoadEngine(NULL);
    }
    void TearDown() override { g_pApp->LoadEngine(NULL); }

    CProbeLog m_log;
};

TEST_F(LoadEngine, StartsTheEngineAndNullOrEmptyEndsIt)
{
    for (const char* none : {static_cast<const char*>(NULL), ""}) {
        std::string path = TestEnginePath("ProbeComplete.TXV");
        CMessageBoxWatcher watcher(IDOK);
        ASSERT_TRUE(g_pApp->LoadEngine(path.c_str()));
        ASSERT_NE(g_pApp->m_pEngine, nullptr);
        EXPECT_TRUE(g_pApp->m_pEngine->IsInitialized());
        EXPECT_STREQ(g_pApp->m_pEngine->GetPath(), path.c_str());

        EXPECT_TRUE(g_pApp->LoadEngine(none));
        EXPECT_EQ(g_pApp->m_pEngine, nullptr);
        EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
        EXPECT_TRUE(watcher.Seen().empty());
    }
    const std::vector<std::string> once = {"complete attach", "complete TXVGetAPIVersion", "complete TXVInitEngine",
                                           "complete TXVExitEngine", "complete detach"};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(m_log.Lines(), twice);
}

TEST_F(LoadEngine, EndsTheCurrentEngineBeforeLoadingTheNext)
{
    ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath("ProbeComplete.TXV").c_str()));
    m_log.Clear();
    ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath("ProbeBare.TXV").c_str()));
    const std::vector<std::string> expected = {"complete TXVExitEngine", "complete detach", "bare attach",
                                               "bare TXVGetAPIVersion", "bare TXVInitEngine"};
    EXPECT_EQ(m_log.Lines(), expected);
}

TEST_F(LoadEngine, AFailedStartIsReportedAndLeavesNoEngine)
{
    ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath("ProbeComplete.TXV").c_str()));
    std::string path = TestEnginePath("ProbeInitFails.TXV");
    CMessageBoxWatcher watcher(IDOK);
    EXPECT_FALSE(g_pApp->LoadEngine(path.c_str()));
    EXPECT_EQ(g_pApp->m_pEngine, nullptr);
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0], MorvaneWarning(ExpectedString(IDS_ENGINE_INIT_FAILED)));
    std::vector<std::string> lines = m_log.Lines();
    const std::vector<std::string> tail = {"initfails attach", "initfails TXVGetAPIVersion", "initfails TXVInitEngine",
                                           "initfails detach"};
    ASSERT_GE(lines.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(lines.end() - tail.size(), lines.end()), tail) << "never ended";
}

TEST_F(LoadEngine, ARejectedLibraryIsReportedOnceAndLeavesNoEngine)
{
    ASSERT_TRUE(g_pApp->LoadEngine(TestEnginePath("ProbeComplete.TXV").c_str()));
    CMessageBoxWatcher watcher(IDOK);
    EXPECT_FALSE(g_pApp->LoadEngine(TestEnginePath("ProbeApi00020000.TXV").c_str()));
    EXPECT_EQ(g_pApp->m_pEngine, nullptr) << "the previous engine is gone too";
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, ExpectedString(IDS_ENGINE_API_TOO_HIGH));
}

TEST(EngineHolder, DeletesItsEngineUnlessReleased)
{
    CProbeLog log;
    std::string path = TestEnginePath("ProbeComplete.TXV");
    CEngine* kept = nullptr;
    {
        CEngineHolder holder(new CEngine(TRUE, g_pApp));
        ASSERT_TRUE(holder.Get()->Load(path.c_str()));
        ASSERT_TRUE(holder.Get()->InitEngine());
        kept = holder.Release();
        EXPECT_EQ(holder.Get(), nullptr);
    }
    EXPECT_NE(GetModuleHandleA(path.c_str()), nullptr) << "a released engine stays";
    delete kept;
    {
        CEngineHolder holder(new CEngine(TRUE, g_pApp));
        ASSERT_TRUE(holder.Get()->Load(path.c_str()));
        holder.Free();
        EXPECT_EQ(holder.Get(), nullptr);
        EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "Free deletes at once";
        CEngineHolder scoped(new CEngine(TRUE, g_pApp));
        ASSERT_TRUE(scoped.Get()->Load(path.c_str()));
    }
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "the destructor deletes";
}

} // namespace
