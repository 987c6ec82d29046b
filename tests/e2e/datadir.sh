#!/usr/bin/env bash
# Where the game finds its data: the build-tree game started elsewhere finds
# the source tree; KUURAKARPALO_DATA and --data are used before it; a --data
# without the data, or with no directory, ends the start with one line; and a
# program with data nowhere lists every place it looked in.
# $1: the game built in the build tree; $2: the installed data directory
# compiled into it. The display is needed for the first check only.
set -u

game="$(readlink -f "${1:?usage: datadir.sh path-of-the-game installed-data-dir}")"
installed="${2:?usage: datadir.sh path-of-the-game installed-data-dir}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
display="${DISPLAY:-}"
failures=0
dir="$(readlink -f "$(mktemp -d)")"
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs the game in $dir/cwd without a display, so it gets no further than its
# data; the rest of the arguments go before the game (env settings) and after
# "--" to it. Sets code and err.
run() {
    local pre=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do pre+=("$1"); shift; done
    shift
    (cd "$dir/cwd" && env -u DISPLAY -u KUURAKARPALO_DATA "${pre[@]}" timeout -s KILL 20 \
        "$game" "$@" >/dev/null 2>"$dir/err")
    code=$?
    err="$(cat "$dir/err")"
}
# Expects exit code $1 and one line on stderr holding each further argument.
expect() {
    local what="$1" want="$2" lines
    shift 2
    lines=$(wc -l <"$dir/err")
    echo "$what: exit code $code, stderr: $err"
    [ "$code" = "$want" ] || fail "$what: exit code $code, not $want"
    [ "$lines" = 1 ] || fail "$what: $lines lines on stderr, not one"
    for word in "$@"; do
        grep -qF -- "$word" "$dir/err" || fail "$what: the message does not say \"$word\""
    done
}

mkdir -p "$dir/cwd" "$dir/empty" "$dir/badmap"
# Data whose map file is too short: choosing it ends the start with the map
# file's own complaint, which tells it from the good data in the source tree.
ln -s "$root/DATA" "$dir/badmap/DATA"
head -c 100 /dev/zero >"$dir/badmap/kuurakarpalo.map"

run KUURAKARPALO_DATA="$dir/badmap" --
expect "KUURAKARPALO_DATA before the source tree" 1 "kuurakarpalo.map" "100"
run -- --data "$dir/badmap"
expect "--data before the source tree" 1 "kuurakarpalo.map" "100"
run KUURAKARPALO_DATA="$dir/badmap" -- --data "$dir/empty"
expect "--data without the data" 1 "$dir/empty" "--data"
run -- --data
expect "--data without a directory" 2 "--data"

# A copy of the program outside the build tree, with no data beside it and
# none in the working directory, has nowhere to go.
if [ -f "$installed/kuurakarpalo.map" ]; then
    echo "skipped: the game is installed in $installed"
else
    mkdir -p "$dir/copy/games"
    cp "$game" "$dir/copy/games/kuurakarpalo"
    game="$dir/copy/games/kuurakarpalo"
    run --
    expect "no data anywhere" 1 "looked in: $dir/copy/share/games/kuurakarpalo, $installed, $dir/cwd"
    game="$(readlink -f "$1")"
fi

# The build-tree game started from elsewhere plays on the source tree's data.
if [ -z "$display" ]; then
    echo "skipped: starting the game needs a display"
elif ! (cd "$dir/cwd" && bash "$here/start.sh" "$game"); then
    fail "the build-tree game did not start and end as it should from $dir/cwd"
fi

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all data lookup checks passed"
