# Sourced by the scripts that run Windows programs: the Wine settings every run
# shares. WINEPREFIX is set by the caller; MORVANE_WINEARCH=win64 makes a prefix
# that runs 64-bit programs beside 32-bit ones (the default is a 32-bit prefix).
export WINEARCH=${MORVANE_WINEARCH:-win32}
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Where 32-bit code runs emulated, glibc cannot load libgcc_s late (a thread
# that ends would abort the process), so Wine's processes load it from the
# start (64-bit helpers say they ignore it). Natively nothing is preloaded:
# every 64-bit helper would warn about it.
morvane_emulated() {
    grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386
}
morvane_preload=""
if morvane_emulated; then
    morvane_preload="LD_PRELOAD=/usr/lib/i386-linux-gnu/libgcc_s.so.1"
fi

# Runs a Wine command.
morvane_wine() {
    env $morvane_preload "$@"
}

# Creates the prefix once, with Wine's crash dialog off so that a crashing test
# ends instead of waiting for a click. Creating a prefix is slow, all the more
# where 32-bit code runs emulated, so one master prefix is created per Wine
# version, one at a time for the whole machine, and every prefix is a copy.
morvane_ensure_prefix() {
    [ -f "$WINEPREFIX/.morvane-ready" ] && return 0
    master="${XDG_CACHE_HOME:-$HOME/.cache}/morvane/wineprefix-$WINEARCH-$(wine --version 2>/dev/null | tr -c 'a-zA-Z0-9.\n' _)"
    mkdir -p "$(dirname "$master")" "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$master/.morvane-ready" ]; then
            rm -rf "$master"
            (
                export WINEPREFIX="$master"
                morvane_wine wineboot -i >/dev/null 2>&1 || true
                morvane_wine wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
                morvane_wine wineserver -w || true
            )
            touch "$master/.morvane-ready"
        fi
    ) 9>"$master.lock"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.morvane-ready" ]; then
            rm -rf "$WINEPREFIX"
            cp -a "$master" "$WINEPREFIX"
        fi
    ) 9>"$WINEPREFIX.lock"
}
