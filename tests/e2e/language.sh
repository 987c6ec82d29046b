#!/usr/bin/env bash
# The language chosen in a bare environment, as on a machine that has
# generated no locale at all: the environment's variables alone decide, by
# name. The unit test Language.TheEnvironmentAsItStands is run under each
# environment with the language it must choose; then the real game.
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

# The game, run by env in the bare environment: the settings and options, the
# exit code and the pattern of its one line on stderr (none if empty). A
# language the game lacks gives Finnish, with a warning only if the player
# asked for it. The English golden recording plays in English whatever the
# environment asks for; without its language line it is not the Finnish game.
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
