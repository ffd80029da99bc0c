#include <gtest/gtest.h>

#include <stdio.h>
#include <windows.h>

// The test programs' entry: output unbuffered, so that a test killed by its
// timeout still shows how far it got; no error boxes waiting for a click.
int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    setvbuf(stderr, NULL, _IONBF, 0);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
