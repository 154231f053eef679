#!/bin/sh
# vokari-cli aircraft, run as a user would, on the demo games in a private data folder.
set -eu
cli="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home/tmp"
passed=0
fail() { echo "FAIL: $*"; echo "cli aircraft: $passed passed, 1 failed"; exit 1; }
ok() { passed=$((passed + 1)); }
tab=$(printf '\t')

"$cli" --demo games >/dev/null
game2="$XDG_DATA_HOME/vokari/demo/drive_c/Program Files/Microsoft Games/CFS2/Aircraft"
game1="$XDG_DATA_HOME/vokari/demo/drive_c/Program Files/Microsoft Games/Combat Flight Simulator/Aircraft"
[ -d "$game2" ] || fail "demo game 2 not at $game2"

# Listing: catalogue order, switched-off aircraft only with --all, alias columns.
out=$("$cli" --demo aircraft --game 2 list --all --aliases)
[ "$(echo "$out" | wc -l)" -eq 8 ] || fail "list --all: $out"
echo "$out" | grep -q "^ON${tab}DEF${tab}a6m2${tab}A6M2 Zero${tab}${tab}${tab}1${tab}1${tab}cfs2\$" ||
    fail "stock line: $out"
echo "$out" | grep -q "^ON${tab}-${tab}J2M3${tab}雷電 J2M3 (アドオン)${tab}${tab}${tab}0${tab}1${tab}j2m,cfs2\$" ||
    fail "gauges: $out"
echo "$out" | grep -q "^ON${tab}-${tab}Ki61${tab}.*${tab}${tab}a6m2${tab}1${tab}1${tab}\$" || fail "panel alias: $out"
echo "$out" | grep -q "^OFF${tab}-${tab}Spit9${tab}" || fail "switched off: $out"
[ "$("$cli" --demo aircraft --game 2 list | grep -c Spit9)" -eq 0 ] || fail "list without --all"
[ "$("$cli" --demo aircraft --game 2 list | head -1)" = "ON${tab}DEF${tab}a6m2${tab}A6M2 Zero" ] ||
    fail "list without --aliases"
ok

# Switching an add-on off and on again gives back the same file, with CR LF line ends.
before=$(od -An -c "$game2/J2M3/aircraft.cfg")
"$cli" --demo aircraft --game 2 disable J2M3 >/dev/null || fail "disable"
[ -f "$game2/J2M3/aircraft.cfg.rst" ] && [ ! -e "$game2/J2M3/aircraft.cfg" ] || fail "not switched off"
"$cli" --demo aircraft --game 2 list | grep -q J2M3 && fail "switched-off aircraft listed"
"$cli" --demo aircraft --game 2 enable j2m3 >/dev/null || fail "enable"
[ -f "$game2/J2M3/aircraft.cfg" ] && [ ! -e "$game2/J2M3/aircraft.cfg.rst" ] || fail "not switched on"
[ "$(od -An -c "$game2/J2M3/aircraft.cfg")" = "$before" ] || fail "aircraft.cfg changed by the round trip"
[ "$(tr -d '\r' <"$game2/J2M3/aircraft.cfg" | wc -c)" -lt "$(wc -c <"$game2/J2M3/aircraft.cfg")" ] ||
    fail "no CR LF line ends"
"$cli" --demo aircraft --game 2 enable Spit9 >/dev/null && [ -f "$game2/Spit9/aircraft.cfg" ] ||
    fail "switching on a switched-off aircraft"
ok

# Refusals change nothing and exit with 2.
set +e
"$cli" --demo aircraft --game 2 disable J2M3 Nonesuch 2>"$home/err"; status=$?
set -e
[ $status -eq 2 ] && grep -q Nonesuch "$home/err" || fail "unknown folder: $status $(cat "$home/err")"
[ -f "$game2/J2M3/aircraft.cfg" ] || fail "unknown folder changed J2M3"
set +e
"$cli" --demo aircraft --game 2 disable a6m2 2>/dev/null; status=$?
set -e
[ $status -eq 2 ] && [ -f "$game2/a6m2/aircraft.cfg" ] || fail "stock aircraft switched off"
"$cli" --demo aircraft --game 2 disable --permit-default a6m2 >/dev/null &&
    [ -f "$game2/a6m2/aircraft.cfg.rst" ] || fail "permitted stock switch"
