#!/usr/bin/env bash
# The game always closes: the window's close button, SIGTERM, SIGINT and
# SIGHUP end it with exit code 0 at once, in play, in the opening message,
# paused, in a playback and in the dark end; a game being recorded is
# finished, and plays back to its end.
# $1: the game; CLOSEWINDOWTOOL: the helper that closes a window as a window
# manager's close button does. Runs from the project's root with DISPLAY set.
set -u

game="$(readlink -f "${1:?usage: closing.sh path-of-the-game}")"
closer="${CLOSEWINDOWTOOL:?CLOSEWINDOWTOOL names the helper that closes a window}"
dir="$(mktemp -d)"
source "$(dirname "$(readlink -f "$0")")/game.sh"

# Closes the game: "window" with its close button, else the signal named.
closeby() {
    if [ "$1" = window ]; then "$closer" "$window"; else kill -"$1" "$pid"; fi
}

# The game ended at once with exit code 0 after a close by $1 in $2.
closed() {
    ended 10
    echo "$1 in $2: exit code $code, $took ms"
    [ "$code" = 0 ] || fail "$1 in $2: exit code $code, expected 0"
    # One frame and the clean-up; allow for a busy machine.
    [ "$took" -le 2000 ] || fail "$1 in $2: ended $took ms after the close"
}

# The recording $1, finished by a close in $2, plays back; $3: a line it holds.
recorded() {
    grep -q '^end [0-9]* player$' "$1" || fail "$2: the recording does not end with the player's end"
    grep -qx -- "$3" "$1" || fail "$2: the recording has no line \"$3\""
    playsback "$1" || fail "$2: the recording does not play back: $(tail -n 1 "$dir/err")"
}

# Shows each line of the opening messages and closes them.
openingdone() {
    sleep 2
    for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done
}

# --- In play, in the opening message, and paused, while recording; each
# way of closing at least once. ---
for way in TERM; do
    rec="$dir/play-$way.rec"
    start --window --no-sound --record "$rec" || fail "the game did not start"
    openingdone
    xdotool keydown Right; sleep 0.5; xdotool keyup Right
    closeby "$way"
    closed "$way" play
    recorded "$rec" "$way in play" "k S"
done

for way in INT window; do
    rec="$dir/box-$way.rec"
    start --window --no-sound --record "$rec" || fail "the game did not start"
    sleep 1.5   # the opening message is typing
    closeby "$way"
    closed "$way" "the opening message"
    # The first message ends where the close came, the second in its one frame.
    [ "$(grep -cx 'k Q' "$rec")" = 2 ] || fail "$way in the opening message: not two boxes closed by it"
    recorded "$rec" "$way in the opening message" "k Q"
done

for way in HUP; do
    rec="$dir/paused-$way.rec"
    start --window --no-sound --record "$rec" || fail "the game did not start"
    openingdone
    xdotool key p
    sleep 1
    closeby "$way"
    closed "$way" "a pause"
    recorded "$rec" "$way in a pause" "k S"
done

# Paused inside the opening message: the box ends in the frame after.
start --window --no-sound --record "$dir/boxpaused.rec" || fail "the game did not start"
sleep 1.5
xdotool key p
sleep 0.5
closeby window
closed window "a pause in the opening message"
recorded "$dir/boxpaused.rec" "window in a pause in the opening message" "k Q"

# --- Playback, paced: in the opening message, in play, in the dark end. ---
start --window --no-sound --play tests/golden/messages.rec || fail "the playback did not start"
sleep 1.5
closeby window
closed window "a playback's message"
start --window --no-sound --play tests/golden/messages.rec || fail "the playback did not start"
sleep 3
closeby INT
closed INT "a playback"

# The hero falls at frame 789 of the death recording, some 20 seconds in;
# then the world darkens until the game ends, 18 seconds later. The close
# comes once the picture has darkened by a tenth from the day's.
start --window --no-sound --play tests/golden/death.rec || fail "the playback did not start"
sleep 5
shoot "$window" day
read -r _ _ _ _ _ _ _ day <<<"$shot"
dark=""
for _ in $(seq 1 120); do
    sleep 0.5
    alive || break
    shoot "$window" dark
    read -r _ _ _ _ _ _ _ mean <<<"$shot"
    if [ $((mean * 10)) -lt $((day * 9)) ]; then
        dark=yes
        break
    fi
done
[ -n "$dark" ] && alive || fail "the death recording's playback never showed the dark end"
closeby TERM
closed TERM "the dark end"

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all closing checks passed"
