#include <gtest/gtest.h>

#include <stdio.h>
#include <windows.h>

#include "tests/support/MessageBoxWatcher.h"

namespace {

// The button that lets the program go on rather than quit or try again.
int GoOnAnswer(UINT buttons)
{
    switch (buttons) {
    case MB_OK:
    case MB_OKCANCEL:
        return IDOK;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    case MB_ABORTRETRYIGNORE:
        return IDIGNORE;
    default:
        return IDCANCEL;
    }
}

} // namespace

// The test programs' entry: output unbuffered, so that a test killed by its
// timeout still shows how far it got; no error boxes waiting for a click.
int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    setvbuf(stderr, NULL, _IONBF, 0);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    ::testing::InitGoogleTest(&argc, argv);
    // A message box that no test watches for would wait for a click until the
    // program's timeout: it fails the running test and is answered at once.
    CMessageBoxWatcher unexpected(IDOK, [&unexpected](const SeenMessageBox& box) {
        ADD_FAILURE() << "unexpected message box \"" << box.caption << "\": " << box.text;
        unexpected.SetAnswer(GoOnAnswer(box.buttons));
    });
    return RUN_ALL_TESTS();
}
