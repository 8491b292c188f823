#!/usr/bin/env bash
# The Windows version resource as Windows shows it for lumidot.exe: compiled
# with Debian's MinGW resource compiler, decompiled, and each field read back.
# Usage: windows-resource.sh RC ICO VERSION DESCRIPTION
set -euo pipefail
rc=$1 ico=$2 version=$3 description=$4
IFS=. read -r major minor <<<"$version"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# windres would preprocess with MinGW's gcc; the host's cpp does the same
# with the MinGW headers once told it targets Windows. winver.h expects
# winapifamily.h, which windows.h would have brought in.
x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-D_WIN32 \
  --preprocessor-arg=-imacros --preprocessor-arg=winapifamily.h \
  -I /usr/share/mingw-w64/include -i "$rc" -O res -o "$scratch/lumidot.res"
x86_64-w64-mingw32-windres -i "$scratch/lumidot.res" -O rc |
  sed 's/^[[:space:]]*//; s/[[:space:]][[:space:]]*/ /g' >"$scratch/back.rc"

failed=0
expect() {
  grep -qxF -- "$1" "$scratch/back.rc" || { echo "not in the resource: $1" >&2; failed=1; }
}
expect "FILEVERSION $major, $minor, 0, 0"
expect "PRODUCTVERSION $major, $minor, 0, 0"
expect 'BLOCK "040704B0"'
expect 'VALUE "CompanyName", "none"'
expect "VALUE \"FileDescription\", \"$description\""
expect "VALUE \"FileVersion\", \"$version\""
expect 'VALUE "InternalName", "Lumidot"'
expect 'VALUE "ProductName", "Lumidot"'
expect "VALUE \"ProductVersion\", \"$version\""
expect 'VALUE "Translation", 0x407, 1200'
# Every resource is German (Germany), the icon with all of the .ico's images.
languages=$(grep '^LANGUAGE' "$scratch/back.rc" | sort -u)
[ "$languages" = "LANGUAGE 7, 1" ] || { echo "languages: $languages" >&2; failed=1; }
images=$(od -An -tu2 -j4 -N2 "$ico" | tr -d ' ')
expect "0, 1, $images, /* Has $images elements. */"
exit $failed
