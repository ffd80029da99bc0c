#!/bin/sh
# Installs what building and testing Morvane needs, and nothing when it is all there.
set -eu

packages="g++-mingw-w64-i686 cmake wine wine32:i386 xvfb xauth fonts-ipafont-gothic googletest locales
          imagemagick x11-apps zip unzip binutils-mingw-w64-i686 qemu-user-static binfmt-support"

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
# switched off, they run through the i386 user-mode emulator instead.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "bootstrap: running 32-bit programs through qemu-i386"
    if [ ! -f /proc/sys/fs/binfmt_misc/register ]; then
        $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    fi
    if [ ! -f /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
        $SUDO update-binfmts --enable qemu-i386 >/dev/null 2>&1 || true
    fi
    if [ ! -f /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
        printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
            $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null
    fi
    /usr/lib/wine/wine --version >/dev/null
fi
