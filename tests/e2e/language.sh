#!/usr/bin/env bash
# The language chosen in a bare environment with no locale generated: the
# variables alone decide, by name. Language.TheEnvironmentAsItStands is run
# under each with the language it must choose; then the real game.
tests="${1:?usage: language.sh unit-tests game}"
game="${2:?usage: language.sh unit-tests game}"
source "$(dirname "$(readlink -f "$0")")/game.sh"
# The words of env for a bare environment, with the display and no sound.
bare=(-i DISPLAY="$DISPLAY" ${XAUTHORITY:+XAUTHORITY="$XAUTHORITY"} SDL_AUDIODRIVER=dummy
    XDG_CONFIG_HOME="${XDG_CONFIG_HOME:-/nonexistent}")

# The environment, and the language it gives ("" for Finnish).
while IFS='|' read -r environment expected; do
    # shellcheck disable=SC2086
    check 'env "${bare[@]}" $environment KUURAKARPALO_EXPECTED_LANGUAGE="$expected" "$tests" \
        --gtest_filter=Language.TheEnvironmentAsItStands >/dev/null 2>&1' \
        "${environment:-nothing set} gives ${expected:-Finnish}"
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

# The game in the bare environment: settings and options, exit code, pattern of
# its one stderr line. A language the game lacks gives Finnish, warned of only if
# asked for; english.rec plays in English whatever the environment, and without its
# language line is not the Finnish game.
grep -v '^language ' tests/golden/english.rec >"$dir/unnamed.rec"
while IFS='|' read -r settings want pattern; do
    # shellcheck disable=SC2086
    game=env expect "$want" "$pattern" "${bare[@]}" $settings --window --no-sound --fast
done <<CASES
$game --language xx --play tests/golden/messages.rec|0|the game has no texts in the language xx
LANG=xx_YY.UTF-8 $game --play tests/golden/messages.rec|0|
LANGUAGE=en $game --play tests/golden/messages.rec|0|
LANG=fi_FI.UTF-8 $game --play tests/golden/english.rec|0|
$game --play $dir/unnamed.rec|3|no longer matches the game
CASES
passed language
