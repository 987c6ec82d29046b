#!/usr/bin/env bash
# The Debian package unpacked: the game's files under /usr with the copyright,
# no build machine's path in the game, which started elsewhere finds its data.
deb="$(readlink -f "${1:?usage: package.sh kuurakarpalo.deb}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"
dpkg -x "$deb" "$dir/root" || { fail "dpkg -x $deb"; exit 1; }
game="$dir/root/usr/games/kuurakarpalo"
for f in $(gamefiles | sed 's|^|usr/|; s|\.6$|.6.gz|') usr/share/doc/kuurakarpalo/copyright; do
    [ -e "$dir/root/$f" ] || fail "the package lacks /$f"
done
check '! grep -qaF "$root" "$game"' "the game holds no path of the build machine ($root)"
mkdir "$dir/elsewhere"
starts "$dir/elsewhere" --window
passed package
