#!/bin/bash
# Kills a program that writes game files over and over (SIGKILL at a random moment), ROUNDS
# times per mode. After each kill every file under its real name is whole (the old or the new
# version, or absent when it was new), and the next write succeeds and removes the temporary
# files the killed one left.
# Usage: kill_loop.sh SAVE_LOOP [ROUNDS] [MODE...]   (modes: profile qc switch install copy undo)
# In mode undo a package is installed and taken back; after a kill, taking back what the
# history recorded must give the game folder back as it was.
set -euo pipefail
save_loop="$1"
rounds=${2:-100}
modes=(profile qc switch install copy undo)
[ $# -le 2 ] || modes=("${@:3}")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
now_ms() { echo $(($(date +%s%N) / 1000000)); }
for mode in "${modes[@]}"; do
    folder="$dir/$mode"
    mkdir -p "$folder"
    "$save_loop" "$folder" "$mode" init
    "$save_loop" "$folder" "$mode" after
    # The kill lands anywhere in a write or between two: within the time one write takes.
    began=$(now_ms)
    "$save_loop" "$folder" "$mode" after
    window=$(($(now_ms) - began))
    [ "$window" -ge 40 ] || window=40
    left=0
    for ((i = 1; i <= rounds; i++)); do
        "$save_loop" "$folder" "$mode" run &
        pid=$!
        delay=$(((RANDOM * 32768 + RANDOM) % window + 1))
        sleep "$((delay / 1000)).$(printf '%03d' $((delay % 1000)))"
        kill -9 $pid 2>/dev/null || true
        wait $pid 2>/dev/null || true
        if find "$folder" -name '.vokari-*' | grep -q .; then
            left=$((left + 1))
        fi
        if ! "$save_loop" "$folder" "$mode" after; then
            echo "FAIL: $mode: round $i (kill after $delay ms)"
            exit 1
        fi
    done
    echo "$mode: $rounds kills within $window ms; every file whole after each; $left kills left" \
        "temporary files, all removed by the next write ($((($(now_ms) - began) / 1000)) s)"
done
