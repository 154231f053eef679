#!/bin/bash
# Kills a program that saves a game file over and over (SIGKILL at a random moment), ROUNDS
# times per writer, and checks after each kill that the file is the old or the new version,
# whole. Usage: kill_loop.sh SAVE_LOOP [ROUNDS]   (the test run uses a few hundred rounds)
set -euo pipefail
save_loop="$1"
rounds=${2:-200}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
for mode in profile qc; do
    folder="$dir/$mode"
    mkdir -p "$folder"
    "$save_loop" "$folder" $mode init
    for ((i = 1; i <= rounds; i++)); do
        "$save_loop" "$folder" $mode run &
        pid=$!
        # 1 to 40 ms: the kill lands anywhere in a save, or between saves.
        sleep "0.0$(printf '%02d' $((RANDOM % 40 + 1)))"
        kill -9 $pid 2>/dev/null || true
        wait $pid 2>/dev/null || true
        if ! "$save_loop" "$folder" $mode check; then
            echo "FAIL: $mode: round $i left a broken file"
            exit 1
        fi
    done
    echo "$mode: $rounds kills, the file was whole after each"
done