"$cli" --demo aircraft --game 2 enable a6m2 >/dev/null

# One aircraft that cannot be switched (a file of the other name is in the way): the others
# are switched, it is named, exit 4.
cp "$game2/Ki61/aircraft.cfg" "$game2/Ki61/aircraft.cfg.rst"
echo "the player's own" >>"$game2/Ki61/aircraft.cfg.rst"
set +e
out=$("$cli" --demo aircraft --game 2 disable Ki61 Ki84)
status=$?
set -e
[ $status -eq 4 ] || fail "a failed switch: exit $status"
echo "$out" | grep -q "^failed	Ki61	" || fail "failed line: $out"
echo "$out" | grep -qx "OFF	Ki84" || fail "the other switched: $out"
grep -q "the player's own" "$game2/Ki61/aircraft.cfg.rst" || fail "the .rst was replaced"
rm "$game2/Ki61/aircraft.cfg.rst"
"$cli" --demo aircraft --game 2 enable Ki84 >/dev/null
set +e
"$cli" --demo aircraft --game 2 delete J2M3 a6m2 2>/dev/null; status=$?
set -e
[ $status -eq 2 ] && [ -d "$game2/J2M3" ] && [ -d "$game2/a6m2" ] || fail "stock aircraft deleted"
ok

# Aliases: a lender with its own panel, a receiver that has none of its own.
"$cli" --demo aircraft --game 2 alias --panel F4F4 Ki61 || fail "alias"
tr -d '\r' <"$game2/Ki61/panel/panel.cfg" | grep -qx 'alias=F4F4\\panel' || fail "alias not written"
tr -d '\r' <"$game2/Ki61/panel/panel.cfg.org" | grep -qx 'alias=a6m2\\panel' || fail "no backup"
"$cli" --demo aircraft --game 2 alias --panel D3A1 Ki61
tr -d '\r' <"$game2/Ki61/panel/panel.cfg.org" | grep -qx 'alias=a6m2\\panel' || fail "backup replaced"
set +e
"$cli" --demo aircraft --game 2 alias --panel Ki61 F4F4 2>/dev/null; status=$?
"$cli" --demo aircraft --game 2 alias --sound a6m2 J2M3 2>/dev/null; status2=$?
set -e
[ $status -eq 2 ] && [ $status2 -eq 2 ] || fail "aliases the window could not set: $status $status2"
[ ! -e "$game2/J2M3/sound" ] || fail "sound folder created"
# The first game's lear45 takes aliases though it has no aircraft file.
mkdir -p "$game1/lear45/sound"
"$cli" --demo aircraft --game 1 alias --sound P51D lear45 || fail "lear45"
tr -d '\r' <"$game1/lear45/sound/sound.cfg" | grep -qx 'alias=P51D\\sound' || fail "lear45 alias"
ok

# Deleting an add-on removes its folder.
"$cli" --demo aircraft --game 2 delete Spit9 || fail "delete"
[ ! -e "$game2/Spit9" ] || fail "Spit9 still there"
"$cli" --demo aircraft --game 2 list --all | grep -q Spit9 && fail "deleted aircraft listed"
"$cli" --demo aircraft --game 2 list nonsense 2>/dev/null && fail "bad argument accepted"
ok

# A title with a TAB and an escape sequence stays in its column and never reaches the terminal.
mkdir -p "$game2/Odd"
printf '[fltsim.0]\r\ntitle=A\tB\033[31mC\r\n' >"$game2/Odd/aircraft.cfg"
line=$("$cli" --demo aircraft --game 2 list | grep Odd)
[ "$line" = "ON${tab}-${tab}Odd${tab}A\\x09B\\x1B[31mC" ] || fail "control characters: $line"
ok

echo "cli aircraft: $passed passed, 0 failed"
