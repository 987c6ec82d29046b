# Shared by every end-to-end script: the tally of checks, a scratch folder,
# the game run to its end with its exit code and stderr checked, or started
# with its window found, and closed; screenshots measured. Source it with
# game set to the game's path; it sets dir (the scratch folder), here
# (tests/e2e) and root (the project).
set -u
pid=""
window=""
failures=0
here="$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")"
root="$(dirname "$(dirname "$here")")"
dir="$(readlink -f "$(mktemp -d)")"
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$dir"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { if eval "$1"; then echo "ok: $2"; else fail "$2"; fi; }
alive() { [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
passed() { [ "$failures" = 0 ] && echo "all $1 checks passed" || { echo "$failures check(s) failed"; exit 1; }; }

# run [VAR=VALUE...] OPTION...: runs the game to its end in the folder cwd
# names (the current one unless set), with no display when headless is set,
# the leading VAR=VALUE words in its environment. Sets code, and err to its
# stderr without ALSA's chatter.
run() {
    local vars=()
    while [[ "${1:-}" =~ ^[A-Z_]+= ]]; do vars+=("$1"); shift; done
    (cd "${cwd:-.}" && env -u KUURAKARPALO_DATA ${headless:+-u DISPLAY} "${vars[@]}" timeout -s KILL 120 "$game" "$@" \
        >"$dir/out" 2>"$dir/err")
    code=$?
    err="$(grep -v '^ALSA' "$dir/err")"
}

# expect CODE PATTERN [VAR=VALUE...] OPTION...: run, which must end with exit
# code CODE and one line on stderr matching the extended regular expression
# PATTERN, or nothing on stderr when PATTERN is empty.
expect() {
    local want=$1 pattern=$2
    shift 2
    run "$@"
    check '[ "$code" = "$want" ] && if [ -z "$pattern" ]; then [ -z "$err" ]; else
           [ "$(wc -l <<<"$err")" = 1 ] && grep -qE -- "$pattern" <<<"$err"; fi' \
        "$* (exit $code, expected $want): ${err:-no stderr} (expected ${pattern:-none})"
}

# Starts the game with the given options, in the folder cwd names if set,
# waits for its window and gives it the keyboard (without a window manager
# the keys go where the focus is set); false if no window came.
start() {
    (cd "${cwd:-.}" && exec "$game" "$@" 2>"$dir/err") &
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
    if alive; then kill -9 "$pid"; wait "$pid" 2>/dev/null; code=running; else wait "$pid"; code=$?; fi
    pid=""
}

# closes WAY WHEN: closes the game by WAY (Escape, "window" for the close
# button as a window manager sends it, or a signal's name); it must end with
# exit code 0 within one frame and its clean-up, 2 s on a busy machine.
closes() {
    case "$1" in
    Escape) xdotool key Escape ;;
    window) "${CLOSEWINDOWTOOL:?the closewindow helper}" "$window" ;;
    *) kill -"$1" "$pid" ;;
    esac
    ended 10
    check '[ "$code" = 0 ] && [ "$took" -le 2000 ]' "$1 $2 ends the game: exit code $code after $took ms"
}

# starts WHERE OPTION...: the game started in the folder WHERE shows its
# window, and ends at SIGTERM.
starts() {
    local cwd="$1"
    shift
    start "$@" || fail "the game started in $cwd did not show its window: $(tail -n 2 "$dir/err")"
    alive && closes TERM "started in $cwd"
}

# Shows each line of both opening messages and closes them: they come some
# twenty frames in, a space shows one whole, another closes it.
opening() {
    sleep 2
    for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done
}

# The picture of window $1 (or "root") into $dir/$2.ppm, measured by
# picture.py (in the part given after, if any) into shot: "WIDTH HEIGHT
# LEFT TOP RIGHT BOTTOM LIT MEAN".
shoot() {
    local target=$1 name=$2
    shift 2
    import -window "$target" -depth 8 "ppm:$dir/$name.ppm" 2>/dev/null &&
        shot=$(python3 "$here/picture.py" "$dir/$name.ppm" "$@") || shot=none
}

# Plays the recording $1 back unpaced; true if it matched to its end.
playsback() {
    timeout -s KILL 120 "$game" --play "$1" --fast --no-sound --window >/dev/null 2>>"$dir/err"
}
