#!/usr/bin/env bash
# Plays the real game: the opening messages are read and dismissed, the hero
# walks and swings, and Escape ends it. Then a second game on an open field,
# where the friends cannot move: the hero walks away from them, the monsters
# kill him, and the darkening world ends the game by itself with exit code 0.
# At 40 frames a second that takes about a minute; a machine too busy to keep
# the frame rate stretches every phase.
#
# $1: the game. Runs from the project's root, with DISPLAY set.
set -u

game=$(readlink -f "${1:?usage: play.sh path/to/kuurakarpalo}")
shots=$(mktemp -d)
pid=""
held=""
begin=$(date +%s%N)

elapsed() { echo $((($(date +%s%N) - begin) / 1000000)); }
say() { printf '[%7.1f s] %s\n' "$(echo "$(elapsed)" | awk '{print $1 / 1000}')" "$*"; }
fail() {
    say "FAIL: $*"
    exit 1
}
cleanup() {
    [ -n "$held" ] && xdotool keyup "$held" 2>/dev/null
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
        sleep 0.5
        kill -9 "$pid" 2>/dev/null
    fi
    rm -rf "$shots"
}
trap cleanup EXIT

alive() { kill -0 "$pid" 2>/dev/null; }
hold() {
    [ "$1" = "$held" ] && return
    [ -n "$held" ] && xdotool keyup "$held"
    held=$1
    [ -n "$held" ] && xdotool keydown "$held"
}
press() { xdotool key "$1"; }

# The mean colour of a patch inside the message panel, below its text. The
# panel is drawn untinted, so it looks the same in every box, day or night.
panel() {
    import -window root "$shots/now.png" 2>/dev/null || return 1
    convert "$shots/now.png" -crop 300x80+600+660 -scale 1x1 \
        -format '%[fx:round(255*r)] %[fx:round(255*g)] %[fx:round(255*b)]' info:
}
boxopen() {
    local now
    now=$(panel) || return 1
    # shellcheck disable=SC2086
    set -- $now $reference
    [ $(($1 - $4)) -le 2 ] && [ $(($4 - $1)) -le 2 ] &&
        [ $(($2 - $5)) -le 2 ] && [ $(($5 - $2)) -le 2 ] &&
        [ $(($3 - $6)) -le 2 ] && [ $(($6 - $3)) -le 2 ]
}

# Writes an open field of 100 by 40 grass tiles in daylight, nothing blocked
# but the cells where the ten friends are placed and the cells below them, so
# they cannot take a step and the monsters reach the hero alone.
makefield() {
    local out=$1 c r off
    {
        printf '\x64\x00\x00\x00\x28\x00\x00\x00'
        head -c $((3 * 39601 * 4)) /dev/zero
        printf '\x09\x00\x00\x00%.0s' $(seq 1 39601)
        head -c $((39601 * 4 + 4)) /dev/zero
    } >"$out"
    for cell in 48,9 48,8 49,6 47,7 44,9 44,8 43,6 45,7 43,10 49,10; do
        c=${cell%,*}
        r=${cell#*,}
        for row in "$r" $((r + 1)); do
            off=$((8 + 4 * 39601 * 4 + 4 * (row * 199 + c)))
            printf '\x01' | dd of="$out" bs=1 seek="$off" conv=notrunc status=none
        done
    done
    [ "$(stat -c %s "$out")" = 792032 ] || fail "the field map is $(stat -c %s "$out") bytes"
}

# --- Start: the window appears. ---
"$game" &
pid=$!
say "started the game, pid $pid"
for _ in $(seq 1 100); do
    xdotool search --name '^Kuurakarpalo$' >/dev/null 2>&1 && break
    alive || fail "the game ended before its window appeared"
    sleep 0.2
done
xdotool search --name '^Kuurakarpalo$' >/dev/null 2>&1 || fail "no window named Kuurakarpalo within 20 s"
say "window is up"

# --- The opening messages: shown 20 frames in, they wait for space. ---
sleep 3
alive || fail "the game ended during the opening"
reference=$(panel) || fail "cannot take a screenshot"
import -window root /tmp/kuurakarpalo-opening.png 2>/dev/null
say "opening message box on screen (panel colour $reference)"
presses=0
while boxopen; do
    [ $presses -ge 10 ] && fail "the opening messages did not close after 10 presses of space"
    press space
    presses=$((presses + 1))
    sleep 0.4
done
alive || fail "the game ended while its opening messages were dismissed"
[ $presses -ge 2 ] || fail "the opening box closed after $presses press(es) of space; two boxes need four"
say "opening messages dismissed with $presses presses of space"

# --- Walking and swinging. ---
for step in Right:1.0 Down:0.5 Left:1.0 Up:0.5; do
    hold "${step%%:*}"
    sleep "${step##*:}"
done
hold ""
press space
sleep 0.5
press space
sleep 0.5
alive || fail "the game ended while the hero walked"
boxopen && fail "a message box is open after walking"
say "the hero walked and swung; the game runs on"
press Escape
for _ in $(seq 1 50); do alive || break; sleep 0.1; done
alive && fail "Escape did not end the game"
wait "$pid"
rc=$?
pid=""
[ "$rc" = 0 ] || fail "Escape ended the game with exit code $rc, expected 0"
say "Escape ended the game with exit code 0"

# --- A death, on an open field where the friends stand frozen: the hero walks
# away from them and waits for the monsters, dismissing every message box
# (the warning at frame 1400, his own "Argh!!!") when it shows. Then the
# world darkens and the game ends by itself. ---
field=$(mktemp -d)
trap 'cleanup; rm -rf "$field"' EXIT
ln -s "$PWD/DATA" "$field/DATA"
makefield "$field/kuurakarpalo.map"
cd "$field"
"$game" &
pid=$!
for _ in $(seq 1 100); do
    xdotool search --name '^Kuurakarpalo$' >/dev/null 2>&1 && break
    alive || fail "the game ended before its window appeared on the field"
    sleep 0.2
done
say "the game runs on the open field"

# The opening messages first, so the walk is not swallowed by a box.
for _ in $(seq 1 50); do boxopen && break; sleep 0.2; done
boxopen || fail "no opening message on the field"
for _ in $(seq 1 10); do boxopen || break; press space; sleep 0.4; done
boxopen && fail "the opening messages on the field did not close"
# Out of the circle of friends, then east towards a monster camp.
hold Down
sleep 0.5
hold Right
sleep 3
hold ""
say "the hero stands on the field, away from his friends"

phase=$(elapsed)
boxes=0
rc=""
while :; do
    if ! alive; then
        wait "$pid"
        rc=$?
        break
    fi
    [ $(($(elapsed) - phase)) -gt 240000 ] && fail "the game has not ended 240 s after the hero set out to die"
    if boxopen; then
        boxes=$((boxes + 1))
        say "a message box is open: space"
        press space
    fi
    sleep 0.5
done
pid=""
say "the game ended by itself with exit code $rc"
[ "$rc" = 0 ] || fail "exit code $rc, expected 0"
[ $boxes -ge 1 ] || fail "the game ended without the hero's death message"
say "PASS"
