#!/bin/sh
# vokari-cli config on the demo games, in a private data folder.
set -eu
cli="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home/tmp"
passed=0
fail() { echo "FAIL: $*"; exit 1; }
ok() { passed=$((passed + 1)); }

games="$home/data/vokari/demo/drive_c/Program Files/Microsoft Games"
"$cli" --demo config --game 2 >"$home/out2"
cfg2="$games/CFS2/cfs2.cfg"
cfg1="$games/Combat Flight Simulator/COMBATFS.CFG"
cp "$cfg2" "$home/cfs2.orig"
cp "$cfg1" "$home/cfs1.orig"

# Twelve lines in file order, values as the game's file holds them.
[ "$(wc -l <"$home/out2")" -eq 12 ] || fail "line count: $(cat "$home/out2")"
[ "$(head -1 "$home/out2")" = "$(printf 'MAIN\tShowLogo\t1')" ] || fail "first line"
[ "$(tail -1 "$home/out2")" = "$(printf 'CONTROLS\tPAN_RATE\t400')" ] || fail "last line"
grep -q "^MULTIPLAYER	SP_PLAYER_NAME	坂井 三郎\$" "$home/out2" || fail "CP932 name"
ok

# Game 1 has no [MULTIPLAYER]: defaults; a change adds the section and nothing else moves.
"$cli" --demo config --game 1 | grep -q "^MULTIPLAYER	SP_PLAYER_NAME	Unknown Soldier\$" ||
    fail "default name"
"$cli" --demo config --game 1 set multiplayer sp_player_name "  Ace  " || fail "set name"
printf '[MULTIPLAYER]\r\nSP_PLAYER_NAME=Ace\r\n' >"$home/added"
cat "$home/cfs1.orig" "$home/added" | cmp -s - "$cfg1" || fail "game 1 file after set"
cmp -s "$home/cfs2.orig" "$cfg2" || fail "game 2 file touched"
ok

# One key line changes in place.
"$cli" --demo config --game 2 set MAIN ShowMovie 0 || fail "set ShowMovie"
sed 's/^ShowMovie=1/ShowMovie=0/' "$home/cfs2.orig" | cmp -s - "$cfg2" || fail "ShowMovie line"
"$cli" --demo config --game 2 | grep -q "^MAIN	ShowMovie	0\$" || fail "ShowMovie read back"
ok

# Unknown settings and line breaks are refused with exit 2; the file stays as it was.
cp "$cfg2" "$home/cfs2.before"
if "$cli" --demo config --game 2 set MAIN LANGUAGE English 2>"$home/err"; then
    fail "unknown key accepted"
else
    [ $? -eq 2 ] || fail "unknown key exit code"
fi
grep -q "unknown setting: MAIN LANGUAGE" "$home/err" || fail "message: $(cat "$home/err")"
"$cli" --demo config --game 2 set MULTIPLAYER SP_PLAYER_NAME "$(printf 'A\n[MAIN]')" \
    2>/dev/null && fail "line break accepted"
cmp -s "$home/cfs2.before" "$cfg2" || fail "file changed by a refused set"
ok

# A setting that was empty when loaded is not written, and the user is told.
printf '[MULTIPLAYER]\r\nSP_PLAYER_NAME=\r\n' >"$cfg1"
"$cli" --demo config --game 1 set MULTIPLAYER SP_PLAYER_NAME Ace 2>"$home/err" || fail "exit"
grep -q "was empty" "$home/err" || fail "no notice: $(cat "$home/err")"
[ "$(cat "$cfg1")" = "$(printf '[MULTIPLAYER]\r\nSP_PLAYER_NAME=\r')" ] || fail "empty written"
ok

echo "cli config: $passed passed, 0 failed"
