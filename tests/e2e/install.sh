#!/usr/bin/env bash
# Installs the build into a scratch prefix with cmake --install and plays the
# installed game there: exactly the game's files land where a Linux desktop
# looks for them, they pass the desktop and AppStream validators as
# installed, and the game started from / finds its data and its English
# texts beside itself, shows its window and ends with exit code 0 on Escape.
# $1: the configured build tree. Needs DISPLAY, xdotool, desktop-file-validate
# and appstreamcli.
set -u

build="$(readlink -f "${1:?usage: install.sh build-tree}")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

start=$(date +%s%N)
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
echo "installed in $((($(date +%s%N) - start) / 1000000)) ms, $(du -sk "$prefix" | cut -f1) KiB"

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
if [ "$(sort <<<"$installed")" != "$(sort <<<"$expected")" ]; then
    fail "the installed files differ from the game's (< installed, > expected):"
    diff <(sort <<<"$installed") <(sort <<<"$expected")
fi
[ -x "$prefix/games/kuurakarpalo" ] || fail "the game is not executable"
for n in 16 32 48 64 128 256; do
    size="$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${n}x$n/apps/$id.png" 2>/dev/null)"
    [ "$size" = "${n}x$n" ] || fail "the ${n}x$n icon is $size"
done

out="$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1)"
[ -z "$out" ] || fail "desktop-file-validate: $out"
# validate-tree checks the metainfo with the desktop entry and icon it names.
out="$(appstreamcli validate-tree --no-net "$prefix" 2>&1)" || fail "appstreamcli validate-tree: $out"
echo "$out" | grep -E '^[EW]:' && fail "appstreamcli validate-tree found errors or warnings"

# From /, where there is no data, the game must find the copy beside itself.
(cd / && bash "$here/start.sh" "$prefix/games/kuurakarpalo") || fail "the installed game did not start and end as it should"
# And its English texts: the English golden recording plays back only in English.
(cd / && "$prefix/games/kuurakarpalo" --window --no-sound --play "$root/tests/golden/english.rec" --fast) ||
    fail "the installed game does not play the English golden recording"

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all install checks passed"
