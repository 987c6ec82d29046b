#!/usr/bin/env bash
# Plays the real game: the opening messages are read and dismissed, the hero
# walks and swings, and Escape ends it. Then a second game on an open field,
# where the friends cannot move: the monsters kill the hero, and the darkening
# world ends the game by itself with exit code 0, about a minute later.
# $1: the game. Runs from the project's root, with DISPLAY set.
set -u

game=$(readlink -f "${1:?usage: play.sh path/to/kuurakarpalo}")
work=$(mktemp -d)
pid=""
held=""

say() { echo "[$SECONDS s] $*"; }
fail() { say "FAIL: $*"; exit 1; }
cleanup() {
    [ -n "$held" ] && xdotool keyup "$held" 2>/dev/null
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

alive() { kill -0 "$pid" 2>/dev/null; }
press() { xdotool key "$1" && sleep "${2:-0}"; }
hold() {
    [ -n "$held" ] && xdotool keyup "$held"
    held=$1
    [ -n "$held" ] && xdotool keydown "$held"
}
# Starts the game in the current directory and waits for its window.
start() {
    "$game" &
    pid=$!
    for _ in $(seq 1 100); do
        xdotool search --name '^Kuurakarpalo$' >/dev/null 2>&1 && return
        alive || fail "the game ended before its window appeared"
        sleep 0.2
    done
    fail "no window named Kuurakarpalo within 20 s"
}
# Waits up to $1 seconds for the game to end, with a second argument pressing
# space whenever a box is open; sets rc and boxes.
finish() {
    local end=$((SECONDS + $1))
    boxes=0
    while alive && [ $SECONDS -lt "$end" ]; do
        if [ -n "${2:-}" ] && boxopen; then boxes=$((boxes + 1)); press space; fi
        sleep 0.2
    done
    alive && return 1
    wait "$pid"
    rc=$?
    pid=""
}

# The mean colour of a patch inside the message panel, below its text. The
# panel is drawn untinted, so it looks the same in every box, day or night.
panel() {
    import -window root "$work/now.png" 2>/dev/null || return 1
    convert "$work/now.png" -crop 300x80+600+660 -scale 1x1 \
        -format '%[fx:round(255*r)] %[fx:round(255*g)] %[fx:round(255*b)]' info:
}
boxopen() {
    local now i d c
    now=$(panel) || return 1
    c=($now $reference)
    for i in 0 1 2; do
        d=$((c[i] - c[i + 3]))
        [ "${d#-}" -le 2 ] || return 1
    done
}
# Presses space until no box is open, at most ten times; echoes the presses.
dismiss() {
    local n=0
    while boxopen && [ $((n++)) -lt 10 ]; do press space 0.4; done
    echo $n
}

# Writes an open field of 100 by 40 tiles in daylight, blocked only where the
# ten friends stand and below them: they cannot move, the monsters come alone.
makefield() {
    local cells=() cell
    for cell in 48,9 48,8 49,6 47,7 44,9 44,8 43,6 45,7 43,10 49,10; do
        cells+=("$cell" "${cell%,*},$((${cell#*,} + 1))")
    done
    "${MAPFILETOOL:?the mapfile helper}" new "$1" 100 40 "${cells[@]}"
}

# --- The opening messages: shown 20 frames in, they wait for space. ---
start
sleep 3
alive || fail "the game ended during the opening"
reference=$(panel) || fail "cannot take a screenshot"
presses=$(dismiss)
boxopen && fail "the opening messages did not close after 10 presses of space"
[ "$presses" -ge 2 ] || fail "the opening box closed after $presses press(es); two boxes need four"
say "opening messages (panel colour $reference) dismissed with $presses presses of space"

# --- Walking and swinging, then Escape. ---
for step in Right:1 Down:0.5 Left:1 Up:0.5; do hold "${step%:*}" && sleep "${step#*:}"; done
hold ""
press space 0.5
press space 0.5
alive || fail "the game ended while the hero walked"
boxopen && fail "a message box is open after walking"
press Escape
finish 5 || fail "Escape did not end the game"
[ "$rc" = 0 ] || fail "Escape ended the game with exit code $rc, expected 0"
say "the hero walked and swung; Escape ended the game with exit code 0"

# --- A death on the open field: the hero walks away from his frozen friends
# and waits for the monsters, dismissing every message box (the warning at
# frame 1400, his own "Argh!!!"); then the world darkens and the game ends. ---
ln -s "$PWD/DATA" "$work/DATA"
makefield "$work/kuurakarpalo.map"
cd "$work"
export KUURAKARPALO_DATA="$work"
start
for _ in $(seq 1 50); do boxopen && break; sleep 0.2; done
[ "$(dismiss)" -ge 2 ] || fail "no opening message on the field"
boxopen && fail "the opening messages on the field did not close"
# Out of the circle of friends, then east towards a monster camp.
hold Down && sleep 0.5
hold Right && sleep 3
hold ""

finish 240 boxes || fail "the game has not ended 240 s after the hero set out to die"
say "the game ended by itself with exit code $rc after $boxes message box(es)"
[ "$rc" = 0 ] || fail "exit code $rc, expected 0"
[ $boxes -ge 1 ] || fail "the game ended without the hero's death message"
say "PASS"
