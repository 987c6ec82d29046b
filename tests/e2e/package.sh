#!/usr/bin/env bash
# The Debian package as a player gets it: unpacked with dpkg -x into a
# scratch folder, it holds the game with no path of the build machine in it,
# and the unpacked game, started from another folder, finds its data beside
# itself, shows its window and ends with exit code 0 on Escape.
# $1: the .deb. Needs DISPLAY and xdotool.
set -u

deb="$(readlink -f "${1:?usage: package.sh kuurakarpalo.deb}")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

dpkg -x "$deb" "$dir/root" || { echo "FAIL: dpkg -x $deb"; exit 1; }
game="$dir/root/usr/games/kuurakarpalo"
for f in usr/games/kuurakarpalo usr/share/games/kuurakarpalo/kuurakarpalo.map \
    $(sed 's|^|usr/share/games/kuurakarpalo/|' "$root/dist/datafiles.txt") usr/share/man/man6/kuurakarpalo.6.gz \
    usr/share/applications/fi.kuurakarpalo.Kuurakarpalo.desktop \
    usr/share/metainfo/fi.kuurakarpalo.Kuurakarpalo.metainfo.xml \
    usr/share/icons/hicolor/256x256/apps/fi.kuurakarpalo.Kuurakarpalo.png \
    usr/share/doc/kuurakarpalo/copyright; do
    [ -e "$dir/root/$f" ] || fail "the package lacks /$f"
done
grep -qaF "$root" "$game" && fail "the game holds the build machine's path $root"

mkdir "$dir/elsewhere"
(cd "$dir/elsewhere" && bash "$here/start.sh" "$game") || fail "the unpacked game did not start and end as it should"

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all package checks passed"
