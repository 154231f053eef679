#!/bin/bash
# Usage: catalogue_test.sh LUPDATE SOURCES_LST CATALOGUE
# Runs lupdate over the sources into a copy of the catalogue: the copy must come out as the
# catalogue stands, with every entry translated. Otherwise run
#   cmake --build build --target update_translations
# and translate what it marks unfinished.
set -euo pipefail
lupdate=$1 sources=$2 catalogue=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$catalogue" "$work/catalogue.ts"
"$lupdate" -silent -locations none -source-language ja "@$sources" \
    -ts "$work/catalogue.ts" 2>"$work/warnings"
status=0
if [ -s "$work/warnings" ]; then
    echo "lupdate warns (a text it cannot pick up is never translated):"
    cat "$work/warnings"
    status=1
fi
if grep -n -B2 -E 'type="(unfinished|vanished|obsolete)"|<translation></translation>' \
    "$work/catalogue.ts"; then
    echo "entries above are new, unfinished or no longer in the sources"
    status=1
fi
if ! diff -u "$catalogue" "$work/catalogue.ts"; then
    echo "the catalogue is not in step with the sources"
    status=1
fi
exit $status
