#!/usr/bin/env bash
# Where the game finds its data, and the map files it refuses (headless: exit
# code 1, one line naming the file and the fault). KUURAKARPALO_DATA and --data
# come before the source tree; a copy with data nowhere lists where it looked;
# a map made from scratch, and the game started elsewhere, show the window.
game="$(readlink -f "${1:?usage: datadir.sh path-of-the-game installed-data-dir}")"
installed="${2:?usage: datadir.sh path-of-the-game installed-data-dir}"
source "$(dirname "$(readlink -f "$0")")/game.sh"
mkdir -p "$dir/cwd" "$dir/empty" "$dir/map"
ln -s "$root/DATA" "$dir/map/DATA"
map="$dir/map/kuurakarpalo.map"
cwd="$dir/cwd"
headless=yes

# An open map file of sizex $1 and sizey $2, with $3 bytes more (or fewer).
makemap() {
    "${MAPFILETOOL:?the mapfile helper}" new "$map" "$1" "$2" || exit 1
    truncate -s "$(($(stat -c %s "$map") + ${3:-0}))" "$map"
}

# The command making the map file, and the pattern of the refusal's one line.
while IFS='|' read -r make pattern; do
    rm -rf "$map"
    eval "$make"
    expect 1 "$pattern" --data "$dir/map"
done <<'CASES'
:|find .*kuurakarpalo.map
mkdir "$map"|find .*kuurakarpalo.map
head -c 100 /dev/zero >"$map"|kuurakarpalo.map.* 100 bytes
makemap 100 60 -1|kuurakarpalo.map.* 792031 bytes
makemap 100 60 1|kuurakarpalo.map.* 792033 bytes
makemap 0 60|kuurakarpalo.map.* size of 0 by 60
makemap 199 60|kuurakarpalo.map.* size of 199 by 60
makemap 100 0|kuurakarpalo.map.* size of 100 by 0
makemap -5 60|kuurakarpalo.map.* size of -5 by 60
CASES

# The map folder chosen, with its 100-byte map, says which data is used.
head -c 100 /dev/zero >"$map"
expect 1 "kuurakarpalo.map.*100" KUURAKARPALO_DATA="$dir/map"
expect 1 "$dir/empty.*--data" KUURAKARPALO_DATA="$dir/map" --data "$dir/empty"
expect 2 "--data" --data

# A copy of the program with no data beside it nor in the working directory.
if [ -f "$installed/kuurakarpalo.map" ]; then
    echo "skipped: the game is installed in $installed"
else
    mkdir -p "$dir/copy/games"
    cp "$game" "$dir/copy/games/kuurakarpalo"
    game="$dir/copy/games/kuurakarpalo" expect 1 \
        "looked in: $dir/copy/share/games/kuurakarpalo, $installed, $dir/cwd"
fi

# A map made from scratch, and the build-tree game started elsewhere, start.
makemap 100 60
starts "$dir/cwd" --window --data "$dir/map"
starts "$dir/cwd" --window
passed "data lookup and map file"
