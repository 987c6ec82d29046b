#!/usr/bin/env bash
# The real game as the X server shows it: a window of any size shows the
# picture 4:3 between black bars, sizes past sense clamped; then on a 1920x1080
# screen (xvfb-run), full screen and Alt+Enter both ways, bars of 240.
game="$(readlink -f "${1:?usage: display.sh path-of-the-game [fullscreen]}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"

# shows WHAT "WIDTH HEIGHT LEFT TOP RIGHT BOTTOM" WHEN: WHAT ("root" or the
# window) has that size and lit part, 80% lit, within 5 s (a loaded machine lags).
shows() {
    local what=$1 expected=$2 name=${3// /-}
    poll 5 'shoot "$what" "$name"; [ "${shot% *}" = "$expected" ] && [ "${shot##* }" -ge 80 ]'
    check "[ $? = 0 ]" "$3: \"$shot\", expected \"$2\""
}
windowsize() { xdotool getwindowgeometry "$window" | sed -n 's/^ *Geometry: //p'; }
# Resizes the window as a player drags it; true once it is no larger than the screen, within 5 s.
resize() {
    xdotool windowsize "$window" "$1" "$2"
    poll 5 'size=$(windowsize); [ "${size%x*}" -le "$bigw" ] && [ "${size#*x}" -le "$bigh" ]'
}
# resized WIDTH HEIGHT PICTURE: the window resized so shows PICTURE, as shows.
resized() { resize "$1" "$2"; shows "$window" "$3" "the window resized to $1x$2"; }

if [ "${2:-}" != fullscreen ]; then
    read -r screenw screenh < <(xdotool getdisplaygeometry)
    bigw=$((screenw > 1024 ? screenw : 1024)) bigh=$((screenh > 768 ? screenh : 768))
    start --window --no-sound || { fail "the game did not start"; exit 1; }
    shows "$window" "1024 768 0 0 1023 767" "the window as it opens"
    resized 800 400 "800 400 133 0 665 399"
    resized 640 700 "640 700 0 110 639 589"
    resized 1 1 "320 240 0 0 319 239"
    resize 10000 10000
    check "[ $? = 0 ] && alive" "the window resized to 10000x10000 is no larger than the screen: $size"
    closes HUP "after the resizing"
    env -u DISPLAY xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" bash "$0" "$game" fullscreen ||
        failures=$((failures + 1))
else
    start --no-sound || { fail "the game did not start full screen"; exit 1; }
    shows root "1920 1080 240 0 1679 1079" "full screen"
    check '[ "$(xdotool getdisplaygeometry)" = "1920 1080" ]' "the screen stays 1920x1080"
    closes TERM "in full screen"

    start --window --no-sound || { fail "the game did not start in a window"; exit 1; }
    shows "$window" "1024 768 0 0 1023 767" "the window before Alt+Enter"
    xdotool key alt+Return
    sleep 1
    # A window manager would put the full-screen window at the corner; here is none.
    xdotool windowmove "$window" 0 0
    shows root "1920 1080 240 0 1679 1079" "full screen after Alt+Enter"
    xdotool key alt+Return
    shows "$window" "1024 768 0 0 1023 767" "the window after Alt+Enter again"
    # On a screen larger than the picture a window grows as far as the screen.
    bigw=1920 bigh=1080
    resize 10000 10000
    check '[ "$(windowsize)" = 1920x1080 ] && alive' "the window resized to 10000x10000 on a 1920x1080 screen: $(windowsize)"
    closes TERM "after Alt+Enter"
fi
passed "display${2:+ ($2)}"
