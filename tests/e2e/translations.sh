#!/usr/bin/env bash
# The template po/kuurakarpalo.pot is what xgettext makes of the sources (but
# its date); each translation in po/LINGUAS translates every text, none fuzzy, and compiles.
# Usage, from the project's root: translations.sh -- XGETTEXT-COMMAND SOURCE...
[ "${1:-}" = "--" ] || { echo "usage: translations.sh -- xgettext-command source..."; exit 2; }
shift
source "$(dirname "$(readlink -f "$0")")/game.sh"
"$@" --output="$dir/made.pot" || { fail "xgettext failed"; exit 1; }
undated() { grep -v '^"POT-Creation-Date: ' "$1"; }
check 'diff <(undated po/kuurakarpalo.pot) <(undated "$dir/made.pot")' \
    "po/kuurakarpalo.pot holds the texts marked in the sources (cmake --build build --target pot makes it)"
for language in $(grep -v '^#' po/LINGUAS); do
    stats="$(LC_ALL=C msgfmt --check --statistics --output-file=/dev/null "po/$language.po" 2>&1)"
    check 'msgcmp "po/$language.po" po/kuurakarpalo.pot && [[ "$stats" =~ ^[0-9]+\ translated\ messages?\.$ ]]' \
        "po/$language.po translates every text of the template: $stats"
done
passed translations
