#!/bin/sh
# The quick-combat file from the command line, on the demo games and on loose files.
set -eu
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home/tmp"
passed=0
fail() { echo "FAIL: $*"; exit 1; }
ok() { passed=$((passed + 1)); }

# show: groups, their entries, defaults and strings, as read
out=$("$cli" --demo qc --game 2 show)
echo "$out" | grep -q "^group	1	%VokariGrpOption00001%	日本海軍$" || fail "group 1: $out"
echo "$out" | grep -q "^plane	D3A1	2	%D3A1Name%	九九式艦上爆撃機$" || fail "D3A1: $out"
echo "$out" | grep -q "^group	2	%VokariGrpOption00002%	アメリカ軍$" || fail "group 2: $out"
echo "$out" | grep -q "^default	A6M2 Zero	500	60$" || fail "defaults: $out"
echo "$out" | grep -q "^string	P38FName	ライトニング$" || fail "strings: $out"
[ "$(echo "$out" | grep -c '^plane')" = 4 ] || fail "entries: $out"
ok

# normalize until the file is normal: then it says so and leaves the file alone; the backup is
# the original
qc="$XDG_DATA_HOME/vokari/demo/drive_c/Program Files/Microsoft Games/CFS2/QuickCom/qc_plane.qcb"
cp "$qc" "$home/original"
"$cli" --demo qc --game 2 normalize >/dev/null
"$cli" --demo qc --game 2 normalize >/dev/null
cp "$qc" "$home/normal"
before=$(stat -c '%i %y' "$qc")
said=$("$cli" --demo qc --game 2 normalize)
[ "$said" = "already normal	C:\Program Files\Microsoft Games\CFS2\QuickCom\qc_plane.qcb" ] ||
    fail "normal file: $said"
[ "$(stat -c '%i %y' "$qc")" = "$before" ] || fail "a normal file was written again"
cmp -s "$qc.bak" "$home/original" || fail "backup is not the original"
[ "$("$cli" --demo qc --game 2 show)" = "$out" ] || fail "normalize changed the document"
ok

# --file: any path, relative ones too
printf '[option.0]\r\nOptionName=Literal\r\naircraft.0=X\r\nname.0=Ex\r\n' >"$home/loose.qcb"
out=$(cd "$home" && "$cli" qc --file loose.qcb show)
[ "$out" = "$(printf 'group\t1\tLiteral\tLiteral\nplane\tX\t1\t%%XName%%\tEx\ndefault\t\t0\t0\nstring\tXName\tEx')" ] ||
    fail "--file show: $out"
said=$("$cli" qc --file "$home/loose.qcb" normalize)
grep -q '^name.0=%XName%' "$home/loose.qcb" || fail "--file normalize"
[ -f "$home/loose.qcb.bak" ] || fail "--file backup"
# what changed: a count, then the first changed lines with their numbers, old (-) and new (+)
echo "$said" | head -1 | grep -q "^normalized	$home/loose.qcb	12 lines differ: 1 taken out, 11 put in$" ||
    fail "normalize summary: $said"
echo "$said" | grep -q "^-	4	name.0=Ex$" || fail "normalize: line taken out: $said"
echo "$said" | grep -q "^+	6	name.0=%XName%$" || fail "normalize: line put in: $said"
[ "$(echo "$said" | tail -1)" = "...	2 more" ] || fail "normalize: the rest: $said"
ok

# unreadable files: exit 2 with the reader's message, nothing written
printf '[option.0]\r\nOptionName=G\r\naircraft.0=X\r\nfamily_type.0=fighter\r\n' >"$home/bad.qcb"
cp "$home/bad.qcb" "$home/bad.orig"
set +e
err=$("$cli" qc --file "$home/bad.qcb" normalize 2>&1)
rc=$?
set -e
[ $rc = 1 ] || fail "bad file: exit $rc"
echo "$err" | grep -q "bad.qcb, line 4: family_type" || fail "bad file message: $err"
cmp -s "$home/bad.qcb" "$home/bad.orig" || fail "bad file was written"
[ ! -e "$home/bad.qcb.bak" ] || fail "bad file got a backup"
# Any other file is refused and left alone.
printf 'just some notes\r\n' >"$home/notes.txt"
for action in show normalize; do
    set +e
    err=$("$cli" qc --file "$home/notes.txt" $action 2>&1 >/dev/null)
    rc=$?
    set -e
    [ $rc = 1 ] || fail "notes.txt $action: exit $rc"
    echo "$err" | grep -q "is no quick-combat file" || fail "notes.txt message: $err"
done
[ "$(cat "$home/notes.txt")" = "$(printf 'just some notes\r')" ] || fail "notes.txt was written"
set +e
err=$("$cli" qc --file "$home/missing.qcb" show 2>&1)
rc=$?
set -e
[ $rc = 2 ] || fail "missing file: exit $rc"
echo "$err" | grep -q "missing.qcb" || fail "missing file message: $err"
ok

# usage
"$cli" --demo qc --game 2 2>/dev/null && fail "no action accepted"
"$cli" --demo qc --game 2 edit 2>/dev/null && fail "unknown action accepted"
"$cli" --demo qc show 2>/dev/null && fail "no game accepted"
ok

echo "cli qc: $passed passed, 0 failed"
