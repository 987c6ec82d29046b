#!/bin/bash
# Remakes the characters', interface and sound data and the icon from tools/art.
# Run from the repository root: tools/art/regenerate.sh [BUILDDIR [OUTROOT]]
# BUILDDIR (default "build") is a configured build tree in which artgen is
# built; OUTROOT (default ".") receives DATA/, docs/ and dist/icons/. Set
# ARTGEN to use an artgen built elsewhere.
set -euo pipefail

build=${1:-build}
out=${2:-.}
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${ARTGEN:-}" ]; then
    cmake --build "$build" --target artgen >/dev/null
    ARTGEN="$build/tools/art/artgen"
fi

mkdir -p "$out/DATA" "$out/docs" "$out/dist/icons"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$ARTGEN" "$here/sprites" "$out/DATA" "$out/docs" "$tmp/main.wav" "$out/dist/icons"

# Constant bit rate without the LAME/Xing tag frame and without ID3 tags, so
# the file holds audio frames only and every run gives the same bytes. The
# track is resampled to the game's mixing rate of 22050 Hz: the mixer then
# decodes it without converting, which some SDL 1.2 builds get wrong.
lame --quiet --noreplaygain -t -b 128 -q 2 -m j --resample 22.05 "$tmp/main.wav" "$tmp/main.mp3"
cp "$tmp/main.mp3" "$out/DATA/main.mp3"
