#!/usr/bin/env bash
# The manual page as help2man made it from the game's --help: every option
# --help gives, with the first words of its text, is in the page as man
# shows it.
# $1: the game; $2: the manual page.
set -u
game="${1:?usage: manual.sh game manual-page}"
page="${2:?usage: manual.sh game manual-page}"
shown="$(MANWIDTH=200 man -E ascii -l "$page" 2>/dev/null | tr -s ' ')"
[ -n "$shown" ] || { echo "FAIL: man shows nothing of $page"; exit 1; }
failures=0
options=0
while read -r option text; do
    options=$((options + 1))
    # The option's name, with its argument if it has one, then its text.
    read -r first second third _ <<<"$text"
    grep -qF -- "$option" <<<"$shown" || { echo "FAIL: $option is not in the manual page"; failures=$((failures + 1)); }
    grep -qF -- "$first $second $third" <<<"$shown" ||
        { echo "FAIL: the text of $option is not in the manual page"; failures=$((failures + 1)); }
done < <("$game" --help | sed -n 's/^  \(--[a-z-]*\)\( [A-Z][A-Za-z]*\)\{0,1\}  *\([^ ].*\)/\1 \3/p')
[ "$options" -gt 0 ] || { echo "FAIL: --help gives no option"; exit 1; }
[ "$failures" = 0 ] || exit 1
echo "all $options options of --help are in the manual page"
