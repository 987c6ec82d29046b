#!/usr/bin/env bash
# The language chosen in a bare environment, as on a machine that has
# generated no locale at all: the environment's variables alone decide, by
# name. The unit test Language.TheEnvironmentAsItStands is run under each
# environment with the language it must choose; then the real game with a
# language it has no texts in, asked for and in the environment; and the
# English golden recording, which plays in its own language.
# $1: the unit tests; $2: the game. Runs from the project's root with DISPLAY set.
set -u
tests="${1:?usage: language.sh unit-tests game}"
game="${2:?usage: language.sh unit-tests game}"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
bare() { env -i DISPLAY="$DISPLAY" ${XAUTHORITY:+XAUTHORITY="$XAUTHORITY"} SDL_AUDIODRIVER=dummy \
    XDG_CONFIG_HOME="${XDG_CONFIG_HOME:-/nonexistent}" "$@"; }

# The environment, and the language it gives ("" for Finnish).
while IFS='|' read -r environment expected; do
    # shellcheck disable=SC2086
    if bare $environment KUURAKARPALO_EXPECTED_LANGUAGE="$expected" "$tests" \
        --gtest_filter=Language.TheEnvironmentAsItStands >/dev/null 2>&1; then
        echo "ok: ${environment:-nothing set} gives ${expected:-Finnish}"
    else
        fail "${environment:-nothing set} does not give ${expected:-Finnish}"
    fi
done <<'CASES'
LANG=en_US.UTF-8|en
LANGUAGE=en|en
LC_ALL=en_GB.UTF-8 LANG=fi_FI.UTF-8|en
LC_MESSAGES=en_AU LANG=fi_FI.UTF-8|en
LANGUAGE=fi:en LANG=en_US.UTF-8|
LANG=C LANGUAGE=en|
LANG=POSIX|
LANG=C.UTF-8|
LANG=fi_FI.UTF-8|
LANG=xx_YY.UTF-8|
|
CASES

# A language the game lacks: Finnish, with one warning if the player asked
# for it and none if the environment did; the game plays on.
err="$(mktemp)"
trap 'rm -f "$err"' EXIT
for run in "--language xx" "LANG=xx_YY.UTF-8" "LANGUAGE=en"; do
    case "$run" in --*) option="$run" environment="" ;; *) option="" environment="$run" ;; esac
    # shellcheck disable=SC2086
    bare $environment "$game" --window --no-sound $option --play tests/golden/messages.rec --fast 2>"$err"
    code=$?
    lines=$(wc -l <"$err")
    want=0
    [ -n "$option" ] && want=1
    if [ "$code" = 0 ] && [ "$lines" = "$want" ]; then
        echo "ok: $run plays the Finnish recording with $lines warning lines"
    else
        fail "$run: exit $code, $lines lines on stderr: $(cat "$err")"
    fi
done
# The English golden recording plays in English whatever the environment
# asks for, and its game is not the Finnish one.
bare LANG=fi_FI.UTF-8 "$game" --window --no-sound --play tests/golden/english.rec --fast 2>"$err" ||
    fail "the English recording does not play back under LANG=fi_FI.UTF-8: $(cat "$err")"
grep -v '^language ' tests/golden/english.rec >"$err.rec"
bare "$game" --window --no-sound --play "$err.rec" --fast 2>"$err"
code=$?
rm -f "$err.rec"
if [ "$code" = 3 ]; then
    echo "ok: the English recording, made Finnish, no longer matches the game"
else
    fail "the English recording without its language gives exit $code, not 3"
fi
[ "$failures" = 0 ]
