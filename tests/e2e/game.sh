# Shared by the end-to-end scripts, run from the project's root with DISPLAY
# set: checks tallied, a scratch folder (dir), the game (game) run or started
# and closed, screenshots measured; pid and other are killed at the end.
set -u
pid="" other="" failures=0
here="$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")"
root="$(dirname "$(dirname "$here")")"
dir="$(readlink -f "$(mktemp -d)")"
trap 'kill -9 $pid 2>/dev/null; kill $other 2>/dev/null; rm -rf "$dir"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { if eval "$1"; then echo "ok: $2"; else fail "$2"; fi; }
alive() { [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
passed() { [ "$failures" = 0 ] && echo "all $1 checks passed" || { echo "$failures check(s) failed"; exit 1; }; }

# poll SECONDS CONDITION: true as soon as CONDITION holds, tried every 0.1 s;
# false once SECONDS have passed, however few tries a loaded machine made.
poll() {
    local deadline=$(($(now_ms) + $1 * 1000))
    until eval "$2"; do
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# run [VAR=VALUE...] OPTION...: the game run to its end in $cwd if set, with no
# display if $headless is set; sets code, out and err (stderr less ALSA's chatter).
run() {
    local vars=()
    while [[ "${1:-}" =~ ^[A-Z_]+= ]]; do vars+=("$1"); shift; done
    (cd "${cwd:-.}" && env -u KUURAKARPALO_DATA ${headless:+-u DISPLAY} "${vars[@]}" timeout -s KILL 120 "$game" "$@" \
        >"$dir/out" 2>"$dir/err")
    code=$?
    out="$(cat "$dir/out")"
    err="$(grep -v '^ALSA' "$dir/err")"
}

# expect CODE PATTERN [VAR=VALUE...] OPTION...: run, ending with exit code CODE
# and one stderr line matching the ERE PATTERN (no stderr if PATTERN is empty).
expect() {
    local want=$1 pattern=$2
    shift 2
    run "$@"
    check '[ "$code" = "$want" ] && if [ -z "$pattern" ]; then [ -z "$err" ]; else
           [ "$(wc -l <<<"$err")" = 1 ] && grep -qE -- "$pattern" <<<"$err"; fi' \
        "$* (exit $code, expected $want): ${err:-no stderr} (expected ${pattern:-none})"
}

# start OPTION...: the game started in $cwd if set, its window given the keyboard
# (with no window manager keys go to the focus); false if no window in 30 s.
start() {
    (cd "${cwd:-.}" && exec "$game" "$@" 2>"$dir/err") &
    pid=$!
    window=""
    poll 30 '! alive || { window=$(xdotool search --pid "$pid" --name "^Kuurakarpalo$" 2>/dev/null | head -n 1)
        [ -n "$window" ] && xdotool windowfocus "$window" 2>/dev/null; }' && alive
}

# caught SIGNAL: whether the game ($pid) has its own handler for SIGNAL yet.
caught() {
    local mask
    mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null) || return 1
    [ -n "$mask" ] && (( 16#$mask >> ($(kill -l "$1") - 1) & 1 ))
}

# Waits up to $1 seconds for the game to end; sets code to its exit code (or
# to "running", after killing it) and took to the milliseconds waited.
ended() {
    local begun=$(now_ms)
    poll "$1" '! alive'
    took=$(($(now_ms) - begun))
    if alive; then kill -9 "$pid"; wait "$pid" 2>/dev/null; code=running; else wait "$pid"; code=$?; fi
    pid=""
}

# closes WAY WHEN: WAY (Escape, "window" for the close button, or a signal)
# ends the game with exit code 0 within a frame and its clean-up, 2 s if busy.
closes() {
    case "$1" in
    Escape) xdotool key Escape ;;
    window) "${CLOSEWINDOWTOOL:?the closewindow helper}" "$window" ;;
    *) kill -"$1" "$pid" ;;
    esac
    ended 10
    check '[ "$code" = 0 ] && [ "$took" -le 2000 ]' "$1 $2 ends the game: exit code $code after $took ms"
}

# starts WHERE OPTION...: the game started in WHERE shows its window, ends at SIGTERM.
starts() {
    cwd="$1" start "${@:2}" || fail "the game started in $1 did not show its window: $(tail -n 2 "$dir/err")"
    alive && closes TERM "started in $1"
}

# Shows each line of both opening messages and closes them: they come some
# twenty frames in, a space shows one whole, another closes it.
opening() {
    sleep 2
    for _ in 1 2 3 4; do xdotool key space; sleep 0.3; done
}

# The picture of window $1 (or "root") into $dir/$2.ppm, measured by
# picture.py (in the part given after, if any) into shot.
shoot() {
    import -window "$1" -depth 8 "ppm:$dir/$2.ppm" 2>/dev/null &&
        shot=$(python3 "$here/picture.py" "$dir/$2.ppm" "${@:3}") || shot=none
}

# The files an installation holds, each a path under its prefix: the game,
# its data, what desktops, software centres and man read, the catalogs.
id=fi.kuurakarpalo.Kuurakarpalo
iconsizes="16 32 48 64 128 256"
gamefiles() {
    local data=share/games/kuurakarpalo n
    printf '%s\n' games/kuurakarpalo $data/kuurakarpalo.map share/applications/$id.desktop \
        share/metainfo/$id.metainfo.xml share/man/man6/kuurakarpalo.6
    sed "s|^|$data/|" "$root/dist/datafiles.txt"
    grep -v '^#' "$root/po/LINGUAS" | sed 's|.*|share/locale/&/LC_MESSAGES/kuurakarpalo.mo|'
    for n in $iconsizes; do echo "share/icons/hicolor/${n}x$n/apps/$id.png"; done
}
