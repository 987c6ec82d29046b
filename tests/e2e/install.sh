#!/usr/bin/env bash
# Installs the build into a scratch prefix with cmake --install and plays the
# installed game there: exactly the game's files land where a Linux desktop
# looks for them, they pass the desktop and AppStream validators as
# installed, and the game started from / finds its data beside itself and
# shows its window, and plays the English golden recording, whose texts are
# the installed catalog's.
# $1: the configured build tree. Needs DISPLAY, xdotool, desktop-file-validate
# and appstreamcli.
build="$(readlink -f "${1:?usage: install.sh build-tree}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"
prefix="$dir/prefix"
game="$prefix/games/kuurakarpalo"
cmake --install "$build" --prefix "$prefix" >/dev/null || { fail "cmake --install"; exit 1; }

id=fi.kuurakarpalo.Kuurakarpalo
data=share/games/kuurakarpalo
expected="games/kuurakarpalo
$data/kuurakarpalo.map
$(sed "s|^|$data/|" "$root/dist/datafiles.txt")
share/applications/$id.desktop
share/metainfo/$id.metainfo.xml
share/man/man6/kuurakarpalo.6
$(grep -v '^#' "$root/po/LINGUAS" | sed 's|.*|share/locale/&/LC_MESSAGES/kuurakarpalo.mo|')
$(for n in 16 32 48 64 128 256; do echo "share/icons/hicolor/${n}x$n/apps/$id.png"; done)"
installed="$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||')"
check 'diff <(sort <<<"$installed") <(sort <<<"$expected")' "the installed files are the game's (< installed, > expected)"
check '[ -x "$game" ]' "the game is executable"
for n in 16 32 48 64 128 256; do
    size="$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${n}x$n/apps/$id.png" 2>/dev/null)"
    check '[ "$size" = "${n}x$n" ]' "the ${n}x$n icon is $size"
done
out="$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1)"
check '[ -z "$out" ]' "desktop-file-validate: ${out:-no complaint}"
# validate-tree checks the metainfo with the desktop entry and icon it names.
out="$(appstreamcli validate-tree --no-net "$prefix" 2>&1)"
valid=$?
check '[ $valid = 0 ] && ! grep -E "^[EW]:" <<<"$out"' "appstreamcli validate-tree finds no error or warning"

# From /, where there is no data, the game must find the copy beside itself.
starts / --window
cwd=/ expect 0 "" --window --no-sound --play "$root/tests/golden/english.rec" --fast
passed install
