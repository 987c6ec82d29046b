#!/usr/bin/env bash
# Plays the real game: the opening messages are read and dismissed, the hero
# walks and swings, then he walks west into the monster camp and stays among
# the enemies until he dies, and the darkening world ends the game by itself
# with exit code 0. At 40 frames a second the death comes within about a
# minute; a machine too busy to keep the frame rate stretches every phase.
#
# $1: the game. Runs from the project's root, with DISPLAY set.
set -u

game=${1:?usage: play.sh path/to/kuurakarpalo}
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

# --- A death: walk west into the monster camp and stay among the enemies;
# every message box (the warning at frame 1400, the hero's "Argh!!!") is
# dismissed when it shows. ---
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
        say "a message box is open (box $boxes of this phase): space"
        hold ""
        press space
        sleep 0.3
        press space
        sleep 0.3
        continue
    fi
    hold Left
    sleep 0.5
done
pid=""
say "the game ended by itself with exit code $rc"
[ "$rc" = 0 ] || fail "exit code $rc, expected 0"
[ $boxes -ge 1 ] || fail "the game ended without the hero's death message"
say "PASS"
