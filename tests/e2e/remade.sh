#!/usr/bin/env bash
# Makes golden recordings again with the scripted player and compares them
# byte for byte with the committed ones.
# $1: the scripted player; then the names of the plans. Runs from the
# project's root with DISPLAY set.
player="$(readlink -f "${1:?usage: remade.sh path-of-autoplayer NAME...}")"
shift
source "$(dirname "$(readlink -f "$0")")/game.sh"
for name in "$@"; do
    "$player" "tests/golden/$name.plan" "$dir/$name.rec" 2>/dev/null
    check 'cmp -s "$dir/$name.rec" "tests/golden/$name.rec"' \
        "$name is made again byte for byte by its plan (scripts/record-golden remakes it)"
done
passed "remade recording"
