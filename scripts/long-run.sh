#!/bin/sh
# Runs the long-run reliability test for ten minutes per resident mode (or
# MORVANE_LONG_RUN_SECONDS each) under Wine, one mode per CTest run so that
# each stays within the test program's time-out. Extra arguments go to ctest.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
export MORVANE_LONG_RUN_SECONDS="${MORVANE_LONG_RUN_SECONDS:-600}"
for mode in Normal Hook; do
    # GoogleTest reads its filter from the environment, which Wine passes on.
    GTEST_FILTER="*LongRun*/$mode" "$root/scripts/test.sh" -R '^reliability_tests$' "$@"
done
