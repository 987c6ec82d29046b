#!/usr/bin/env bash
# The Debian package as a player gets it: unpacked with dpkg -x into a
# scratch folder, it holds the game with no path of the build machine in it,
# and the unpacked game, started from another folder, finds its data beside
# itself and shows its window.
# $1: the .deb. Needs DISPLAY and xdotool.
deb="$(readlink -f "${1:?usage: package.sh kuurakarpalo.deb}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"
dpkg -x "$deb" "$dir/root" || { fail "dpkg -x $deb"; exit 1; }
game="$dir/root/usr/games/kuurakarpalo"
for f in usr/games/kuurakarpalo usr/share/games/kuurakarpalo/kuurakarpalo.map \
    $(sed 's|^|usr/share/games/kuurakarpalo/|' "$root/dist/datafiles.txt") usr/share/man/man6/kuurakarpalo.6.gz \
    usr/share/applications/fi.kuurakarpalo.Kuurakarpalo.desktop \
    usr/share/metainfo/fi.kuurakarpalo.Kuurakarpalo.metainfo.xml \
    usr/share/icons/hicolor/256x256/apps/fi.kuurakarpalo.Kuurakarpalo.png \
    usr/share/doc/kuurakarpalo/copyright; do
    [ -e "$dir/root/$f" ] || fail "the package lacks /$f"
done
check '! grep -qaF "$root" "$game"' "the game holds no path of the build machine ($root)"
mkdir "$dir/elsewhere"
starts "$dir/elsewhere" --window
passed package
