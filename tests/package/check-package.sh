#!/bin/sh
# check-package.sh ZIP FOLDER: checks what the package holds and unpacks it into
# FOLDER (emptied first) for the test that starts it under Wine.
set -eu
zip=$1
folder=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check-package: $*" >&2
    exit 1
}

# Exactly these entries: no test engines, no import libraries, no strays.
printf '%s\n' Morvane/ Morvane/Dictionary.TXV Morvane/Dictionary.txt Morvane/FullWidth.TXV \
    Morvane/MorLatch.dll Morvane/MorLatch64.dll Morvane/MorLatch64Host.exe Morvane/Morvane.exe Morvane/readme.txt \
    >"$work/expected"
unzip -Z1 "$zip" | LC_ALL=C sort >"$work/entries"
diff -u "$work/expected" "$work/entries" || fail "$zip holds other entries than expected"

# The readme is for Notepad: code page 932 (iconv rejects anything else) and
# CRLF at the end of every line, with no lone CR or LF.
unzip -p "$zip" Morvane/readme.txt >"$work/readme"
iconv -f CP932 -t UTF-8 "$work/readme" >"$work/readme-utf8" || fail "readme.txt is not code page 932"
cr=$(printf '\r')
lines=$(tr -cd '\n' <"$work/readme" | wc -c)
crs=$(tr -cd '\r' <"$work/readme" | wc -c)
crlfs=$(grep -c "$cr\$" "$work/readme" || true)
[ "$lines" -gt 0 ] && [ "$crs" -eq "$lines" ] && [ "$crlfs" -eq "$lines" ] ||
    fail "readme.txt has $lines LF, $crs CR, $crlfs CRLF line ends"
[ "$(tail -c 2 "$work/readme" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "readme.txt's last line has no CRLF"
grep -qF 'HKEY_CURRENT_USER\Software\Quorvel\Morvane' "$work/readme-utf8" ||
    fail "readme.txt does not name the registry key to delete"
grep -qF 'アンインストール' "$work/readme-utf8" || fail "readme.txt is not the Japanese readme"

rm -rf "$folder"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
