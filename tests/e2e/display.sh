#!/usr/bin/env bash
# The display of the real game, as the X server shows it: a window resized
# to any size shows the picture 4:3 between black bars, and sizes past
# sense (1x1, 10000x10000) are clamped; then, on a 1920x1080 screen of its
# own, full screen takes the screen as it is, the picture 1440x1080 between
# bars of 240, and Alt+Enter goes from a window to full screen and back
# with the textures kept.
# $1: the game. Runs from the project's root with DISPLAY set; the full
# screen part runs in a display started with xvfb-run.
game="$(readlink -f "${1:?usage: display.sh path-of-the-game [fullscreen]}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"

# shows WHAT "WIDTH HEIGHT LEFT TOP RIGHT BOTTOM" WHEN: the picture of WHAT
# ("root" or the window) has that size, the lit part between LEFT and RIGHT
# and TOP and BOTTOM, at least 80 per cent of it lit, within 5 s: a loaded
# machine may take a while to draw the first frame or follow a resize.
shows() {
    local expected=$2 tries
    for tries in 1 2 3 4 5 6 7 8 9 10; do
        shoot "$1" "${3// /-}"
        read -r w h left top right bottom lit _ <<<"$shot"
        [ "$w $h $left $top $right $bottom" = "$expected" ] && [ "$lit" -ge 80 ] && break
        sleep 0.5
    done
    check '[ "$w $h $left $top $right $bottom" = "$expected" ] && [ "$lit" -ge 80 ]' "$3: \"$shot\", expected \"$2\""
}
windowsize() { xdotool getwindowgeometry "$window" | sed -n 's/^ *Geometry: //p'; }
# Resizes the window as a player drags it, and waits for the game to follow:
# until the window is no larger than the screen, within 5 s.
resize() {
    xdotool windowsize "$window" "$1" "$2"
    local tries size
    for tries in 1 2 3 4 5 6 7 8 9 10; do
        sleep 0.5
        size=$(windowsize)
        [ "${size%x*}" -le "$bigw" ] && [ "${size#*x}" -le "$bigh" ] && break
    done
}

if [ "${2:-}" != fullscreen ]; then
    read -r screenw screenh < <(xdotool getdisplaygeometry)
    bigw=$((screenw > 1024 ? screenw : 1024)) bigh=$((screenh > 768 ? screenh : 768))
    start --window --no-sound || { fail "the game did not start"; exit 1; }
    sleep 1
    shows "$window" "1024 768 0 0 1023 767" "the window as it opens"
    resize 800 400
    shows "$window" "800 400 133 0 665 399" "the window resized to 800x400"
    resize 640 700
    shows "$window" "640 700 0 110 639 589" "the window resized to 640x700"
    resize 1 1
    shows "$window" "320 240 0 0 319 239" "the window resized to 1x1"
    check '[ "$(windowsize)" = 320x240 ] && alive' "the window resized to 1x1 is 320x240: $(windowsize)"
    resize 10000 10000
    size=$(windowsize)
    check 'alive && [ "${size%x*}" -le $bigw ] && [ "${size#*x}" -le $bigh ]' \
        "the window resized to 10000x10000 is no larger than the screen: $size"
    closes HUP "after the resizing"
    # The rest on a screen of 1920x1080 of its own.
    env -u DISPLAY xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" bash "$0" "$game" fullscreen ||
        failures=$((failures + 1))
else
    start --no-sound || { fail "the game did not start full screen"; exit 1; }
    sleep 1
    check '[ "$(xdotool getdisplaygeometry)" = "1920 1080" ]' "the screen stays 1920x1080"
    shows root "1920 1080 240 0 1679 1079" "full screen"
    closes TERM "in full screen"

    start --window --no-sound || { fail "the game did not start in a window"; exit 1; }
    sleep 1
    shows "$window" "1024 768 0 0 1023 767" "the window before Alt+Enter"
    xdotool key alt+Return
    sleep 1
    # A window manager puts a window gone full screen at the screen's corner;
    # sdl12-compat leaves that to it, and here there is none.
    xdotool windowmove "$window" 0 0
    sleep 0.3
    shows root "1920 1080 240 0 1679 1079" "full screen after Alt+Enter"
    xdotool key alt+Return
    sleep 1
    check '[ "$(windowsize)" = 1024x768 ]' "a 1024x768 window after Alt+Enter again: $(windowsize)"
    shows "$window" "1024 768 0 0 1023 767" "the window after Alt+Enter again"
    # On a screen larger than the picture a window grows as far as the screen.
    bigw=1920 bigh=1080
    resize 10000 10000
    check '[ "$(windowsize)" = 1920x1080 ] && alive' "the window resized to 10000x10000 on a 1920x1080 screen: $(windowsize)"
    closes TERM "after Alt+Enter"
fi
passed "display${2:+ ($2)}"
