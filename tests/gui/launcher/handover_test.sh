#!/bin/sh
# A second start with a package hands it to the copy that runs, and ends at once.
set -eu
vokari="$1"
package="$2"
home=$(mktemp -d)
first=""
trap '[ -n "$first" ] && kill $first 2>/dev/null; rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
export XDG_RUNTIME_DIR="$home/run" XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" \
    TEMP="$home/tmp" QT_QPA_PLATFORM=offscreen HOME="$home"
fail() { echo "FAIL: $*"; exit 1; }

"$vokari" --demo >"$home/first.log" 2>&1 &
first=$!
for _ in $(seq 100); do
    [ -S "$home/run/vokari-$(id -u).socket" ] && break
    sleep 0.1
done
[ -S "$home/run/vokari-$(id -u).socket" ] || fail "the first copy does not listen"

timeout 20 "$vokari" --demo --open install "$package" >"$home/second.log" 2>&1 ||
    fail "the second start did not hand the package over: $(cat "$home/second.log")"
kill -0 $first || fail "the first copy ended"
echo "hand-over: passed"
