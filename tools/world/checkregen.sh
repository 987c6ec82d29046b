#!/bin/bash
# Checks that the committed atlases, tilesets and map are exactly what the
# generator and the compiler make from the sources.
# Usage: checkregen.sh <worldatlas> <worldmapc> <repository root> <scratch dir>
set -euo pipefail
atlas=$1 mapc=$2 root=$3 out=$4
rm -rf "$out"
mkdir -p "$out/DATA" "$out/maps"
cp "$root/maps/kuurakarpalo.json" "$out/maps/"
"$atlas" "$out"
"$mapc" "$out/maps/kuurakarpalo.json" "$out/kuurakarpalo.map"
status=0
for f in DATA/iso1.tga DATA/iso2.tga DATA/luola1.tga DATA/luola2.tga maps/iso1.tsj maps/iso2.tsj \
         maps/luola1.tsj maps/luola2.tsj maps/markers.tsj maps/markers.png kuurakarpalo.map; do
    if ! cmp -s "$out/$f" "$root/$f"; then
        echo "checkregen: $f differs from what its sources make (run tools/world/regenerate.sh)" >&2
        status=1
    fi
done
exit $status
