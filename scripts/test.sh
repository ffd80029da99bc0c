#!/bin/sh
# Installs what is missing, builds everything and runs the whole test suite
# under Wine on a private Xvfb display. Extra arguments go to ctest.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}

"$root/scripts/bootstrap.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
# MORVANE_TARGETS narrows the build to some targets (the default builds all).
if [ -n "${MORVANE_TARGETS:-}" ]; then
    for target in $MORVANE_TARGETS; do
        cmake --build "$build" -j"$(nproc)" --target "$target"
    done
else
    cmake --build "$build" -j"$(nproc)"
fi

. "$root/scripts/xvfb.sh"
export WINEPREFIX="$build/wineprefix"
cleanup() {
    WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$build/wineprefix64" wineserver -k 2>/dev/null || true
    morvane_stop_xvfb
}
trap cleanup EXIT INT TERM
morvane_start_xvfb
. "$root/scripts/wine-env.sh"
morvane_ensure_prefix
# One Wine server for all the tests, with its session and desktop started
# before the first test's clock runs (slow where 32-bit code runs emulated) and
# away from CTest's output pipes, which a lingering Wine service would hold open.
morvane_wine wineserver -p
morvane_wine wine "$build/bin/MorvaneCtl.exe" desktop >/dev/null 2>&1 </dev/null || true

# The 64-bit hook tests run in a prefix of their own that runs 64-bit programs
# beside 32-bit ones, where this machine's Wine can make one.
if (export MORVANE_WINEARCH=win64 WINEPREFIX="$build/wineprefix64"; . "$root/scripts/wine-env.sh" &&
    morvane_ensure_prefix && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] &&
    morvane_wine wine "$build/bin/MorvaneCtl.exe" desktop >/dev/null 2>&1 </dev/null); then
    set -- "$@"
else
    echo "test: this machine's Wine makes no 64-bit prefix: the 64-bit hook tests are left out"
    set -- -E hook64 "$@"
fi

ctest --test-dir "$build" --output-on-failure "$@"
