#!/bin/sh
# vokari-cli install on the demo games and the demo packages, in a private data folder.
set -eu
cli="$1"
packages="$(cd "$(dirname "$0")/../../demo/packages" && pwd)"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home/tmp"
game="$home/data/vokari/demo/drive_c/Program Files/Microsoft Games/CFS2"
passed=0
fail() { echo "FAIL: $*"; echo "cli install: $passed passed, 1 failed"; exit 1; }
ok() { passed=$((passed + 1)); }
tab=$(printf '\t')

# Placement only: nothing is written.
out=$("$cli" --demo install --game 2 --dry-run "$packages/a6m5_zero.zip")
echo "$out" | grep -qx "new${tab}A6M5/aircraft.cfg${tab}AIRCRAFT\\\\A6M5\\\\" || fail "dry run: $out"
echo "$out" | grep -qx "unplaced${tab}説明書.txt${tab}" || fail "unplaced entry: $out"
err=$("$cli" --demo install --game 2 --dry-run "$packages/a6m5_zero.zip" 2>&1 >/dev/null)
[ "$err" = "vokari-cli: the package is for game 2 or later" ] || fail "minimum version: $err"
[ ! -e "$game/Aircraft/A6M5" ] || fail "dry run wrote files"
ok

# Unpacking: the files land where the listing said.
"$cli" --demo install --game 2 "$packages/a6m5_zero.zip" >/dev/null || fail "install"
[ -f "$game/Aircraft/A6M5/MODEL/a6m5.mdl" ] && [ -f "$game/Gauges/a6m5.gau" ] || fail "files missing"
ok

# Existing files: stop before writing, unless told what to do; backups once.
before=$(cat "$game/Aircraft/Ki61/aircraft.cfg")
set +e
"$cli" --demo install --game 2 "$packages/ki61_update.zip" >/dev/null 2>&1
rc=$?
set -e
[ $rc -eq 3 ] || fail "overwrite question: exit $rc"
[ "$(cat "$game/Aircraft/Ki61/aircraft.cfg")" = "$before" ] || fail "written before asking"
out=$("$cli" --demo install --game 2 --no-overwrite "$packages/ki61_update.zip") || fail "no-overwrite"
echo "$out" | grep -q "^skip${tab}.*aircraft.cfg${tab}" || fail "skipped file: $out"
[ "$(cat "$game/Aircraft/Ki61/aircraft.cfg")" = "$before" ] || fail "no-overwrite replaced"
"$cli" --demo install --game 2 --overwrite "$packages/ki61_update.zip" >/dev/null || fail "overwrite"
[ "$(cat "$game/Aircraft/Ki61/aircraft.cfg.bak")" = "$before" ] || fail "backup"
"$cli" --demo install --game 2 --overwrite "$packages/ki61_update.zip" >/dev/null || fail "overwrite again"
[ "$(cat "$game/Aircraft/Ki61/aircraft.cfg.bak")" = "$before" ] || fail "backup replaced"
ok

# A package holding an LHA archive: --nested reads it too.
mkdir -p "$home/pkg"
(cd "$packages" && zip -q "$home/pkg/bundle.zip" rabaul_campaign.lzh)
out=$("$cli" --demo install --game 2 --dry-run "$home/pkg/bundle.zip")
echo "$out" | grep -qx "unplaced${tab}rabaul_campaign.lzh${tab}" || fail "nested archive row: $out"
echo "$out" | grep -q "rabaul.cmg" && fail "read nested without --nested"
out=$("$cli" --demo install --game 2 --nested "$home/pkg/bundle.zip")
echo "$out" | grep -qx "new${tab}rabaul/rabaul.cmg${tab}CAMPAIGNS\\\\" || fail "nested: $out"
[ -f "$game/CAMPAIGNS/rabaul.cmg" ] && [ -f "$game/PHOTOS/pilot.jpg" ] || fail "nested files"
ok

# A package that cannot be read fails (1), a name that is no package file is a bad value
# (2), each with a clear message; failed entries: listed and exit 4.
echo "text" > "$home/pkg/notes.txt"
echo "not a zip" > "$home/pkg/broken.zip"
for bad in notes.txt:1 broken.zip:1 missing.zip:2 .:2; do
    set +e
    err=$("$cli" --demo install --game 2 "$home/pkg/${bad%:*}" 2>&1 >/dev/null)
    rc=$?
    set -e
    [ $rc -eq "${bad#*:}" ] && [ -n "$err" ] || fail "$bad: exit $rc, '$err'"
done
printf 'good gauge' > "$home/pkg/good.gau"
printf 'spoilt one' > "$home/pkg/spoilt.gau"
(cd "$home/pkg" && zip -q -0 spoilt.zip good.gau spoilt.gau)
sed -i 's/spoilt one/SPOILT one/' "$home/pkg/spoilt.zip"
set +e
out=$("$cli" --demo install --game 2 --overwrite "$home/pkg/spoilt.zip")
rc=$?
set -e
[ $rc -eq 4 ] || fail "failed entry: exit $rc"
echo "$out" | grep -q "^failed${tab}spoilt.gau${tab}" || fail "failure line: $out"
[ -f "$game/Gauges/good.gau" ] && [ ! -e "$game/Gauges/spoilt.gau" ] || fail "partial result"
ok

# A package written by Python's zipfile (permission bits only in the mode) with control
# characters in a name: plain files, and one escaped line per entry.
cfs1="$home/data/vokari/demo/drive_c/Program Files/Microsoft Games/Combat Flight Simulator"
python3 - "$home/pkg/py.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("py.gau", "from python")
    z.writestr("bad\nname\x1b[31m.gau", "x")
PY
set +e
out=$("$cli" --demo install --game 1 "$home/pkg/py.zip" 2>&1)
rc=$?
set -e
[ $rc -eq 3 ] && [ ! -e "$cfs1/Gauges/py.gau" ] || fail "needs the second game: exit $rc, $out"
set +e
out=$("$cli" --demo install --game 2 "$home/pkg/py.zip")
rc=$?
set -e
[ $rc -eq 4 ] && [ "$(cat "$game/Gauges/py.gau")" = "from python" ] || fail "python zip: exit $rc"
[ "$(echo "$out" | wc -l)" -eq 3 ] || fail "lines: $out"
echo "$out" | grep -qxF "new${tab}bad\x0Aname\x1B[31m.gau${tab}GAUGES\\" || fail "escaped: $out"
"$cli" --demo install --game 1 --force-version "$home/pkg/py.zip" >/dev/null || [ $? -eq 4 ] ||
    fail "--force-version"
[ -f "$cfs1/Gauges/py.gau" ] || fail "--force-version wrote nothing"
ok

# Nested archives are read from copies in the work directory that do not outlive the command.
"$cli" --demo install --game 2 --nested --dry-run "$home/pkg/bundle.zip" >/dev/null
[ -z "$(ls -A "$home/tmp/vokaritmp" 2>/dev/null)" ] || fail "left: $(ls "$home/tmp/vokaritmp")"
ok

echo "cli install: $passed passed, 0 failed"
