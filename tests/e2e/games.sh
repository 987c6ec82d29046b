#!/usr/bin/env bash
# Kept games: a game killed mid-play stays in the games folder and plays to
# its last checkpoint; a game from elsewhere verified and ranked, listed by
# --scores and watched by --watch; the folder's cap, a damaged index, a
# folder that cannot be written, and two games kept at the same moment.
# $1: the game. Runs from the project's root with DISPLAY set.
set -u

game="$(readlink -f "${1:?usage: games.sh path-of-the-game}")"
dir="$(mktemp -d)"
source "$(dirname "$(readlink -f "$0")")/game.sh"
export XDG_DATA_HOME="$dir/data"
games="$XDG_DATA_HOME/kuurakarpalo/games"
golden=tests/golden

# Runs the game headless; out holds stdout and stderr, code the exit code.
run() {
    out=$(env -u DISPLAY "$game" "$@" 2>&1)
    code=$?
}

# A game played live, killed with SIGKILL a few seconds into the world.
start --window --no-sound || fail "no window for the game to be killed"
sleep 2
for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done
sleep 3
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=""
killed=$(ls "$games"/*.rec 2>/dev/null | head -n 1)
check '[ -n "$killed" ] && ! grep -q "^end " "$killed"' "the killed game's recording stays, without an end line"
run --verify "$killed"
echo "killed: $out"
check '[ $code = 0 ] && grep -q "ends at frame [1-9][0-9]* without an end: the game that made it did not finish" <<<"$out"' \
    "the killed game plays to its last checkpoint, exit code 0 and the line"
# One byte changed in the middle, where the keys are.
middle=$(($(grep -n '^w ' "$killed" | sed -n 3p | cut -d: -f1)))
sed "${middle}s/^w /w#/" "$killed" >"$dir/changed.rec"
run --verify "$dir/changed.rec"
check '[ $code = 1 ]' "a changed byte in the killed game's recording is refused: $out"
run --scores
check '[ $code = 0 ] && ! grep -qF "$killed" <<<"$out"' "a game cut short is not ranked"

# A finished game from elsewhere enters the table at its rank.
run --keep $golden/fights.rec
check '[ $code = 0 ] && grep -q "verifies: score 133, kept as .*-elsewhere.rec, rank 1 of the table" <<<"$out"' \
    "--keep of a finished game ranks it: $out"
run --keep $golden/death.rec
check 'grep -q "score 20, .*rank 2 of the table" <<<"$out"' "a lower score ranks below"
run --scores
echo "$out"
check '[ $code = 0 ] && [ "$(sed -n "2p" <<<"$out" | awk "{print \$1, \$2}")" = "1 133" ]' "--scores lists the best first"
check '[ "$(grep -c elsewhere <<<"$out")" = 2 ]' "--scores marks games from elsewhere"
timeout -s KILL 120 "$game" --watch 1 --fast --window --no-sound 2>"$dir/err"
check '[ $? = 0 ]' "--watch 1 plays the best game back to its end"
run --watch 9
check '[ $code = 1 ]' "--watch of a rank the table does not have fails: $out"

# A checkpoint changed: no longer the game (exit 3), never kept.
sed 's/^c 100 00000000/c 100 00000001/' $golden/death.rec >"$dir/tampered.rec"
run --verify "$dir/tampered.rec"
check '[ $code = 3 ] && grep -q "no longer matches the game: at frame 100" <<<"$out"' "a changed checkpoint exits 3"
run --keep "$dir/tampered.rec"
check '[ $code = 3 ] && [ $(ls "$games"/*.rec | wc -l) = 3 ]' "a recording that does not verify is not kept"

# A kept recording edited by hand is not ranked, with one warning.
edited=$(grep -l "^c 100 " "$games"/*elsewhere.rec | head -n 1)
sed -i 's/^c 100 00000000/c 100 00000001/' "$edited"
run --scores
check '[ "$(grep -c "it is not ranked" <<<"$out")" = 1 ] && ! grep -qF "$edited " <<<"$out"' \
    "an edited recording is not ranked, with one warning: $out"
rm -f "$edited"

# A damaged index is rebuilt from the recordings, with one warning.
run --scores
before="$out"
head -c 300 /dev/urandom >"$games/index"
run --scores
check '[ $code = 0 ] && [ "$(grep -vc "^kuurakarpalo:" <<<"$out")" = "$(wc -l <<<"$before")" ]' \
    "a damaged index gives the same table: $out"
check '[ "$(grep -c "^kuurakarpalo:" <<<"$out")" = 1 ]' "a damaged index warns once"
printf 'kuurakarpalo games 99\n' >"$games/index"
run --scores
check '[ $code = 0 ] && [ "$(grep -c "^kuurakarpalo:" <<<"$out")" -le 1 ]' "an index from a newer version is not trusted"

# Two games kept at the same moment: neither is lost.
run --scores
had=$(ls "$games"/*.rec | wc -l)
env -u DISPLAY "$game" --keep $golden/edges.rec >/dev/null 2>&1 &
env -u DISPLAY "$game" --keep $golden/friends.rec >/dev/null 2>&1
wait
run --scores
check '[ $(ls "$games"/*.rec | wc -l) = $((had + 2)) ] && grep -q "^[0-9]* *124 " <<<"$out" && grep -q "^[0-9]* *120 " <<<"$out"' \
    "two games kept together are both in the table"

# The cap: beyond the best and the last games, the oldest go first.
for i in $(seq -w 1 40); do
    cp "$killed" "$games/2000-01-01_00-00-$i.rec"
    touch -d "2000-01-01 00:00:$i" "$games/2000-01-01_00-00-$i.rec"
done
run --keep $golden/english.rec
kept=$(ls "$games"/*.rec | wc -l)
check '[ "$kept" -le 30 ] && [ ! -e "$games/2000-01-01_00-00-01.rec" ] && [ -e "$games/2000-01-01_00-00-40.rec" ]' \
    "the folder keeps the best and the last games, the oldest gone ($kept left)"
run --scores
check '[ "$(grep -c "^[0-9]" <<<"$out")" = 4 ]' "no ranked game is pruned"

# A games folder that cannot be written: the game plays and says why once.
export XDG_DATA_HOME="$dir/file"
touch "$XDG_DATA_HOME"
start --window --no-sound || fail "no window with a folder that cannot be written"
sleep 1
kill -TERM "$pid"
ended 10
check '[ "$code" = 0 ] && [ "$(grep -c "not kept" "$dir/err")" = 1 ]' \
    "a folder that cannot be written costs one line: $(cat "$dir/err")"

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
rm -rf "$dir"
