#!/bin/sh
# CTest's emulator: wine-run.sh PREFIX PROGRAM [ARGS...] runs a Windows program
# in the build tree's own Wine prefix and returns its exit code.
set -eu
WINEPREFIX=$1
shift
export WINEPREFIX
. "$(dirname "$0")/wine-env.sh"
morvane_ensure_prefix
exec env $morvane_preload wine "$@"
