#!/usr/bin/env bash
# The Windows version resource as Windows shows it for lumidot.exe: compiled
# with Debian's MinGW resource compiler, decompiled, and each field read back.
# Usage: windows-resource.sh RC ICO VERSION DESCRIPTION
set -euo pipefail
rc=$1 ico=$2 version=$3 description=$4
IFS=. read -r major minor <<<"$version"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The host's cpp stands in for MinGW's gcc, told it targets Windows; winver.h
# expects winapifamily.h, which windows.h would have brought in.
x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-D_WIN32 \
  --preprocessor-arg=-imacros --preprocessor-arg=winapifamily.h \
  -I /usr/share/mingw-w64/include -i "$rc" -O res -o "$scratch/lumidot.res"
x86_64-w64-mingw32-windres -i "$scratch/lumidot.res" -O rc |
  sed 's/^[[:space:]]*//; s/[[:space:]][[:space:]]*/ /g' >"$scratch/back.rc"

failed=0
images=$(od -An -tu2 -j4 -N2 "$ico" | tr -d ' ')
while read -r line; do
  grep -qxF -- "$line" "$scratch/back.rc" || { echo "not in the resource: $line" >&2; failed=1; }
done <<FIELDS
FILEVERSION $major, $minor, 0, 0
PRODUCTVERSION $major, $minor, 0, 0
BLOCK "040704B0"
VALUE "CompanyName", "none"
VALUE "FileDescription", "$description"
VALUE "FileVersion", "$version"
VALUE "InternalName", "Lumidot"
VALUE "ProductName", "Lumidot"
VALUE "ProductVersion", "$version"
VALUE "Translation", 0x407, 1200
0, 1, $images, /* Has $images elements. */
FIELDS
# Every resource is German (Germany); the icon above has all of the .ico's images.
languages=$(grep '^LANGUAGE' "$scratch/back.rc" | sort -u)
[ "$languages" = "LANGUAGE 7, 1" ] || { echo "languages: $languages" >&2; failed=1; }
exit $failed
