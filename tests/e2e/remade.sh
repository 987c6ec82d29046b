#!/usr/bin/env bash
# Makes golden recordings again with the scripted player and compares them
# byte for byte with the committed ones.
# $1: the scripted player; then the names of the plans. Runs from the
# project's root with DISPLAY set.
set -u
player="$(readlink -f "${1:?usage: remade.sh path-of-autoplayer NAME...}")"
shift
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
failures=0
for name in "$@"; do
    "$player" "tests/golden/$name.plan" "$dir/$name.rec" 2>/dev/null
    if cmp -s "$dir/$name.rec" "tests/golden/$name.rec"; then
        echo "ok: $name is made again byte for byte"
    else
        echo "FAIL: $name.rec differs from what its plan makes now (scripts/record-golden remakes it)"
        failures=$((failures + 1))
    fi
done
[ "$failures" = 0 ]
