#!/bin/sh
# vokari-cli config on the demo games, in a private data folder.
set -eu
cli="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home/tmp"
fail() { echo "FAIL: $*"; exit 1; }

"$cli" --demo config --game 2 >"$home/out"
games="$home/data/vokari/demo/drive_c/Program Files/Microsoft Games"
cfg1="$games/Combat Flight Simulator/COMBATFS.CFG"
cfg2="$games/CFS2/cfs2.cfg"
cp "$cfg2" "$home/cfs2.orig"

# Twelve lines in file order; the player's name is CP932 in the file, UTF-8 here.
[ "$(wc -l <"$home/out")" -eq 12 ] || fail "line count: $(cat "$home/out")"
[ "$(head -1 "$home/out")" = "$(printf 'MAIN\tShowLogo\t1')" ] || fail "first line"
grep -q "^MULTIPLAYER	SP_PLAYER_NAME	坂井 三郎\$" "$home/out" || fail "CP932 name"

# One key line changes in place, nothing else.
"$cli" --demo config --game 2 set main showmovie " 0 " || fail "set ShowMovie"
sed 's/^ShowMovie=1/ShowMovie=0/' "$home/cfs2.orig" | cmp -s - "$cfg2" || fail "ShowMovie line"

# An unknown setting: exit 2, a message, the file as it was.
cp "$cfg2" "$home/before"
status=0
"$cli" --demo config --game 2 set MAIN LANGUAGE English 2>"$home/err" || status=$?
[ "$status" -eq 2 ] || fail "unknown key exit $status"
grep -q "unknown setting: MAIN LANGUAGE" "$home/err" || fail "message: $(cat "$home/err")"
cmp -s "$home/before" "$cfg2" || fail "file changed by a refused set"

# Values a setting cannot hold: exit 2 naming what it takes, nothing written.
while IFS='|' read -r section key value takes; do
    status=0
    "$cli" --demo config --game 2 set "$section" "$key" "$value" 2>"$home/err" || status=$?
    [ "$status" -eq 2 ] || fail "$key=$value exit $status"
    grep -qF "$takes" "$home/err" || fail "$key=$value: $(cat "$home/err")"
done <<TABLE
MAIN|ShowLogo|banana|takes 0 or 1
MULTIPLAYER|STARTING_ALTITUDE|notanumber|takes a whole number from 0 up
MULTIPLAYER|SP_PLAYER_COLOR_INDEX|16|takes a whole number from 0 to 15
MULTIPLAYER|SP_PLAYER_NAME|$(printf 'caf\303\251 \342\234\210')|which cannot spell
TABLE
cmp -s "$home/before" "$cfg2" || fail "file changed by a refused value"
"$cli" --demo config --game 2 set MULTIPLAYER COLLISION_SECS 3.0 || fail "3.0 refused"
grep -q "^COLLISION_SECS=3" "$cfg2" || fail "3.0 not written as 3"

# A setting that was empty when loaded is written like any other.
printf '[MULTIPLAYER]\r\nSP_PLAYER_NAME=\r\n' >"$cfg1"
"$cli" --demo config --game 1 set MULTIPLAYER SP_PLAYER_NAME Ace 2>"$home/err" || fail "exit"
[ ! -s "$home/err" ] || fail "message: $(cat "$home/err")"
printf '[MULTIPLAYER]\r\nSP_PLAYER_NAME=Ace\r\n' | cmp -s - "$cfg1" || fail "empty one not written"

echo "cli config: 4 passed, 0 failed"
