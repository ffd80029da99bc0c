#!/bin/sh
# Pictures every dialog of the program as it shows under Wine with the Japanese
# IPA fonts, one PNG per dialog in <build>/screenshots, for a person to look at.
# Runs in a Wine prefix of its own: Wine draws the window frames itself there
# (there is no window manager on the private display to draw them), and the
# dialog font is mapped to the IPA font, neither of which the tests should see.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}
out=$build/screenshots

"$root/scripts/bootstrap.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target DialogGallery

. "$root/scripts/xvfb.sh"
export WINEPREFIX="$out/wineprefix"
cleanup() {
    WINEPREFIX="$out/wineprefix" wineserver -k 2>/dev/null || true
    morvane_stop_xvfb
}
trap cleanup EXIT INT TERM
morvane_start_xvfb
. "$root/scripts/wine-env.sh"
mkdir -p "$out"
morvane_ensure_prefix
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d 'IPAPGothic' /f >/dev/null 2>&1

rm -f "$out"/*.bmp "$out"/*.png
wine "$build/bin/DialogGallery.exe" "$(winepath -w "$out")" "$(winepath -w "$build/bin")"
for bmp in "$out"/*.bmp; do
    convert "$bmp" "${bmp%.bmp}.png"
    rm "$bmp"
done
ls "$out"/*.png
