#!/usr/bin/env bash
# The golden pictures' own program on a list of its own: a match passes, a
# mismatch fails and leaves the actual picture and the difference, --remake
# writes what the game draws, and a recording that no longer matches is code 3.
game="$(readlink -f "${1:?usage: pictures.sh path-of-goldenpictures}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"
list="$dir/pictures.list"
cp tests/golden/messages.rec tests/golden/village.png "$dir/"
# The pictures $1 and $2 have the same pixels.
same() { cmp -s <(convert "$1" rgb:-) <(convert "$2" rgb:-); }
# pictures CODE TEXT ARGUMENT...: the program ends with exit code CODE, TEXT
# in its output.
pictures() {
    local want=$1 text=$2
    run "${@:3}"
    check '[ "$code" = "$want" ] && grep -qF -- "$text" <<<"$out$err"' \
        "goldenpictures ${*:3}: exit code $code, \"$text\" in: $(head -c 300 <<<"$out$err")"
}

echo "village messages 100 0 the village by day" >"$list"
pictures 0 "ok: village" --into "$dir/out.d" "$list"
check '[ ! -e "$dir/out.d" ]' "a matching picture leaves no files behind"
cp tests/golden/opening.png "$dir/village.png"
pictures 1 "see $dir/out.d/village.actual.png and $dir/out.d/village.diff.png" --into "$dir/out.d" "$list"
check '[ -s "$dir/out.d/village.diff.png" ] && same "$dir/out.d/village.actual.png" tests/golden/village.png' \
    "a mismatch leaves the difference, and the game's own picture as the actual one"
pictures 0 "remade: $dir/village.png" --remake "$list"
check 'same "$dir/village.png" tests/golden/village.png' "--remake writes the picture the game draws"
echo "late messages 99999 0 a frame after the end" >>"$list"
pictures 1 "never comes to world frame 99999, box frame 0" "$list"
# A checkpoint that no longer matches: the game's own message and code 3.
sed -i '0,/^c 50 [0-9a-f]*/s//c 50 7fffffff/' "$dir/messages.rec"
pictures 3 "no longer matches the game" "$list"
passed "golden pictures program"
