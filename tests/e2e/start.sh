#!/usr/bin/env bash
# Starting, recording and ending the real game: played by xdotool, Escape
# swallowed by the opening message, then ending the game at once; its recording
# played unpaced, paced ignoring keys, and ended by Escape; bad recordings each
# refused with their own line; no audio device, and --no-sound.
game="$(readlink -f "${1:?usage: start.sh path-of-the-game}")"
source "$(dirname "$(readlink -f "$0")")/game.sh"

rec="$dir/game.rec"
began=$SECONDS
start --record "$rec" || { fail "the game did not start"; exit 1; }
sleep 2
check '[ "$(xdotool getwindowname "$window")" = Kuurakarpalo ]' "the caption is exactly Kuurakarpalo"
xdotool key Escape
sleep 0.5
check alive "Escape is ignored while the opening message is shown"
for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done
xdotool keydown Right; sleep 0.8; xdotool keyup Right
xdotool key space; sleep 0.3
xdotool keydown Down; sleep 0.4; xdotool keydown Left; sleep 0.4
xdotool keyup Down keyup Left
xdotool key space space; sleep 0.3
closes Escape "in play"
took=$((SECONDS - began))
frames=$(sed -n "s/^end \([0-9]*\) .*/\1/p" "$rec")
check '[ "${frames:-0}" -gt 40 ] && grep -q "^w [0-9]* ---R-" "$rec" && grep -q "^k S" "$rec" &&
       grep -q "^end [0-9]* player$" "$rec"' \
    "the recording holds $frames frames, the walk right, a space in a box and the player's end"

# Playback unpaced; paced, ended by Escape or run to its end ignoring keys.
expect 0 "" --play "$rec" --fast --window
start --play "$rec" --window || fail "the paced playback did not start"
sleep 1
xdotool key Left space Escape
closes Escape "in a paced playback"
start --play "$rec" --window || fail "the paced playback did not start"
sleep 3
xdotool key Left Up space 1 2 Down Right
ended $((took + 20))
check '[ "$code" = 0 ]' "the paced playback with other keys pressed ends with exit code $code"

# The recording spoilt by each command: its exit code and one line. Cut, noise,
# another map, a score changed, the walk turned left; a digest field missing on
# either side is left unchecked, which one line says; sharing none is refused.
expect 1 "cannot be opened" --play "$dir/none.rec" --fast --window
while IFS='|' read -r make want pattern; do
    eval "$make" <"$rec" >"$dir/case.rec"
    expect "$want" "$pattern" --play "$dir/case.rec" --fast --window
done <<'CASES'
head -c 2000|0|without an end: the game that made it did not finish
head -c 100000 /dev/urandom|1|recording
sed 's/^map .*/map 792032 0badf00d/'|1|another map
awk '/^c / && ++n == 2 { $3 = "000003e7" } { print }'|3|at frame [0-9]+ score is 0, recorded 999
sed '0,/^w \([0-9]*\) ---R-/s//w \1 --L--/'|3|no longer matches the game: at frame
awk '/^digest / { $3 = "" } /^c / { $4 = "" } { print }'|0|left unchecked: it lacks finalscore
awk '/^digest / { $0 = $0 " player.shoesize" } /^c / { $0 = $0 " 0000002a" } { print }'|0|no longer has player.shoesize
awk '/^digest / { for (i = 2; i <= NF; i++) $i = "old." $i } { print }'|1|shares no digest field
CASES

# No audio device: the start fails with one line naming --no-sound and leaves
# no window; --no-sound plays.
expect 1 "--no-sound" SDL_AUDIODRIVER=bogus
check '! xdotool search --name "^Kuurakarpalo$" >/dev/null 2>&1' "no window is left after the failed start"
SDL_AUDIODRIVER=bogus start --no-sound || fail "--no-sound does not start without an audio device"
sleep 1
check alive "--no-sound plays without an audio device"
passed start
