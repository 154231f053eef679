#!/bin/sh
# vokari-cli history and undo on the demo games: every demo package installed and taken back
# leaves the game folder as it was (names, bytes, dates); B over A, then B and A taken back, the
# same; a deleted aircraft comes back.
set -eu
cli="$1"
packages="$(cd "$(dirname "$0")/../../demo/packages" && pwd)"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home/tmp"
game="$home/data/vokari/demo/drive_c/Program Files/Microsoft Games/CFS2"
passed=0
fail() { echo "FAIL: $*"; echo "cli history: $passed passed, 1 failed"; exit 1; }
ok() { passed=$((passed + 1)); }
# Files with their bytes and dates; folders by name (their own dates do not count).
snapshot() { (cd "$game" && find . -type f -printf '%p %s %T@\n' -o -type d -printf '%p\n' | sort &&
    find . -type f -exec md5sum {} + | sort); }
last() { "$cli" --demo history --game 2 | tail -n 1 | cut -f2; }

"$cli" --demo --demo-reset games >/dev/null
before=$(snapshot)
for package in "$packages"/*; do
    "$cli" --demo install --game 2 --overwrite --nested --force-version "$package" >/dev/null ||
        fail "install $package"
    "$cli" --demo undo --game 2 "$(last)" >/dev/null || fail "undo $package"
    [ "$(snapshot)" = "$before" ] || fail "not as it was after $package"
done
ok

# B over A (the same package again): A cannot go first; B then A gives the folder back.
"$cli" --demo install --game 2 "$packages/a6m5_zero.zip" >/dev/null || fail "install A"
a=$(last)
"$cli" --demo install --game 2 --overwrite "$packages/a6m5_zero.zip" >/dev/null || fail "install B"
b=$(last)
set +e
err=$("$cli" --demo undo --game 2 "$a" 2>&1 >/dev/null)
rc=$?
set -e
[ $rc -eq 4 ] && echo "$err" | grep -q " $b" || fail "A before B: exit $rc: $err"
"$cli" --demo history --game 2 show "$b" | grep -q "^added" || fail "show B"
"$cli" --demo undo --game 2 "$b" >/dev/null && "$cli" --demo undo --game 2 "$a" >/dev/null ||
    fail "undo B, A"
[ "$(snapshot)" = "$before" ] || fail "not as it was after B, A"
ok

# A deleted aircraft comes back whole.
"$cli" --demo aircraft --game 2 delete Ki61 >/dev/null 2>&1 || fail "delete"
[ ! -e "$game/Aircraft/Ki61" ] || fail "not deleted"
"$cli" --demo undo --game 2 "$(last)" >/dev/null || fail "undo delete"
[ "$(snapshot)" = "$before" ] || fail "not as it was after the delete"
ok

# The store is freed on request.
"$cli" --demo history prune --game 2 --keep-days 0 >/dev/null || fail "prune"
[ -z "$("$cli" --demo history --game 2)" ] || fail "entries left after prune"
ok
echo "cli history: $passed passed"
