#!/usr/bin/env bash
# cmake --install into a scratch prefix: exactly the game's files, passed by the
# desktop and AppStream validators; started from /, the game finds its data
# beside itself and plays the English golden recording in the installed texts.
build="$(readlink -f "${1:?usage: install.sh build-tree}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"
prefix="$dir/prefix"
game="$prefix/games/kuurakarpalo"
cmake --install "$build" --prefix "$prefix" >/dev/null || { fail "cmake --install"; exit 1; }

installed="$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||')"
check 'diff <(sort <<<"$installed") <(gamefiles | sort)' "the installed files are the game's (< installed, > expected)"
check '[ -x "$game" ]' "the game is executable"
for n in $iconsizes; do
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
