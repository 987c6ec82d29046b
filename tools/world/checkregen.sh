#!/bin/bash
# Checks that the committed atlases, tilesets and map are exactly what the
# generator and the compiler make from the sources: every file they write.
# Usage: checkregen.sh <worldatlas> <worldmapc> <repository root> <scratch dir>
set -euo pipefail
atlas=$1 mapc=$2 root=$3 out=$4
rm -rf "$out"
mkdir -p "$out/DATA" "$out/maps"
cp "$root/maps/kuurakarpalo.json" "$out/maps/"
"$atlas" "$out"
"$mapc" "$out/maps/kuurakarpalo.json" "$out/kuurakarpalo.map"
# Every file made must be the committed one, and every data file among them
# one the game ships.
status=0
made=0
while IFS= read -r f; do
    made=$((made + 1))
    if ! cmp -s "$out/$f" "$root/$f"; then
        echo "checkregen: $f differs from what its sources make (run tools/world/regenerate.sh)" >&2
        status=1
    fi
    if [[ $f == DATA/* ]] && ! grep -qxF "$f" "$root/dist/datafiles.txt"; then
        echo "checkregen: $f is made but missing from dist/datafiles.txt" >&2
        status=1
    fi
done < <(cd "$out" && find . -type f ! -name kuurakarpalo.json | sed 's|^\./||' | sort)
echo "checkregen: $made files made"
[ "$made" -gt 0 ] || status=1
exit $status
