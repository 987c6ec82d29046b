#!/usr/bin/env bash
# Makes the golden recordings named again with the scripted player; each
# must match the committed one byte for byte.
player="$(readlink -f "${1:?usage: remade.sh path-of-autoplayer NAME...}")"
shift
source "$(dirname "$(readlink -f "$0")")/game.sh"
for name in "$@"; do
    "$player" "tests/golden/$name.plan" "$dir/$name.rec" 2>/dev/null
    check 'cmp -s "$dir/$name.rec" "tests/golden/$name.rec"' \
        "$name is made again byte for byte by its plan (scripts/record-golden remakes it)"
done
passed "remade recording"
