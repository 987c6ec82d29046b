#!/usr/bin/env bash
# Starting and ending the real game: its window and caption, Escape ending it
# with exit code 0 within about a second, and a start without an audio
# device ending with exit code 1 and no window.
# $1: the game. Runs in the current directory, which must hold DATA/ and
# kuurakarpalo.map. Needs DISPLAY, xdotool and SDL_AUDIODRIVER (dummy will do).
set -u

game="$(readlink -f "${1:?usage: start.sh path-of-the-game}")"
caption="Kuurakarpalo"
pid=""
holder=""
errors=$(mktemp)
failures=0

finish() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    [ -n "$holder" ] && kill "$holder" 2>/dev/null
    rm -f "$errors"
}
trap finish EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { if eval "$1"; then echo "ok: $2"; else fail "$2"; fi; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
windows() { xdotool search --name "^${caption}\$" 2>/dev/null; }

# Waits up to $1 seconds for the game to end; sets code to its exit code, or
# to "running" (and kills it), and took to the milliseconds it waited.
wait_exit() {
    local start
    start=$(now_ms)
    while kill -0 "$pid" 2>/dev/null && [ $(($(now_ms) - start)) -lt $(($1 * 1000)) ]; do
        sleep 0.01
    done
    took=$(($(now_ms) - start))
    if kill -9 "$pid" 2>/dev/null; then code=running; else wait "$pid"; code=$?; fi
}

[ -n "${DISPLAY:-}" ] || { echo "FAIL: DISPLAY is not set"; exit 1; }
# An X server started without -noreset resets whenever its last client
# leaves, and refuses connections meanwhile: one client stays connected.
if command -v xev >/dev/null; then
    xev -root >/dev/null 2>&1 &
    holder=$!
    sleep 0.3
fi

"$game" &
pid=$!
# Wait for the window; a slow (sanitizer) build may take a while.
window=""
for _ in $(seq 1 300); do
    window="$(windows | head -n 1)"
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || { fail "the game ended before its window appeared"; exit 1; }
    sleep 0.1
done
[ -n "$window" ] || { fail "no window named $caption within 30 seconds"; exit 1; }
check '[ "$(xdotool getwindowname "$window")" = "$caption" ]' "caption is exactly \"$caption\""

# Twenty frames in, the story opens its first message box, which swallows
# Escape.
sleep 2
xdotool windowfocus "$window" 2>/dev/null
xdotool key Escape
sleep 0.5
check 'kill -0 "$pid" 2>/dev/null' "Escape is ignored while the opening message is shown"

# Dismiss both opening messages: one space shows each whole, one closes it.
for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done
xdotool key Escape
wait_exit 5
echo "exit code $code, $took ms after Escape"
check '[ "$code" = 0 ]' "Escape ends the game with exit code 0"
# Ends within one frame and clean-up; allow for a busy machine.
check '[ "$took" -le 2000 ]' "ended within 2 s of Escape"

# No audio device: start-up fails before any frame, with one line that
# names the failure and the way to play without sound, and gives the display
# back. --no-sound then plays.
SDL_AUDIODRIVER=bogus "$game" 2>"$errors" &
pid=$!
wait_exit 10
check '[ "$code" = 1 ]' "no audio device: exit code $code, expected 1"
check '[ "$(grep -vc ^ALSA "$errors")" = 1 ] && grep -q -- "--no-sound" "$errors"' \
    "no audio device: one line naming --no-sound: $(cat "$errors")"
check '! windows | grep -q .' "no window left"
SDL_AUDIODRIVER=bogus "$game" --no-sound &
pid=$!
sleep 2
check 'kill -0 "$pid" 2>/dev/null && windows | grep -q .' "--no-sound plays without an audio device"
wait_exit 0

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all start checks passed"
