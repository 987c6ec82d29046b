#!/usr/bin/env bash
# Pausing the real game: P stops it with its picture still and the notice
# shown, P goes on; so does the window losing the keyboard, and being
# unmapped (shown again, it shows the paused picture); the game recorded
# with its pauses plays back.
# $1: the game. Runs from the project's root with DISPLAY set.
set -u

game="$(readlink -f "${1:?usage: pause.sh path-of-the-game}")"
dir="$(mktemp -d)"
source "$(dirname "$(readlink -f "$0")")/game.sh"
other=""
finishall() {
    [ -n "$other" ] && kill "$other" 2>/dev/null
    finish
}
trap finishall EXIT

# The notice's band in the middle of a 1024x768 window: black around the
# word, which is lit.
NOTICE=(464 364 559 403)

# The window's picture stands still, $1 says why, with the notice on it.
paused() {
    sleep 0.4
    shoot "$window" "$1-a"
    sleep 0.6
    shoot "$window" "$1-b" "${NOTICE[@]}"
    cmp -s "$dir/$1-a.ppm" "$dir/$1-b.ppm" || fail "$1: the picture moves while paused"
    read -r _ _ left top right bottom lit _ <<<"$shot"
    [ "$left" -ge 18 ] && [ "$top" -ge 10 ] && [ "$right" -le 77 ] && [ "$bottom" -le 29 ] && [ "$lit" -gt 0 ] ||
        fail "$1: no notice on a black band in the middle: $shot"
}

# The picture moves again, $1 says after what: the hero walks.
going() {
    shoot "$window" "$1-c"
    xdotool keydown Right; sleep 0.6; xdotool keyup Right
    shoot "$window" "$1-d"
    cmp -s "$dir/$1-c.ppm" "$dir/$1-d.ppm" && fail "$1: the game does not go on"
}

rec="$dir/paused.rec"
start --window --no-sound --record "$rec" || { fail "the game did not start"; exit 1; }
sleep 2
for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done

xdotool key p
paused "P"
xdotool key p
going "P again"

# Another window takes the keyboard.
xev -name other >/dev/null 2>&1 &
other=$!
for _ in $(seq 1 50); do
    otherwindow=$(xdotool search --pid "$other" 2>/dev/null | head -n 1)
    [ -n "$otherwindow" ] && break
    sleep 0.1
done
xdotool windowfocus "$otherwindow" 2>/dev/null || fail "no other window to take the focus"
paused "focus lost"
xdotool windowfocus "$window"
sleep 0.3
paused "focus back"
xdotool key p
going "P after the focus came back"

# Unmapped and mapped again: the paused picture is drawn again.
xdotool windowunmap "$window"
sleep 0.5
xdotool windowmap "$window"
xdotool windowfocus "$window" 2>/dev/null
paused "unmapped and mapped"
xdotool key p
going "P after the window came back"

xdotool key Escape
ended 10
[ "$code" = 0 ] || fail "Escape after the pauses: exit code $code"
playsback "$rec" || fail "the game recorded with pauses does not play back: $(tail -n 1 "$dir/err")"

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all pause checks passed"
