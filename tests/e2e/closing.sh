#!/usr/bin/env bash
# Pausing and closing the real game. P stops it with its picture still and
# the notice shown, P goes on; so does the window losing the keyboard, and
# being unmapped (shown again, it shows the paused picture). The close
# button and SIGTERM each end it at once with exit code 0 (Escape, SIGHUP
# and SIGINT: start.sh, display.sh, games.sh; every place by every way: the
# unit tests); a recorded game closed so plays back with its pauses and boxes.
# $1: the game; CLOSEWINDOWTOOL: the helper that closes a window as a window
# manager's close button does. Runs from the project's root with DISPLAY set.
game="$(readlink -f "${1:?usage: closing.sh path-of-the-game}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"
other=""
trap '[ -n "$other" ] && kill "$other" 2>/dev/null; [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$dir"' EXIT

# The recording $1, finished by a close, ends with the player's end, holds the
# line $2 and plays back.
recorded() {
    local file=$1 line=$2
    check 'grep -q "^end [0-9]* player$" "$file" && grep -qx -- "$line" "$file" && playsback "$file"' \
        "$(basename "$1") ends with the player's end, holds \"$2\" and plays back"
}

# The close button in the opening message: the first box ends where the close
# came, the second in its one frame.
start --window --no-sound --record "$dir/box.rec" || fail "the game did not start"
sleep 1.5
closes window "in the opening message"
check '[ "$(grep -cx "k Q" "$dir/box.rec")" = 2 ]' "the close ends both opening boxes"
recorded "$dir/box.rec" "k Q"

# The notice's band in the middle of a 1024x768 window: black around the
# word, which is lit.
NOTICE=(464 364 559 403)

# The window's picture stands still, $1 says why, with the notice on it.
paused() {
    local name=${1// /-}
    sleep 0.4
    shoot "$window" "$name-a"
    sleep 0.6
    shoot "$window" "$name-b" "${NOTICE[@]}"
    read -r _ _ left top right bottom lit _ <<<"$shot"
    check 'cmp -s "$dir/$name-a.ppm" "$dir/$name-b.ppm" && [ "$left" -ge 18 ] && [ "$top" -ge 10 ] &&
           [ "$right" -le 77 ] && [ "$bottom" -le 29 ] && [ "$lit" -gt 0 ]' \
        "$1: the picture stands still with the notice on a black band in the middle: $shot"
}

# The picture moves again, $1 says after what: the hero walks.
going() {
    local name=${1// /-}
    shoot "$window" "$name-c"
    xdotool keydown Right; sleep 0.6; xdotool keyup Right
    shoot "$window" "$name-d"
    check '! cmp -s "$dir/$name-c.ppm" "$dir/$name-d.ppm"' "$1: the game goes on"
}

rec="$dir/paused.rec"
start --window --no-sound --record "$rec" || { fail "the game did not start"; exit 1; }
opening
xdotool key p
paused "P"
xdotool key p
going "P again"

# Another window takes the keyboard.
xev -name other >/dev/null 2>&1 &
other=$!
for _ in $(seq 1 50); do xdotool search --pid "$other" >/dev/null 2>&1 && break; sleep 0.1; done
xdotool windowfocus "$(xdotool search --pid "$other" | head -n 1)" || fail "no other window to take the focus"
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
closes TERM "in play"
recorded "$rec" "k S"
passed "pause and closing"
