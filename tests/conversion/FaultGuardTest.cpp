#include <gtest/gtest.h>

#include "conversion/FaultGuard.h"

namespace {

volatile int g_zero = 0;
int* volatile g_null = nullptr;

int Recurse(int depth)
{
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    return g_zero == 12345 ? 0 : Recurse(depth + 1) + frame[0];
}

void* ExceptionList()
{
    void* head;
    __asm__ volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

struct Fault {
    const char* name;
    void (*raise)();
    DWORD code;
};

class FaultGuard : public ::testing::TestWithParam<Fault> {};

// Twice each: the first fault must leave the thread (the stack's guard page
// too) ready to contain the next one. A fault that the function's own frames
// handle, as IsBadReadPtr does, never reaches the guard.
TEST_P(FaultGuard, EndsTheCallWithItsCodeAndLeavesTheThreadAsItWas)
{
    void* frames = ExceptionList();
    for (int round = 0; round < 2; ++round) {
        BOOL probed = FALSE;
        bool after = false;
        auto call = [&] {
            probed = IsBadReadPtr(reinterpret_cast<void*>(16), 1);
            GetParam().raise();
            after = true;
        };
        EXPECT_EQ(CFaultGuard::Run(call), GetParam().code) << "round " << round;
        EXPECT_TRUE(probed);
        EXPECT_EQ(after, GetParam().code == 0);
        EXPECT_EQ(ExceptionList(), frames);
    }
    volatile double x87 = 1.5;
    EXPECT_EQ(x87 * 2, 3.0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultGuard,
    ::testing::Values(Fault{"AccessViolation", [] { *g_null = 1; }, EXCEPTION_ACCESS_VIOLATION},
                      Fault{"DivideByZero", [] { g_zero = 100 / g_zero; }, EXCEPTION_INT_DIVIDE_BY_ZERO},
                      Fault{"IllegalInstruction", [] { __asm__ volatile("ud2"); }, EXCEPTION_ILLEGAL_INSTRUCTION},
                      Fault{"PrivilegedInstruction", [] { __asm__ volatile("hlt"); }, EXCEPTION_PRIV_INSTRUCTION},
                      Fault{"StackOverflow", [] { g_zero = Recurse(0); }, EXCEPTION_STACK_OVERFLOW},
                      Fault{"InnerGuardThenOuter", [] { *g_null = CFaultGuard::Run([](void*) { *g_null = 2; }, nullptr); },
                            EXCEPTION_ACCESS_VIOLATION},
                      Fault{"Returns", [] {}, 0}),
    [](const ::testing::TestParamInfo<Fault>& info) { return info.param.name; });

} // namespace
