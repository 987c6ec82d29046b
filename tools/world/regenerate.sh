#!/bin/bash
# Regenerates the world's data in place from its sources: the four tile
# atlases and their tilesets, the compiled map and the map picture.
# Run from the repository root; $1 is the build directory (default "build"),
# in which the world tools must already be built.
set -euo pipefail
build=${1:-build}
bin="$build/tools/world"
for tool in worldatlas worldmapc mappicture; do
    if [ ! -x "$bin/$tool" ]; then
        echo "regenerate.sh: $bin/$tool is missing; build the target $tool first" >&2
        exit 1
    fi
done
"$bin/worldatlas" .
"$bin/worldmapc" maps/kuurakarpalo.json kuurakarpalo.map
"$bin/mappicture" kuurakarpalo.map DATA docs/map.png 2
