#!/bin/sh
# Installs what building and testing Morvane needs, and nothing when it is all there.
set -eu

packages="g++-mingw-w64-i686 cmake wine wine32:i386 xvfb xauth fonts-ipafont-gothic googletest locales
          imagemagick x11-apps zip unzip binutils-mingw-w64-i686 nsis
          wine64 gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ -n "$missing" ]; then
    echo "bootstrap: installing$missing"
    if ! dpkg --print-foreign-architectures | grep -q '^i386$'; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

# Wine needs a Japanese locale to run with code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "bootstrap: generating ja_JP.UTF-8"
    if [ -f /etc/locale.gen ]; then
        $SUDO sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
        $SUDO locale-gen >/dev/null
    else
        $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
    fi
fi

# Wine's 32-bit half needs a kernel that runs 32-bit programs. Where that is
# switched off, they run through the i386 user-mode emulator instead. The
# emulator of this release cannot run Wine's RPC server threads (so the shell,
# the tray and the desktop die); the next release's can, and being statically
# linked it runs here as it is.
qemu=/opt/morvane/qemu-i386
entry=/proc/sys/fs/binfmt_misc/qemu-i386
# The next release: its emulator comes from the same archive as this release.
qemu_suite=trixie

# The Debian archive that serves this machine's own release, as apt is
# configured here (one-line and deb822 sources alike); apt knows a source's
# origin only once its lists have been fetched.
debian_archive() {
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    apt-get indextargets --format '$(ORIGIN) $(CODENAME) $(REPO_URI)' 'Created-By: Packages' 2>/dev/null |
        awk -v codename="$codename" '$1 == "Debian" && $2 == codename { print $3; exit }'
}

install_qemu() {
    archive=$(debian_archive)
    if [ -z "$archive" ]; then
        $SUDO apt-get update -qq
        archive=$(debian_archive)
    fi
    if [ -z "$archive" ]; then
        echo "bootstrap: apt's sources name no Debian archive for this release" >&2
        exit 1
    fi
    work=$(mktemp -d)
    echo "deb $archive $qemu_suite main" >"$work/sources.list"
    mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
    set -- -o Dir::Etc::sourcelist="$work/sources.list" -o Dir::Etc::sourceparts=- \
        -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o APT::Architectures=amd64 -o APT::Sandbox::User=root
    $SUDO apt-get "$@" update -qq
    (cd "$work" && $SUDO apt-get "$@" download qemu-user >/dev/null 2>&1)
    $SUDO dpkg-deb -x "$work"/qemu-user_*.deb "$work/root"
    $SUDO install -D -m 755 "$work/root/usr/bin/qemu-i386" "$qemu"
    $SUDO rm -rf "$work"
}

if [ -f "$entry" ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    if [ ! -f "$entry" ] || ! grep -q "interpreter $qemu\$" "$entry"; then
        echo "bootstrap: running 32-bit programs through qemu-i386"
        [ -x "$qemu" ] || install_qemu
        if [ ! -f /proc/sys/fs/binfmt_misc/register ]; then
            $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
        fi
        [ ! -f "$entry" ] || echo -1 | $SUDO tee "$entry" >/dev/null
        printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$qemu:F" |
            $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null
    fi
    /usr/lib/wine/wine --version >/dev/null
fi
