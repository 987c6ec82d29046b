#!/usr/bin/env bash
# A bad map file ends the game before it opens anything: exit code 1 and one
# line on stderr naming the file and what is wrong with it. A good map file
# made from scratch starts the game as usual.
# $1: the game. Runs from the project root, whose DATA/ it borrows; every map
# file is written into a directory of its own.
set -u

game="$(readlink -f "${1:?usage: badmap.sh path-of-the-game}")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
display="${DISPLAY:-}"
failures=0
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
ln -s "$(pwd)/DATA" "$dir/DATA"
map="$dir/kuurakarpalo.map"

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Writes a map file of sizex $1 and sizey $2, open ground in full light, with
# $3 bytes more (negative: fewer) than a map file has.
makemap() {
    "${MAPFILETOOL:?the mapfile helper}" new "$map" "$1" "$2" || exit 1
    truncate -s "$(( $(stat -c %s "$map") + ${3:-0} ))" "$map"
}

# Runs the game on the map's directory with no display at all, so it can get
# no further than the map file; $1 describes the case, $2 is a word or
# number the message must hold.
refused() {
    local code lines
    (cd "$dir" && env -u DISPLAY timeout -s KILL 20 "$game" --data "$dir" >/dev/null 2>"$dir/err")
    code=$?
    lines=$(wc -l <"$dir/err")
    echo "$1: exit code $code, stderr: $(cat "$dir/err")"
    [ "$code" = 1 ] || fail "$1: exit code $code, not 1"
    [ "$lines" = 1 ] || fail "$1: $lines lines on stderr, not one"
    grep -q "kuurakarpalo.map" "$dir/err" || fail "$1: the message does not name the file"
    grep -qi -- "$2" "$dir/err" || fail "$1: the message does not say \"$2\""
}

# Without a map file, or with a directory in its place, the directory does
# not hold the game's data.
rm -f "$map"
refused "missing file" "find"
head -c 100 /dev/zero >"$map"
refused "100-byte file" "100"
makemap 100 60 -1
refused "one byte short" "792031"
makemap 100 60 1
refused "one byte long" "792033"
for size in "0 60 size" "199 60 199" "100 0 size" "-5 60 -5"; do
    set -- $size
    makemap "$1" "$2"
    refused "sizes $1 by $2" "$3"
done
rm -f "$map" && mkdir "$map"
refused "a directory" "find"
rmdir "$map"

# The good map: the game starts and ends as it does from the project root.
makemap 100 60
if [ -z "$display" ]; then
    echo "skipped: the good map needs a display"
elif ! (cd "$dir" && DISPLAY="$display" KUURAKARPALO_DATA="$dir" bash "$here/start.sh" "$game"); then
    fail "the game did not start and end as it should with a good map"
fi

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all bad-map checks passed"
