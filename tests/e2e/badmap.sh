#!/usr/bin/env bash
# A bad map file ends the game before it opens anything: exit code 1 and one
# line on stderr naming the file and what is wrong with it. A good map file
# made from scratch starts the game as usual.
#
# $1: the game. Runs from the project root, whose DATA/ it borrows; every map
# file is written into a directory of its own.
set -u

game="$(readlink -f "${1:?usage: badmap.sh path-of-the-game}")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
data="$(pwd)/DATA"
display="${DISPLAY:-}"
failures=0

dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
ln -s "$data" "$dir/DATA"
map="$dir/kuurakarpalo.map"

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}

# Writes a map file of sizex $1 and sizey $2, open ground in full light, with
# $3 bytes more (negative: fewer) than the 792,032 a map file has.
makemap() {
    python3 - "$map" "$1" "$2" "${3:-0}" <<'EOF'
import struct, sys
path, sizex, sizey, extra = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
cells = 199 * 199
data = struct.pack("<ii", sizex, sizey)
data += bytes(4 * cells) * 3                 # ground, second and over layers
data += struct.pack("<i", 9) * cells         # light
data += bytes(4 * cells)                     # nothing blocked
data += struct.pack("<i", 0)                 # outdoor tile set
assert len(data) == 792032
data = data + bytes(extra) if extra >= 0 else data[:extra]
open(path, "wb").write(data)
EOF
}

# Runs the game in the map's directory with no display at all, so it can get
# no further than the map file; $1 describes the case, $2 is a word or
# number the message must hold.
refused() {
    local what=$1 word=$2 code lines
    (cd "$dir" && env -u DISPLAY timeout -s KILL 20 "$game" >"$dir/out" 2>"$dir/err")
    code=$?
    lines=$(wc -l <"$dir/err")
    echo "$what: exit code $code, stderr: $(cat "$dir/err")"
    [ "$code" = 1 ] && pass "$what: exit code 1" || fail "$what: exit code $code, not 1"
    if [ "$lines" != 1 ]; then
        fail "$what: $lines lines on stderr, not one"
    elif ! grep -q "kuurakarpalo.map" "$dir/err"; then
        fail "$what: the message does not name kuurakarpalo.map"
    elif ! grep -qi -- "$word" "$dir/err"; then
        fail "$what: the message does not say \"$word\""
    else
        pass "$what: one line naming the file and the problem"
    fi
}

rm -f "$map"
refused "missing file" "open"

head -c 100 /dev/zero >"$map"
refused "100-byte file" "100"

makemap 100 60 -1
refused "one byte short" "792031"

makemap 100 60 1
refused "one byte long" "792033"

makemap 0 60
refused "sizex 0" "size"

makemap 199 60
refused "sizex 199" "199"

makemap 100 0
refused "sizey 0" "size"

makemap -5 60
refused "sizex -5" "-5"

rm -f "$map"
mkdir "$map"
refused "a directory" "read"
rmdir "$map"

# The good map: the game starts and ends as it does from the project root.
makemap 100 60
if [ -z "$display" ]; then
    echo "skipped: the good map needs a display"
elif (cd "$dir" && DISPLAY="$display" bash "$here/start.sh" "$game"); then
    pass "a good 792,032-byte map starts the game"
else
    fail "the game did not start and end as it should with a good map"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all bad-map checks passed"
