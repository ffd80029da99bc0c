#include <gtest/gtest.h>

#include <iostream>

#include "tests/reliability/HostileRun.h"

namespace {

struct Creation {
    bool answered;
    int milliseconds;
    int converted; // how many read "[h]" right after their creation
};

// Far below any wait for an unanswering receiver: a creation that waited for a
// dead Morvane would take seconds each.
const int kCount = 200;
const int kFreeCreationMs = 5000;

Creation Create(HWND target, int count)
{
    DWORD_PTR result = 0;
    bool answered = SendMessageTimeoutA(target, WM_HOSTILE_CREATE, count, 0, SMTO_NORMAL, 60000, &result) != 0;
    return {answered, LOWORD(result), HIWORD(result)};
}

using HookSafety = HostileRunTest;

TEST_F(HookSafety, WindowCreationGoesOnWhenMorvaneIsKilledAndConvertsAgainAfterARestart)
{
    ASSERT_NE(StartConverting(1), nullptr);
    CChildProcess process;
    HWND target = StartHostile(process, "plain");
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(WaitUntilHooked(target));
    int probes = Conversions();

    Creation hooked = Create(target, kCount);
    ASSERT_TRUE(hooked.answered);
    EXPECT_EQ(hooked.converted, kCount) << "each button is converted during its creation";
    EXPECT_EQ(Conversions(), probes + kCount);

    m_morvane.Kill();
    ASSERT_FALSE(m_morvane.IsRunning());
    Creation orphaned = Create(target, kCount);
    ASSERT_TRUE(orphaned.answered) << "creating windows hangs without Morvane";
    EXPECT_LT(orphaned.milliseconds, kFreeCreationMs);
    EXPECT_EQ(orphaned.converted, 0);
    EXPECT_EQ(Conversions(), probes + kCount);
    std::cout << "[          ] " << kCount << " creations: " << hooked.milliseconds << " ms hooked, "
              << orphaned.milliseconds << " ms after the kill" << std::endl;

    ASSERT_NE(StartConverting(1), nullptr);
    EXPECT_TRUE(m_startBoxes.empty());
    ASSERT_TRUE(WaitUntilHooked(target)) << "the restarted Morvane hooks again";
    Creation restarted = Create(target, kCount);
    ASSERT_TRUE(restarted.answered);
    EXPECT_EQ(restarted.converted, kCount);
    EXPECT_EQ(ExitMorvane(), 0);

    Creation released = Create(target, kCount);
    ASSERT_TRUE(released.answered);
    EXPECT_LT(released.milliseconds, kFreeCreationMs);
    EXPECT_EQ(released.converted, 0) << "an orderly exit removes the hook";
    EXPECT_TRUE(process.IsRunning());
}

} // namespace
