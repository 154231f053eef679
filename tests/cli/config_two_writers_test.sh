#!/bin/sh
# Two vokari-cli processes set different settings of the same game at the same moment, 40
# times: each waits for the other's lock, so both exit 0 and both values are in the file.
set -eu
cli="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home/tmp"
fail() { echo "FAIL: $*"; exit 1; }

"$cli" --demo config --game 2 >/dev/null # the demo games, built once
for i in $(seq 40); do
    rate=$((400 + i)) altitude=$((1000 + i))
    "$cli" --demo config --game 2 set CONTROLS PAN_RATE $rate 2>"$home/err1" &
    first=$!
    "$cli" --demo config --game 2 set MULTIPLAYER STARTING_ALTITUDE $altitude 2>"$home/err2" &
    second=$!
    status1=0 status2=0
    wait $first || status1=$?
    wait $second || status2=$?
    [ $status1 -eq 0 ] && [ $status2 -eq 0 ] ||
        fail "round $i: exits $status1 and $status2: $(cat "$home/err1" "$home/err2")"
    "$cli" --demo config --game 2 >"$home/out"
    grep -q "^CONTROLS	PAN_RATE	$rate\$" "$home/out" || fail "round $i: PAN_RATE lost"
    grep -q "^MULTIPLAYER	STARTING_ALTITUDE	$altitude\$" "$home/out" ||
        fail "round $i: STARTING_ALTITUDE lost"
done

echo "cli config: 40 rounds of two writers at once, both values kept each time"
