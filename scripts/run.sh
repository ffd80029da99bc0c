#!/bin/sh
# Installs what is missing, builds Morvane and shows it at work under Wine: the
# dictionary engine turns the captions of an English dialog Japanese. With a
# display it stays until you exit Morvane from its tray menu; without one it
# runs on a private Xvfb, saves screenshots before and after, and exits.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}

"$root/scripts/bootstrap.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target Morvane DemoDialog MorvaneCtl Dictionary

. "$root/scripts/xvfb.sh"
# The demo's own prefix: a user's real Wine prefix is never touched.
export WINEPREFIX="$build/demo-prefix"
interactive=1
if [ -z "${DISPLAY:-}" ]; then
    interactive=0
    morvane_start_xvfb
fi
cleanup() {
    wineserver -k 2>/dev/null || true
    morvane_stop_xvfb
}
trap cleanup EXIT INT TERM
. "$root/scripts/wine-env.sh"
morvane_ensure_prefix

bin="$build/bin"
key='HKCU\Software\Quorvel\Morvane\Preferences'
wine reg add "$key" /v Engine /t REG_SZ /d "$(winepath -w "$bin/Dictionary.TXV")" /f >/dev/null 2>&1
wine reg add "$key" /v EngineFolder /t REG_SZ /d "$(winepath -w "$bin")" /f >/dev/null 2>&1
wine reg add "$key" /v ResMode /t REG_DWORD /d 0 /f >/dev/null 2>&1
# Every program of this prefix runs on one virtual desktop with a taskbar, so
# that the tray icon shows and the demo's programs find each other's windows.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops\Default' /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1

ctl() { wine "$bin/MorvaneCtl.exe" "$@" </dev/null >/dev/null 2>&1; }

wine "$bin/DemoDialog.exe" </dev/null >/dev/null 2>&1 &
ctl wait english

if [ "$interactive" -eq 1 ]; then
    echo "Morvane runs: its icon is in the taskbar of the Wine desktop. Exit it from the icon's menu."
    wine "$bin/Morvane.exe"
    exit 0
fi

before="$build/demo-before.png"
after="$build/demo-after.png"
# Let the desktop finish painting before each picture.
sleep 2
import -window root -crop 1024x768+0+0 "$before"
wine "$bin/Morvane.exe" </dev/null >/dev/null 2>&1 &
ctl wait japanese
sleep 2
import -window root -crop 1024x768+0+0 "$after"
ctl exit
echo "before: $before"
echo "after:  $after"
