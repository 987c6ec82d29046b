#!/usr/bin/env bash
# Kept games: a game killed mid-play stays and plays to its last checkpoint;
# games from elsewhere verified, ranked, listed and watched; the folder's
# cap, a damaged index, a folder that cannot be written, two kept at once.
game="$(readlink -f "${1:?usage: games.sh path-of-the-game}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"
export XDG_DATA_HOME="$dir/data"
games="$XDG_DATA_HOME/kuurakarpalo/games"
golden=tests/golden
headless=yes
recs() { ls "$games"/*.rec | wc -l; }
index() { run --scores; check '[ $code = 0 ] && [ "$out" = "$before" ] && [ "$(grep -c "^kuurakarpalo:" <<<"$err")" -le 1 ]' "$1"; }

# A game played live, killed with SIGKILL a few seconds into the world.
start --window --no-sound || fail "no window for the game to be killed"
opening
sleep 3
kill -9 "$pid"
ended 1
killed=$(ls "$games"/*.rec 2>/dev/null | head -n 1)
check '[ -n "$killed" ] && ! grep -q "^end " "$killed"' "the killed game's recording stays, without an end line"
expect 0 "ends at frame [1-9][0-9]* without an end: the game that made it did not finish" --verify "$killed"
run --keep "$killed"
check '[ $code = 1 ] && grep -q "is not kept: only finished games are ranked" <<<"$err"' "--keep refuses it: $err"
# One byte changed in the middle, where the keys are.
sed "$(grep -n '^w ' "$killed" | sed -n 3p | cut -d: -f1)s/^w /w#/" "$killed" >"$dir/changed.rec"
expect 1 "line [0-9]*: \"w#.* is not a line of a recording" --verify "$dir/changed.rec"
run --scores
check '[ $code = 0 ] && ! grep -qF "$killed" <<<"$out"' "a game cut short is not ranked"

# A finished game from elsewhere enters the table at its rank.
run --keep $golden/fights.rec
check '[ $code = 0 ] && grep -q "verifies: score 133, kept as .*-elsewhere.rec, rank 1 of the table" <<<"$out$err"' \
    "--keep of a finished game ranks it: $out$err"
run --keep $golden/death.rec
check 'grep -q "score 20, .*rank 2 of the table" <<<"$out$err"' "a lower score ranks below"
run --scores
check '[ $code = 0 ] && [ "$(sed -n "2p" <<<"$out" | awk "{print \$1, \$2}")" = "1 133" ] &&
       [ "$(grep -c elsewhere <<<"$out")" = 2 ]' "--scores lists the best first, and marks games from elsewhere"
headless="" expect 0 "" --watch 1 --fast --window --no-sound
expect 1 "there is no game of rank 9 to watch" --watch 9

# A checkpoint changed: no longer the game (exit 3), never kept.
sed 's/^c 100 00000000/c 100 00000001/' $golden/death.rec >"$dir/tampered.rec"
expect 3 "no longer matches the game: at frame 100" --verify "$dir/tampered.rec"
run --keep "$dir/tampered.rec"
check '[ $code = 3 ] && [ $(recs) = 3 ]' "a recording that does not verify is not kept"

# A kept recording edited by hand is not ranked, with one warning.
edited=$(grep -l "^c 100 " "$games"/*elsewhere.rec | head -n 1)
sed -i 's/^c 100 00000000/c 100 00000001/' "$edited"
run --scores
check '[ "$(grep -c "it is not ranked" <<<"$err")" = 1 ] && ! grep -qF "$edited " <<<"$out"' \
    "an edited recording is not ranked, with one warning: $err"
rm -f "$edited"

# A damaged index is rebuilt from the recordings, with one warning.
run --scores
before="$out"
head -c 300 /dev/urandom >"$games/index"
index "a damaged index gives the same table"
check '[ -n "$err" ]' "a damaged index is warned of: $err"
printf 'kuurakarpalo games 99\n' >"$games/index"
index "an index from a newer version is not trusted"

# Two games kept at the same moment: neither is lost.
had=$(recs)
env -u DISPLAY "$game" --keep $golden/edges.rec >/dev/null 2>&1 &
env -u DISPLAY "$game" --keep $golden/friends.rec >/dev/null 2>&1
wait
run --scores
check '[ $(recs) = $((had + 2)) ] && grep -q "^[0-9]* *124 " <<<"$out" && grep -q "^[0-9]* *120 " <<<"$out"' \
    "two games kept together are both in the table"

# The cap: beyond the best and the last games, the oldest go first.
for i in $(seq -w 1 40); do cp "$killed" "$games/2000-01-01_00-00-$i.rec"; done
run --keep $golden/english.rec
run --scores
check '[ "$(recs)" -le 30 ] && [ ! -e "$games/2000-01-01_00-00-01.rec" ] && [ -e "$games/2000-01-01_00-00-40.rec" ] &&
       [ "$(grep -c "^[0-9]" <<<"$out")" = 4 ]' \
    "the folder keeps the best and the last games, the oldest gone ($(recs) left), no ranked game pruned"
start --window --no-sound && sleep 1; kill -9 "$pid"; ended 1
check '[ "$(recs)" = 20 ]' "a game starting tidies the folder, before it ends: $(recs) kept, the newest 20 and the best"

# A recording read from a pipe is read once: what is checked is what is kept.
for option in --verify --check --keep; do
    cat $golden/messages.rec | env -u DISPLAY "$game" $option /dev/stdin >"$dir/out" 2>"$dir/err"
    code=$?
    kept=$(sed -n 's/.*kept as \(.*\.rec\), .*/\1/p' "$dir/out")
    check '[ $code = 0 ] && grep -q "verif.*score.*58" "$dir/out" && { [ $option != --keep ] || cmp -s "$kept" $golden/messages.rec; }' \
        "$option from a pipe: $code $(cat "$dir/out" "$dir/err")"
done
cat $golden/messages.rec | "$game" --play /dev/stdin --fast --no-sound --window 2>"$dir/err"
check '[ $? = 0 ] && [ ! -s "$dir/err" ]' "--play from a pipe plays to the end: $(cat "$dir/err")"

# A start that fails (no audio device, no display) keeps nothing.
had=$(recs)
headless="" expect 1 "cannot open the audio device" SDL_AUDIODRIVER=none --window
headless=yes expect 1 "cannot open an OpenGL display" --window --no-sound
check '[ $(recs) = $had ]' "a start that fails keeps no game: $had before, $(recs) after"

# A game verified on an earlier version keeps its place by its standing
# beside it, when this version cannot play it back; the table says so, and
# it is not played wrong.
old="$games/2000-01-02_00-00-00.rec"
sed -e 's/^game 1.0$/game 0.9/' -e 's/^c 100 00000000/c 100 00000001/' $golden/death.rec >"$old"
printf 'kuurakarpalo verified 1\nsize %s\ncrc %s\nscore 999\nframes 7270\ngame 0.9\nmap 792032 deadbeef\n' \
    "$(stat -c %s "$old")" "$(python3 -c 'import sys, zlib; print("%08x" % zlib.crc32(open(sys.argv[1], "rb").read()))' "$old")" \
    >"${old%.rec}.verified"
run --scores
check '[ $code = 0 ] && grep -q "^1 *999  .* 3:01  .*(version 0.9: this version cannot play it back)$" <<<"$out"' \
    "a game of an earlier version ranks by its standing, marked: $out"
expect 1 "the game of rank 1 was played on version 0.9 of the game, and this version cannot play it back" --watch 1
rm "$old" "${old%.rec}.verified"

# A check cut short by a signal is no verdict: exit 1, the frame it reached,
# no score. Its recording keeps a box open for 1.7 million frames.
awk 'NR == 9 {for (i = 0; i < 34000; i++) print "b 50"} 1' $golden/death.rec >"$dir/long.rec"
env -u DISPLAY "$game" --verify "$dir/long.rec" >"$dir/out" 2>"$dir/err" &
pid=$!
poll 30 'caught INT'
kill -INT "$pid"
ended 10
check '[ "$code" = 1 ] && [ ! -s "$dir/out" ] && grep -q "was interrupted at frame [0-9]* of 1510: it is not verified" "$dir/err"' \
    "an interrupted check exits 1 and says so: $code $(cat "$dir/out" "$dir/err")"
# A file past the bounds is refused at the line that passes one, in memory
# that the game it holds needs, not what the file claims (a box of 650
# million frames).
awk 'NR == 9 {for (i = 0; i < 1.3e7; i++) print "b 50"} 1' $golden/death.rec >"$dir/long.rec"
(ulimit -v 400000; exec env -u DISPLAY "$game" --verify "$dir/long.rec") 2>"$dir/err"
code=$?
check '[ $code = 1 ] && grep -q "line 34568: holds more than 1728000 box frames" "$dir/err"' \
    "a recording past the bounds is refused early: $code $(cat "$dir/err")"
rm "$dir/long.rec"

# A games folder that cannot be written: the game plays, says why once, ends at SIGINT.
export XDG_DATA_HOME="$dir/file"
touch "$XDG_DATA_HOME"
expect 1 "death.rec\" cannot be kept in .*: " --keep $golden/death.rec
start --window --no-sound || fail "no window with a folder that cannot be written"
sleep 1
closes INT "with a folder that cannot be written"
check '[ "$(grep -c "not kept" "$dir/err")" = 1 ]' "a folder that cannot be written costs one line: $(cat "$dir/err")"
passed "kept games"
