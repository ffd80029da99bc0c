#include <gtest/gtest-spi.h>

#include "app/QelException.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/MessageBoxWatcher.h"
#include "ui/resource.h"

namespace {

const UINT WM_THROW = WM_APP + 5;
const UINT WM_ANSWER = WM_APP + 6;
const UINT WM_RUN = WM_APP + 8;

struct ExceptionCase {
    const char* name;
    int button;
    bool quits;
};

class ExceptionTest : public FrameworkTest, public testing::WithParamInterface<ExceptionCase> {
protected:
    void TearDown() override
    {
        WPARAM code;
        TakeQuitMessage(&code);
    }

    // One box tells of the exception, and only its Cancel button quits.
    void ExpectOneExceptionBox(const CMessageBoxWatcher& watcher)
    {
        WPARAM code = 99;
        EXPECT_EQ(TakeQuitMessage(&code), GetParam().quits);
        if (GetParam().quits) {
            EXPECT_EQ(code, 0u);
        }
        ASSERT_EQ(watcher.Seen().size(), 1u);
        const SeenMessageBox expected{"", ExpectedString(IDS_OUT_OF_MEMORY), MB_ICONHAND, MB_OKCANCEL, NULL};
        EXPECT_EQ(watcher.Seen().front(), expected);
    }
};

TEST_P(ExceptionTest, WindowHandlerExceptionIsShownAndTheMessageGetsZero)
{
    const ExceptionCase& c = GetParam();
    CScriptedWindow window;
    window.on[WM_THROW] = [](HWND, WPARAM, LPARAM) -> LRESULT { ThrowMemoryException(); };
    window.on[WM_ANSWER] = [](HWND, WPARAM, LPARAM) { return static_cast<LRESULT>(42); };
    ASSERT_TRUE(CreateProbe(window));

    CMessageBoxWatcher watcher(c.button);
    EXPECT_EQ(SendMessageA(window.m_hWnd, WM_THROW, 0, 0), 0);
    ExpectOneExceptionBox(watcher);

    EXPECT_EQ(g_windowMap.Lookup(window.m_hWnd), &window);
    EXPECT_EQ(SendMessageA(window.m_hWnd, WM_ANSWER, 0, 0), 42);
}

TEST_P(ExceptionTest, DialogHandlerExceptionIsShownAndTheDialogGoesOn)
{
    const ExceptionCase& c = GetParam();
    CScriptedIconDialog dialog(IDD_FRAMEWORK_TEST);
    LRESULT thrownResult = -1;
    AtInit(dialog, [](HWND hwnd) { PostMessageA(hwnd, WM_RUN, 0, 0); });
    // Had the handler's TRUE got through, the dialog manager would answer with this result.
    dialog.on[WM_THROW] = [](HWND hwnd, WPARAM, LPARAM) -> LRESULT {
        SetWindowLongA(hwnd, DWL_MSGRESULT, 99);
        ThrowMemoryException();
    };
    dialog.on[WM_RUN] = [&](HWND hwnd, WPARAM, LPARAM) {
        thrownResult = SendMessageA(hwnd, WM_THROW, 0, 0);
        EndDialog(hwnd, 7);
        return static_cast<LRESULT>(TRUE);
    };

    CMessageBoxWatcher watcher(c.button);
    EXPECT_EQ(dialog.DoModal(NULL), 7);
    EXPECT_EQ(thrownResult, 0);
    ExpectOneExceptionBox(watcher);
}

TEST_P(ExceptionTest, ExceptionWhileCreatingLeavesTheWindowCreatedAndBound)
{
    const ExceptionCase& c = GetParam();
    CScriptedWindow window;
    window.on[WM_CREATE] = [](HWND, WPARAM, LPARAM) -> LRESULT { ThrowMemoryException(); };
    CMessageBoxWatcher watcher(c.button);
    ASSERT_TRUE(CreateProbe(window));
    ExpectOneExceptionBox(watcher);
    EXPECT_EQ(g_windowMap.Lookup(window.m_hWnd), &window);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ExceptionTest,
                         testing::Values(ExceptionCase{"Ok", IDOK, false}, ExceptionCase{"Cancel", IDCANCEL, true}),
                         [](const testing::TestParamInfo<ExceptionCase>& info) { return info.param.name; });

// The test programs answer a box that no test watches for, and the running test fails with its text.
TEST(UnexpectedMessageBox, FailsTheRunningTestAndIsAnsweredSoThatTheProgramGoesOn)
{
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(MessageBoxA(NULL, "left open", "Stray", MB_OKCANCEL), IDOK),
                            "unexpected message box \"Stray\": left open");
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(MessageBoxA(NULL, "a question", "Stray", MB_YESNO), IDYES),
                            "unexpected message box \"Stray\": a question");
    CMessageBoxWatcher own(IDCANCEL);
    EXPECT_EQ(MessageBoxA(NULL, "expected", "Own", MB_OKCANCEL), IDCANCEL) << "a test's own watcher comes first";
    EXPECT_EQ(own.Seen().size(), 1u);
}

} // namespace
