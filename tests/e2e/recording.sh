#!/usr/bin/env bash
# Records a short real game driven by xdotool and plays it back: unpaced with
# every checkpoint matching; at the real pace with keys pressed that playback
# ignores; and ended early with Escape. Then the refusals: a damaged, a
# hostile, a missing and a tampered recording, and one made on another map.
# $1: the game. Runs from the project's root with DISPLAY set.
set -u

game="$(readlink -f "${1:?usage: recording.sh path-of-the-game}")"
dir="$(mktemp -d)"
source "$(dirname "$(readlink -f "$0")")/game.sh"
# Runs the game to its end; $1 the exit code expected, $2 a text the one line
# on stderr must hold (or "" for no line), then the options.
expect() {
    local want=$1 text=$2
    shift 2
    timeout -s KILL 120 "$game" "$@" >/dev/null 2>"$dir/err"
    local got=$? lines
    lines=$(grep -vc '^ALSA' "$dir/err")
    echo "$*: exit code $got; $(grep -v '^ALSA' "$dir/err")"
    [ "$got" = "$want" ] || fail "$*: exit code $got, expected $want"
    if [ -z "$text" ]; then
        [ "$lines" = 0 ] || fail "$*: unexpected output on stderr"
    else
        [ "$lines" = 1 ] || fail "$*: $lines lines on stderr, not one"
        grep -q -- "$text" "$dir/err" || fail "$*: stderr does not say \"$text\""
    fi
}

# --- A real game: the opening messages, a walk, a swing, Escape. ---
rec="$dir/game.rec"
began=$SECONDS
start --window --record "$rec" || { fail "the recorded game did not start"; exit 1; }
sleep 2
for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done
xdotool keydown Right; sleep 0.8; xdotool keyup Right
xdotool key space; sleep 0.3
xdotool keydown Down; sleep 0.4; xdotool keydown Left; sleep 0.4
xdotool keyup Down keyup Left
xdotool key space space; sleep 0.3
xdotool key Escape
ended 10
took=$((SECONDS - began))
[ "$code" = 0 ] || fail "the recorded game ended with exit code $code"
frames=$(sed -n "s/^end \([0-9]*\) .*/\1/p" "$rec")
echo "recorded $frames frames, $(grep -c '^c ' "$rec") checkpoints, $(grep -c '^k ' "$rec") box key frames"
[ -n "$frames" ] && [ "$frames" -gt 40 ] || fail "the recording holds too few frames: $frames"
grep -q '^w [0-9]* ---R-' "$rec" || fail "the walk to the right is not in the recording"
grep -q '^k S' "$rec" || fail "no space pressed in a message box is in the recording"
grep -q '^end [0-9]* player$' "$rec" || fail "the recording does not say that the player ended the game"

# --- Playback: unpaced, then at the real pace with other keys pressed. ---
expect 0 "" --play "$rec" --fast --window
start --play "$rec" --window || fail "the paced playback did not start"
sleep 1
xdotool key Left space Escape Escape 2>/dev/null
xdotool keyup Escape 2>/dev/null
ended 30
[ "$code" = 0 ] || fail "Escape did not end the playback with exit code 0: $code"
start --play "$rec" --window || fail "the paced playback did not start"
sleep 3
xdotool key Left Up space 1 2 Down Right
# At the real pace it lasts about as long as the recorded game did.
ended $((took + 20))
[ "$code" = 0 ] || fail "the paced playback with other keys pressed ended with exit code $code"

# --- Refusals. ---
expect 1 "cannot be opened" --play "$dir/none.rec"
head -c 2000 "$rec" >"$dir/cut.rec"
expect 0 "without an end: the game that made it did not finish" --play "$dir/cut.rec" --fast
head -c 100000 /dev/urandom >"$dir/noise.rec"
expect 1 "recording" --play "$dir/noise.rec" --fast
sed 's/^map .*/map 792032 0badf00d/' "$rec" >"$dir/other.rec"
expect 1 "another map" --play "$dir/other.rec" --fast
# The score of the second checkpoint, changed.
awk '/^c / && ++n == 2 { $3 = "000003e7" } { print }' "$rec" >"$dir/tampered.rec"
expect 3 "at frame 100 score is 0, recorded 999" --play "$dir/tampered.rec" --fast --window
# The walk to the right turned into a walk to the left.
sed '0,/^w \([0-9]*\) ---R-/s//w \1 --L--/' "$rec" >"$dir/left.rec"
expect 3 "no longer matches the game: at frame" --play "$dir/left.rec" --fast --window
# Checkpoints are compared by field name: a field the recording lacks, or
# one the game no longer has, is left unchecked, which one line says; a
# recording that shares no field with the game is refused.
awk '/^digest / { $3 = "" } /^c / { $4 = "" } { print }' "$rec" >"$dir/fewer.rec"
expect 0 "left unchecked: it lacks finalscore" --play "$dir/fewer.rec" --fast --window
awk '/^digest / { $0 = $0 " player.shoesize" } /^c / { $0 = $0 " 0000002a" } { print }' "$rec" >"$dir/more.rec"
expect 0 "left unchecked: the game no longer has player.shoesize" --play "$dir/more.rec" --fast --window
awk '/^digest / { for (i = 2; i <= NF; i++) $i = "old." $i } { print }' "$rec" >"$dir/foreign.rec"
expect 1 "shares no digest field" --play "$dir/foreign.rec" --fast

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all recording checks passed"
