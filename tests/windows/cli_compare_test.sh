#!/bin/bash
# vokari-cli.exe under Wine says what the Linux build says on the same game folders. Both games
# are copied from the demo into the Wine prefix's drive C: and registered as their installers
# would (32-bit view); the Linux build reads the same prefix's system.reg.
# Usage: cli_compare_test.sh LINUX_CLI WINDOWS_CLI WORK_FOLDER   (WINEPREFIX: made for the run)
set -euo pipefail
linux=$1
windows=$2
work=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
wine=${WINE:-/usr/lib/wine/wine64}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=-all
rm -rf "$work"
mkdir -p "$work"

XDG_DATA_HOME=$work/data "$linux" --demo-reset games > /dev/null
cp -a "$work/data/vokari/demo/drive_c/Program Files/Microsoft Games" \
    "$WINEPREFIX/drive_c/Program Files/"
key='HKLM\Software\Microsoft\Microsoft Games\Combat Flight Simulator'
games='C:\Program Files\Microsoft Games'
$wine reg add "$key\\1.00" /v InstalledTo /d "$games\\Combat Flight Simulator" /f /reg:32 > /dev/null
$wine reg add "$key\\2.0" /v InstalledTo /d "$games\\CFS2" /f /reg:32 > /dev/null
# The registry reaches system.reg, which the Linux build reads, only when the server ends.
$wineserver -w

zip=$root/demo/packages/a6m5_zero.zip
lzh=$root/demo/packages/rabaul_campaign.lzh
failures=0
# compare NAME ARGS...: both programs' output and exit status, after what must differ: the
# host-folder column of `games`, line ends, and package paths given in each system's form.
compare() {
    local name=$1
    shift
    local a=$work/$name.linux b=$work/$name.windows sa=0 sb=0
    local linux_args=() windows_args=()
    for arg in "$@"; do
        case $arg in
        /*)
            linux_args+=("$arg")
            windows_args+=("$($wine winepath -w "$arg" 2> /dev/null | tr -d '\r')")
            ;;
        *)
            linux_args+=("$arg")
            windows_args+=("$arg")
            ;;
        esac
    done
    XDG_DATA_HOME=$work/data "$linux" --prefix "$WINEPREFIX" "${linux_args[@]}" > "$a" 2>&1 || sa=$?
    $wine "$windows" "${windows_args[@]}" > "$b" 2>&1 || sb=$?
    for f in "$a" "$b"; do
        tr -d '\r' < "$f" > "$f.norm"
    done
    if [ "$name" = games ]; then
        for f in "$a" "$b"; do
            cut -f1,2 "$f.norm" > "$f.cut" && mv "$f.cut" "$f.norm"
        done
    fi
    if [ $sa != $sb ] || ! diff -u "$a.norm" "$b.norm" > "$work/$name.diff"; then
        echo "differs: $* (exit $sa on Linux, $sb on Windows)"
        head -20 "$work/$name.diff"
        failures=$((failures + 1))
    else
        echo "same: $* ($(wc -l < "$a.norm") lines)"
    fi
}

compare games games
compare aircraft aircraft --game 2 list
compare qc qc --game 2 show
compare install-zip install --game 2 --dry-run "$zip"
compare install-lzh install --game 1 --dry-run "$lzh"
compare copy copy --dry-run
[ $failures = 0 ]
