# Shared by the end-to-end scripts that drive the real game: starting it and
# waiting for its window, waiting for its end, and screenshots measured.
# Source it with game (the game's path) and dir (a scratch folder) set.

pid=""
window=""
failures=0
here="$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")"

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { if eval "$1"; then echo "ok: $2"; else fail "$2"; fi; }
alive() { [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Starts the game with the given options, waits for its window and gives it
# the keyboard (without a window manager the keys go where the focus is
# set); false if no window came.
start() {
    "$game" "$@" 2>>"$dir/err" &
    pid=$!
    window=""
    for _ in $(seq 1 300); do
        window=$(xdotool search --pid "$pid" --name '^Kuurakarpalo$' 2>/dev/null | head -n 1)
        [ -n "$window" ] && xdotool windowfocus "$window" 2>/dev/null && return 0
        alive || return 1
        sleep 0.1
    done
    return 1
}

# Waits up to $1 seconds for the game to end; sets code to its exit code (or
# to "running", after killing it) and took to the milliseconds waited.
ended() {
    local begun
    begun=$(now_ms)
    while alive && [ $(($(now_ms) - begun)) -lt $(($1 * 1000)) ]; do sleep 0.02; done
    took=$(($(now_ms) - begun))
    if alive; then
        kill -9 "$pid"
        wait "$pid" 2>/dev/null
        code=running
    else
        wait "$pid"
        code=$?
    fi
    pid=""
}

# The picture of window $1 (or "root") into $dir/$2.ppm, measured by
# picture.py (in the part given after, if any) into shot: "WIDTH HEIGHT
# LEFT TOP RIGHT BOTTOM LIT".
shoot() {
    local target=$1 name=$2
    shift 2
    if import -window "$target" -depth 8 "ppm:$dir/$name.ppm" 2>/dev/null; then
        shot=$(python3 "$here/picture.py" "$dir/$name.ppm" "$@")
    else
        shot="none"
    fi
}

# Plays the recording $1 back unpaced; true if it matched to its end.
playsback() {
    timeout -s KILL 120 "$game" --play "$1" --fast --no-sound --window >/dev/null 2>>"$dir/err"
}

finish() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$dir"
}
trap finish EXIT
