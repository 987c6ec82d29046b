#!/usr/bin/env bash
# The manual page help2man made: every option --help gives, with the first
# words of its text, is in the page as man shows it.
game="${1:?usage: manual.sh game manual-page}"
page="${2:?usage: manual.sh game manual-page}"
source "$(dirname "$(readlink -f "$0")")/game.sh"
shown="$(MANWIDTH=200 man -E ascii -l "$page" 2>/dev/null | tr -s ' ')"
options="$("$game" --help | sed -n 's/^  \(--[a-z-]*\)\( [A-Z][A-Za-z]*\)\{0,1\}  *\([^ ].*\)/\1 \3/p')"
check '[ -n "$shown" ] && [ -n "$options" ]' "man shows the page, and --help gives options"
while read -r option first second third _; do
    # The option's name, with its argument if it has one, then its text.
    check 'grep -qF -- "$option" <<<"$shown" && grep -qF -- "$first $second $third" <<<"$shown"' \
        "$option and its text are in the manual page"
done <<<"$options"
passed "manual page"
