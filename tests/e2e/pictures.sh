#!/usr/bin/env bash
# The golden pictures' own program, on a list of its own in a scratch folder:
# a matching picture passes; a changed one fails with the actual picture and
# the difference written where it says; --remake writes a picture only where
# its pixels changed; a point the recording never comes to, a bad list line,
# an unknown name and a recording that no longer matches the game are each
# refused with their own exit code.
# $1: goldenpictures. Runs from the project's root with DISPLAY set.
set -u

program="$(readlink -f "${1:?usage: pictures.sh path-of-goldenpictures}")"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cp tests/golden/messages.rec "$dir/"
list="$dir/pictures.list"
echo "village messages 100 0 the village by day" >"$list"

# Runs the program; $1 the exit code it must end with, $2 a text its output
# must hold; the rest are its arguments.
expect() {
    local code="$1" text="$2"
    shift 2
    "$program" "$@" >"$dir/out" 2>&1
    local got=$?
    [ "$got" = "$code" ] || fail "goldenpictures $*: exit code $got, not $code: $(head -c 300 "$dir/out")"
    grep -qF -- "$text" "$dir/out" || fail "goldenpictures $*: no \"$text\" in: $(head -c 300 "$dir/out")"
}

cp tests/golden/village.png "$dir/"
expect 0 "ok: village" --into "$dir/out.d" "$list"
[ -e "$dir/out.d" ] && fail "a matching picture left files behind"

cp tests/golden/opening.png "$dir/village.png"
expect 1 "see $dir/out.d/village.actual.png and $dir/out.d/village.diff.png" --into "$dir/out.d" "$list"
for f in village.actual.png village.diff.png; do
    [ -s "$dir/out.d/$f" ] || fail "no $f after a mismatch"
done
# What was taken is the committed picture, pixel for pixel.
cmp -s <(convert "$dir/out.d/village.actual.png" rgb:-) <(convert tests/golden/village.png rgb:-) ||
    fail "the actual picture is not the one the game draws"

expect 0 "remade: $dir/village.png" --remake "$list"
cmp -s <(convert "$dir/village.png" rgb:-) <(convert tests/golden/village.png rgb:-) ||
    fail "--remake did not write the picture the game draws"
touch -d 2000-01-01 "$dir/village.png"
expect 0 "unchanged: village" --remake "$list" village
[ "$(stat -c %Y "$dir/village.png")" = "$(date -d 2000-01-01 +%s)" ] || fail "--remake rewrote a picture that had not changed"
rm "$dir/village.png"
expect 1 "FAIL: village" "$list"

echo "late messages 99999 0 a frame after the end" >"$list"
expect 1 "never comes to world frame 99999, box frame 0" "$list"
echo "bad messages first 0 a frame without a number" >"$list"
expect 1 "$list:1:" "$list"
echo "village messages 100 0 the village by day" >"$list"
expect 2 "no picture elsewhere" "$list" elsewhere

# A checkpoint that no longer matches: the game's own message and code 3.
sed -i '0,/^c 50 [0-9a-f]*/s//c 50 7fffffff/' "$dir/messages.rec"
expect 3 "no longer matches the game" "$list"

[ "$failures" = 0 ] && echo "ok: golden pictures compared, written and refused as they should be"
[ "$failures" = 0 ]
