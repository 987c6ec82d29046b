#!/usr/bin/env bash
# Plays a scripted game in a virtual display and photographs it for the
# README: the opening message, the village by day, a fight, the night, the
# hero's death and the dark end. Run from the project's root after a build:
#   tools/docs/screenshots.sh [build]
# It takes about two and a half minutes; the pictures go to docs/.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi
build=${1:-build}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER-dummy}

"$build/src/kuurakarpalo" &
game=$!
trap 'kill $game 2>/dev/null || true' EXIT

shot() { import -window root "docs/$1.png"; echo "$(date +%T) $1"; }
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
# Walks while swinging the sword every half second.
fight() {
    local key=$1 seconds=$2
    xdotool keydown "$key"
    for _ in $(seq 1 $((seconds * 2))); do xdotool key space; sleep 0.5; done
    xdotool keyup "$key"
}

sleep 1.0
shot message
for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done
sleep 0.5
shot day
fight Left 6
shot fight
fight Right 6
# Wait in the village for the night.
for _ in $(seq 1 50); do xdotool key space; sleep 1.5; done
shot night
# Into the eastern camp until the end.
fight Right 12
for _ in $(seq 1 20); do xdotool key space; sleep 1; done
shot end
wait $game || true
trap - EXIT
