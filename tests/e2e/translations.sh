#!/usr/bin/env bash
# The translations kept up: the template po/kuurakarpalo.pot is what xgettext
# makes of the sources now (but for its date), and every translation named
# in po/LINGUAS translates each of its texts, none fuzzy, and compiles.
# Runs from the project's root: translations.sh -- XGETTEXT-COMMAND SOURCE...
set -u
[ "${1:-}" = "--" ] || { echo "usage: translations.sh -- xgettext-command source..."; exit 2; }
shift
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
failures=0
"$@" --output="$dir/made.pot" || { echo "FAIL: xgettext failed"; exit 1; }
undated() { grep -v '^"POT-Creation-Date: ' "$1"; }
if diff <(undated po/kuurakarpalo.pot) <(undated "$dir/made.pot") >"$dir/diff"; then
    echo "ok: po/kuurakarpalo.pot holds the texts marked in the sources"
else
    echo "FAIL: po/kuurakarpalo.pot is not what the sources make (cmake --build build --target pot):"
    cat "$dir/diff"
    failures=$((failures + 1))
fi
while read -r language; do
    case "$language" in "" | "#"*) continue ;; esac
    po="po/$language.po"
    stats="$(LC_ALL=C msgfmt --check --statistics --output-file=/dev/null "$po" 2>&1)"
    if msgcmp "$po" po/kuurakarpalo.pot 2>"$dir/cmp" && [[ "$stats" =~ ^[0-9]+\ translated\ messages?\.$ ]]; then
        echo "ok: $po translates every text: $stats"
    else
        echo "FAIL: $po does not translate every text of the template: $stats"
        cat "$dir/cmp"
        failures=$((failures + 1))
    fi
done <po/LINGUAS
[ "$failures" = 0 ]
