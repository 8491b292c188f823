#!/usr/bin/env bash
# The Debian package: its fields, lintian, its files unpacked and validated,
# and the program started through its link, without a display and on Xvfb.
# Usage: xvfb-run debian-package.sh PACKAGE_DIR VERSION
set -euo pipefail
dir=$1 version=$2
fail() { echo "package: $*" >&2; exit 1; }
trap 'echo "package: line $LINENO failed" >&2' ERR

# Waits up to a generous minute for a command to succeed, asking often.
poll() {
  local deadline=$((SECONDS + 60))
  until "$@"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.1; done
}

debs=("$dir/lumidot_${version}_"*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "not one package of $version in $dir"
deb=${debs[0]}
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "its Version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libsdl2-2.0-0* && $depends == *qt6-qpa-plugins* ]] ||
  fail "Depends lacks a runtime: $depends"

scratch=$(mktemp -d)
program=''
trap '[ -z "$program" ] || kill "$program" 2>/dev/null || true; rm -rf "$scratch"' EXIT

# Lintian finds nothing but the maintainer's address on localhost, in the
# control file and in the changelog, which stays until there is a real one.
# Those tags also show that lintian did read the package; it would name a
# missing copyright, changelog or manual page.
lintian --fail-on none "$deb" >"$scratch/lintian" 2>/dev/null || fail "lintian did not run"
tags=$(awk '$1 == "E:" || $1 == "W:" { print $3 }' "$scratch/lintian" | sort -u | xargs)
[ "$tags" = "bogus-mail-host bogus-mail-host-in-debian-changelog" ] ||
  fail "lintian says: $(cat "$scratch/lintian")"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/org.lumidot.Lumidot.desktop
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.lumidot.Lumidot.metainfo.xml" >/dev/null ||
  fail "the AppStream metadata does not validate"

# The desktop entry's command is a link in usr/games to the executable in the
# package, which has its pictures and sounds beside it.
command=$(sed -n 's/^Exec=//p' "$desktop")
link=$root/usr/games/$command
[ -L "$link" ] || fail "usr/games/$command is not a link"
executable=$(readlink -m "$link")
[[ $executable == "$root"/* && -f $executable && -x $executable ]] ||
  fail "usr/games/$command leads to $executable, no executable in the package"
for file in overlays/Zentrax.gif buttons/zx_kp_0{7,8,9}.gif samples/zx_{hit,gameover}.wav \
  cartridges/Glintmoor/cartridge.lua; do
  [ -s "$(dirname "$executable")/$file" ] || fail "no $file beside the executable"
done

# Without a display the program answers what needs none, and says in one
# line why it opens no window.
bare() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$link" "$@" >"$scratch/out" 2>&1; }
bare --version && [ "$(cat "$scratch/out")" = "Lumidot $version" ] || fail "--version: $(cat "$scratch/out")"
bare --help && grep -q -- --scale "$scratch/out" || fail "--help says nothing of --scale"
for wrong in --no-such-option "--scale 5"; do
  bare $wrong && fail "$wrong was taken" || [ $? = 2 ] || fail "$wrong did not end with 2"
done
bare && fail "no display, yet it ran" || [ $? = 1 ] || fail "no display did not end with 1"
[ "$(wc -l <"$scratch/out")" = 1 ] && grep -q WAYLAND_DISPLAY "$scratch/out" || fail "$(cat "$scratch/out")"

mkdir -m 700 "$scratch/runtime"
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$scratch/runtime" \
  SDL_AUDIODRIVER=dummy "$link" --scale 2 &
program=$!
window_shown() {
  kill -0 "$program" 2>/dev/null || fail "the program ended before its window showed"
  xwininfo -name "Lumidot v$version" >"$scratch/window" 2>/dev/null &&
    grep -q 'Map State: IsViewable' "$scratch/window"
}
poll window_shown || fail "no window \"Lumidot v$version\" showed"
grep -q 'Width: 664' "$scratch/window" && grep -q 'Height: 616' "$scratch/window" ||
  fail "--scale 2 did not double the window: $(cat "$scratch/window")"
# A signal ends it as closing its window does, promptly and with 0.
kill -TERM "$program"
poll eval '! kill -0 "$program" 2>/dev/null' || fail "SIGTERM did not end it"
wait "$program" || fail "SIGTERM ended it with $?"
program=''

