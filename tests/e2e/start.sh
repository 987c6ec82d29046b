#!/usr/bin/env bash
# Starting and ending the real game: its window and caption, Escape ending it
# with exit code 0 within about a second, and a start without an audio
# device ending with exit code 1 and no window.
#
# $1: the game. Runs in the current directory, which must hold DATA/ and
# kuurakarpalo.map. Needs DISPLAY, xdotool and a sound driver in
# SDL_AUDIODRIVER (dummy will do).
set -u

game="$(readlink -f "${1:?usage: start.sh path-of-the-game}")"
caption="Kuurakarpalo"
pid=""
holder=""
failures=0

cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
        sleep 0.2
        kill -9 "$pid" 2>/dev/null
    fi
    pid=""
}
release_display() {
    cleanup
    [ -n "$holder" ] && kill "$holder" 2>/dev/null
    holder=""
}
trap release_display EXIT

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}

now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# Waits up to $2 seconds for process $1 to end; sets code to its exit code,
# or to "running" if it is still there.
wait_exit() {
    local p=$1 limit=$(($2 * 1000)) start
    start=$(now_ms)
    while kill -0 "$p" 2>/dev/null; do
        if [ $(($(now_ms) - start)) -ge "$limit" ]; then
            code=running
            return
        fi
        sleep 0.01
    done
    wait "$p"
    code=$?
}

# The game's window ids, one a line; empty when there is none.
game_windows() {
    xdotool search --name "^${caption}\$" 2>/dev/null
}

if [ -z "${DISPLAY:-}" ]; then
    echo "FAIL: DISPLAY is not set"
    exit 1
fi
# An X server started without -noreset resets whenever its last client
# leaves, and refuses connections meanwhile: between two xdotool calls the
# game could find no display. One client stays connected throughout.
if command -v xev >/dev/null; then
    for try in 1 2 3 4 5; do
        xev -root >/dev/null 2>&1 &
        holder=$!
        sleep 0.3
        kill -0 "$holder" 2>/dev/null && break
        holder=""
    done
fi

if game_windows | grep -q .; then
    echo "FAIL: a window named $caption is already open on $DISPLAY"
    exit 1
fi

echo "starting $game in $(pwd) on display $DISPLAY"
"$game" &
pid=$!

# Wait for the window; a slow (sanitizer) build may take a while.
window=""
deadline=$(($(now_ms) + 30000))
while [ -z "$window" ] && [ "$(now_ms)" -lt "$deadline" ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        fail "the game ended with exit code $? before its window appeared"
        exit 1
    fi
    window="$(game_windows | head -n 1)"
    [ -n "$window" ] || sleep 0.1
done
if [ -z "$window" ]; then
    fail "no window named $caption within 30 seconds"
    exit 1
fi
pass "window $window appeared"

name="$(xdotool getwindowname "$window")"
if [ "$name" = "$caption" ]; then
    pass "caption is exactly \"$caption\""
else
    fail "caption is \"$name\", not \"$caption\""
fi

# Twenty frames in, the story opens its first message box. Two seconds
# leave room for a slow machine.
sleep 2
if kill -0 "$pid" 2>/dev/null; then
    pass "still running after two seconds"
else
    fail "the game ended by itself"
fi

# While a message box is open, Escape is swallowed.
xdotool windowfocus "$window" 2>/dev/null
xdotool key Escape
sleep 0.5
if kill -0 "$pid" 2>/dev/null; then
    pass "Escape is ignored while the opening message is shown"
else
    fail "Escape ended the game while the opening message box was open"
fi

# Dismiss both opening messages: each takes one space to show it whole and
# one to close it (or two at once).
for i in 1 2 3 4; do
    xdotool key space
    sleep 0.3
done

sent=$(now_ms)
xdotool key Escape
wait_exit "$pid" 5
took=$(($(now_ms) - sent))
if [ "$code" = running ]; then
    fail "still running 5 seconds after Escape"
    cleanup
else
    echo "exit code $code, $took ms after Escape"
    [ "$code" = 0 ] && pass "Escape ends the game with exit code 0" ||
        fail "exit code $code after Escape, not 0"
    # Ends within one frame and clean-up; allow for a busy machine.
    [ "$took" -le 2000 ] && pass "ended within 2 s of Escape" ||
        fail "took $took ms to end after Escape"
fi
pid=""
if game_windows | grep -q .; then
    fail "a window named $caption is left open"
fi

# No audio device: start-up fails before any window or frame.
echo "starting with SDL_AUDIODRIVER=bogus"
started=$(now_ms)
SDL_AUDIODRIVER=bogus "$game" &
pid=$!
wait_exit "$pid" 10
took=$(($(now_ms) - started))
if [ "$code" = running ]; then
    fail "still running 10 seconds after a start without an audio device"
    cleanup
else
    echo "exit code $code after $took ms"
    [ "$code" = 1 ] && pass "no audio device: exit code 1" ||
        fail "no audio device: exit code $code, not 1"
fi
pid=""
if game_windows | grep -q .; then
    fail "a window named $caption is left after the failed start"
else
    pass "no window left"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all start checks passed"
