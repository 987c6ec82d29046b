#!/usr/bin/env bash
# Pausing and closing the real game: P, losing the keyboard and being unmapped
# each stop the picture with the notice; the close button and SIGTERM end it
# at once with exit code 0 (other ways: start.sh, display.sh, games.sh, the
# unit tests), and a game closed so plays back with its pauses and boxes.
game="$(readlink -f "${1:?usage: closing.sh path-of-the-game}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"

# The recording $1, closed, ends with the player's end, holds line $2, plays back.
recorded() {
    local file=$1 line=$2
    check 'grep -q "^end [0-9]* player$" "$file" && grep -qx -- "$line" "$file"' \
        "$(basename "$file") ends with the player's end and holds \"$line\""
    expect 0 "" --play "$file" --fast --no-sound --window
}

# The close button in the opening message ends the first box there, the second in one frame.
start --window --no-sound --record "$dir/box.rec" || fail "the game did not start"
sleep 1.5
closes window "in the opening message"
check '[ "$(grep -cx "k Q" "$dir/box.rec")" = 2 ]' "the close ends both opening boxes"
recorded "$dir/box.rec" "k Q"

# The window's picture stands still, $1 says why, with the notice on it.
paused() {
    sleep 0.4
    shoot "$window" still-a
    sleep 0.6
    # The notice's band mid-window (1024x768): black around the lit word.
    shoot "$window" still-b 464 364 559 403
    read -r _ _ left top right bottom lit _ <<<"$shot"
    check 'cmp -s "$dir/still-a.ppm" "$dir/still-b.ppm" && [ "$left" -ge 18 ] && [ "$top" -ge 10 ] &&
           [ "$right" -le 77 ] && [ "$bottom" -le 29 ] && [ "$lit" -gt 0 ]' \
        "$1: the picture stands still with the notice on a black band in the middle: $shot"
}

# P pressed, $1 says after what, and the picture moves again: the hero walks.
resumes() {
    xdotool key p
    shoot "$window" moving-a
    xdotool keydown Right; sleep 0.6; xdotool keyup Right
    shoot "$window" moving-b
    check '! cmp -s "$dir/moving-a.ppm" "$dir/moving-b.ppm"' "P $1: the game goes on"
}

rec="$dir/paused.rec"
start --window --no-sound --record "$rec" || { fail "the game did not start"; exit 1; }
opening
xdotool key p
paused "P"
resumes "again"

# Another window takes the keyboard.
xev -name other >/dev/null 2>&1 &
other=$!
poll 5 'xdotool windowfocus "$(xdotool search --pid "$other" 2>/dev/null | head -n 1)" 2>/dev/null' ||
    fail "no other window to take the focus"
paused "focus lost"
xdotool windowfocus "$window"
sleep 0.3
paused "focus back"
resumes "after the focus came back"

# Unmapped and mapped again: the paused picture is drawn again.
xdotool windowunmap "$window"
sleep 0.5
xdotool windowmap "$window"
xdotool windowfocus "$window" 2>/dev/null
paused "unmapped and mapped"
resumes "after the window came back"
closes TERM "in play"
recorded "$rec" "k S"
passed "pause and closing"
