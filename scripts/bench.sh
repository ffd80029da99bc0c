#!/bin/sh
# Measures Morvane's normal-mode conversion against a bare poller under Wine on
# a private Xvfb display and prints a table and one "bench: NAME=VALUE" line
# per figure. Arguments: the button counts, "dN" for N declined captions and N
# edit controls (default 100 1000 d1000). Not part of the
# test run. MORVANE_BENCH_PERIOD sets the conversion period in ms (default 50).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BENCH_BUILD_DIR:-$root/build-bench}
period=${MORVANE_BENCH_PERIOD:-50}
[ $# -gt 0 ] || set -- 100 1000 d1000

"$root/scripts/bootstrap.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target morvane_bench dictionary_bench MorvaneCtl >/dev/null

. "$root/scripts/xvfb.sh"
export WINEPREFIX="$build/wineprefix"
sampler=
exchange=
cleanup() {
    [ -z "$sampler" ] || kill "$sampler" 2>/dev/null || true
    [ -z "$exchange" ] || rm -rf "$exchange"
    WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
    morvane_stop_xvfb
}
trap cleanup EXIT INT TERM
morvane_start_xvfb
. "$root/scripts/wine-env.sh"
morvane_ensure_prefix
morvane_wine wineserver -p
morvane_wine wine "$build/bin/MorvaneCtl.exe" desktop >/dev/null 2>&1 </dev/null || true

# CPU seconds (user plus system) of a Unix process, 0 for none.
cpu_seconds() {
    if [ -n "$1" ] && [ -r "/proc/$1/stat" ]; then
        awk -v hz="$hz" '{ sub(/.*\) /, ""); split($0, f, " "); printf "%.2f", (f[12] + f[13]) / hz }' "/proc/$1/stat"
    else
        printf 0
    fi
}

# Anonymous resident memory of a Unix process in kB, 0 for none.
anonymous_kb() {
    if [ -n "$1" ] && [ -r "/proc/$1/status" ]; then
        awk '/^RssAnon:/ { printf "%d", $2 }' "/proc/$1/status"
    else
        printf 0
    fi
}

# The process of this prefix with the given name: other prefixes may run the
# same programs at the same time.
prefix_process() {
    for pid in $(pgrep -u "$(id -u)" -x "$1"); do
        if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
            return
        fi
    done
}

# Answers the driver's requests with the CPU times of the Wine server (which
# does every cross-process read), Morvane and the driver, and Morvane's
# anonymous resident memory. The programs under
# Wine cannot read them: Wine gives no times of other processes, and where
# 32-bit code runs emulated the emulator fakes the process table they see.
sample_cpu() {
    while :; do
        for request in "$exchange"/request.*; do
            [ -e "$request" ] || continue
            n=${request##*.}
            morvane=$(prefix_process Morvane.exe)
            echo "$(cpu_seconds "$(prefix_process 'wineserver(32|64)?')") $(cpu_seconds "$morvane")" \
                "$(cpu_seconds "$(prefix_process morvane_bench.e)") $(anonymous_kb "$morvane")" >"$exchange/part.$n"
            mv "$exchange/part.$n" "$exchange/answer.$n"
            rm -f "$request"
        done
        sleep 0.01
    done
}

hz=$(getconf CLK_TCK)
exchange=$(mktemp -d "$build/bench.XXXXXX")
sample_cpu &
sampler=$!

# Where the kernel hands 32-bit programs to qemu-i386, every figure is several
# times larger and some costs hide behind the emulator's.
kind=native
if morvane_emulated; then
    kind=emulated
fi
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), 32-bit code $kind"
echo "bench: machine_32bit=$kind"
echo "period: $period ms"
cd "$build/bin"
timeout 3000 env $morvane_preload \
    wine morvane_bench.exe "$(printf 'Z:%s' "$exchange" | tr / '\\')" "$period" "$@" </dev/null
# The dictionary engine's own figures: loading a table of 10,000 entries and
# converting each kind of caption.
timeout 600 env $morvane_preload wine dictionary_bench.exe </dev/null
