#!/bin/sh
# Runs vokari-cli as a user would, on the demo games, in a private data folder.
set -eu
cli="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home/tmp"
fail() { echo "FAIL: $*"; exit 1; }

out=$("$cli" --demo games)
echo "$out" | grep -q '^1	C:\\Program Files\\Microsoft Games\\Combat Flight Simulator\\	/' || fail "game 1: $out"
echo "$out" | grep -q '^2	C:\\Program Files\\Microsoft Games\\CFS2\\	/' || fail "game 2: $out"

mkdir -p "$home/empty"
out=$(WINEPREFIX="$home/empty" "$cli" games)
[ "$out" = "$(printf '1\t\t\n2\t\t')" ] || fail "empty prefix: $out"

# A registered game whose folder is gone: named, and the commands fail with 1, not usage's 2.
"$cli" --demo games >/dev/null
cfs2=$("$cli" --demo games | sed -n 's/^2	[^	]*	//p')
mv "$cfs2" "$cfs2.away"
for cmd in games "aircraft --game 2 list" copy; do
    set +e
    err=$("$cli" --demo $cmd 2>&1 >/dev/null)
    code=$?
    set -e
    [ $code -eq 1 ] || fail "$cmd on a missing folder: exit $code"
    echo "$err" | grep -qF "folder is missing: $cfs2" || fail "$cmd: $err"
done
mv "$cfs2.away" "$cfs2"

"$cli" nonsense 2>/dev/null && fail "unknown command accepted"
echo "cli demo: 1 passed, 0 failed"
