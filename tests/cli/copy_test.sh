#!/bin/sh
# vokari-cli copy on the demo games, in a private data folder.
set -eu
cli="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home/tmp"
fail() { echo "FAIL: $*"; exit 1; }
tab=$(printf '\t')

out=$("$cli" --demo copy --dry-run) || fail "dry run: $?"
printf "%s\n" "$out" | grep -q "^would copy${tab}AIRCRAFT\\\\P51D\\\\panel\\\\panel.cfg$" || fail "dry run: $out"
out=$("$cli" --demo copy --dry-run) || fail "second dry run: $?"
printf "%s\n" "$out" | grep -q "^would copy${tab}AIRCRAFT\\\\P51D$" || fail "dry run wrote: $out"

"$cli" --demo copy >/dev/null || fail "copy: $?"
out=$("$cli" --demo copy) || fail "second copy: $?"
printf "%s\n" "$out" | grep -q "^exists${tab}AIRCRAFT\\\\P51D\\\\aircraft.cfg$" || fail "second copy: $out"
printf "%s\n" "$out" | grep -q "^copied" && fail "second copy copied: $out"

cfs1=$(ls -d "$home"/data/vokari/demo/drive_c/*/*/"Combat Flight Simulator")
: > "$cfs1/Aircraft/P51D/bad:name"
rc=0
out=$("$cli" --demo copy) || rc=$?
[ $rc = 4 ] || fail "failure exit: $rc"
printf "%s\n" "$out" | grep -q "^failed${tab}AIRCRAFT\\\\P51D\\\\bad:name${tab}the name cannot" || fail "failure: $out"

mkdir -p "$home/empty"
rc=0
WINEPREFIX="$home/empty" "$cli" copy 2>/dev/null || rc=$?
[ $rc = 1 ] || fail "no games: $rc"
echo "cli copy: 1 passed, 0 failed"
