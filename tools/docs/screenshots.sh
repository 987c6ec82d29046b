#!/usr/bin/env bash
# Plays two scripted games in a virtual display and photographs them for the
# README: the opening message, the village by day, a fight and the night in
# the first; in the second, whose friends are held in place so that the
# monsters reach the hero, his death and the dark end. Run from the
# project's root after a build:
#   tools/docs/screenshots.sh [build]
# It takes about three minutes; the pictures go to docs/.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi
game=$(readlink -f "${1:-build}/src/kuurakarpalo")
mapfile=$(readlink -f "${1:-build}/tests/mapfile")
docs=$PWD/docs
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER-dummy}
work=$(mktemp -d)
pid=""
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
# The pictures show the game as it comes, in Finnish with its own keys,
# whatever the settings and the language of whoever takes them.
export XDG_CONFIG_HOME="$work/settings"

shot() { import -window root "$docs/$1.png"; echo "$(date +%T) $1"; }
# Walks while swinging the sword every half second.
fight() {
    xdotool keydown "$1"
    for _ in $(seq 1 "$2"); do xdotool key space; sleep 0.5; done
    xdotool keyup "$1"
}
# The mean colour of a patch of the message panel, or of the world there.
panel() {
    import -window root "$work/now.png"
    convert "$work/now.png" -crop 300x80+600+660 -scale 1x1 -format '%[fx:round(255*r)] %[fx:round(255*g)] %[fx:round(255*b)]' info:
}

"$game" --language fi &
pid=$!
sleep 1.0
shot message
boxcolour=$(panel)
for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done
sleep 0.5
shot day
xdotool keydown Left; sleep 2.5; xdotool keyup Left
fight Down 2
fight Up 3
shot fight
fight Right 12
for _ in $(seq 1 45); do xdotool key space; sleep 1.5; done
shot night
kill $pid
wait $pid || true

# The second game: the level as it is, but every friend's tile blocked so
# that none of them can take a step.
ln -s "$PWD/DATA" "$work/DATA"
"$mapfile" block kuurakarpalo.map "$work/kuurakarpalo.map" 48,9 48,8 49,6 47,7 44,9 44,8 43,6 45,7 43,10 49,10
cd "$work"
"$game" --language fi --data "$work" &
pid=$!
sleep 1.0
for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done
xdotool keydown Down; sleep 2; xdotool keyup Down
# Wait for the hero's death. The warning at nightfall comes in a box too;
# its line is long, while his last words end well left of x = 400.
for _ in $(seq 1 300); do
    if [ "$(panel)" = "$boxcolour" ]; then
        sleep 1.5
        import -window root "$work/now.png"
        long=$(convert "$work/now.png" -crop 200x16+400+596 -format '%[fx:maxima.r>0.8]' info:)
        [ "$long" = 0 ] && break
        xdotool key space
    fi
    sleep 0.5
done
shot death
xdotool key space
sleep 0.3
xdotool key space
sleep 6
shot end
wait $pid || true
pid=""
