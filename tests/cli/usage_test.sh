#!/bin/sh
# The command line's own contract: --help everywhere, "--", and the exit codes.
set -eu
cli="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home/tmp"
fail() { echo "FAIL: $*"; exit 1; }
pkgs=$(cd "$(dirname "$0")/../../demo/packages" && pwd)
# The synopses of the manual page's COMMANDS, as text.
man=$(sed -n 's/^\.B "\(.*\)"$/\1/p' "$(dirname "$0")/../../packaging/vokari-cli.1" | sed 's/\\-/-/g')

# Exit code of a command, its output thrown away.
code() {
    set +e
    "$cli" "$@" >/dev/null 2>&1
    echo $?
    set -e
}

# Every command answers --help on standard output with its usage, exit 0; the list of
# commands fits in 80 columns.
top=$("$cli" --help)
for cmd in aircraft config copy games history install prefixes qc undo; do
    out=$("$cli" "$cmd" --help) || fail "$cmd --help exits non-zero"
    echo "$out" | head -1 | grep -q "^usage: vokari-cli .*$cmd" || fail "$cmd --help: $out"
    echo "$top" | grep -q "^  $cmd  " || fail "$cmd missing from --help"
    synopsis=$(echo "$out" | head -1 | sed 's/^usage: vokari-cli \[--demo | --prefix PATH\] //')
    echo "$man" | grep -qxF "$synopsis" || fail "the manual page lacks: $synopsis"
done
"$cli" aircraft --help | grep -q "disable \[--permit-default\]" || fail "aircraft actions"
echo "$top" | awk 'length > 79 { exit 1 }' || fail "--help wider than 80 columns"

# One table: arguments and the exit code they must give.
while IFS='|' read -r want args; do
    # shellcheck disable=SC2086
    got=$(code $args)
    [ "$got" = "$want" ] || fail "vokari-cli $args: exit $got, not $want"
done <<TABLE
0|--demo games
2|--frob games
2|-x games
2|
2|nonsense
2|--demo install --game 3 x.zip
2|--demo install --game 2 --overwrite --no-overwrite x.zip
2|--demo install --game 2 $home/nothing.zip
2|--demo config --game 2 set NO SUCH value
2|--prefix /no/such games
2|--prefix /etc games
2|--prefix /etc/passwd games
0|--demo install --game 2 --dry-run -- $pkgs/a6m5_zero.zip
TABLE
# A prefix without the games: said with the prefix's name.
mkdir -p "$home/wine/drive_c"
: >"$home/wine/system.reg"
err=$("$cli" --prefix "$home/wine" games 2>&1 >/dev/null)
echo "$err" | grep -qF "no game is installed in the Wine prefix $home/wine" || fail "games: $err"
[ "$(code --prefix "$home/wine" aircraft --game 2 list)" = 1 ] || fail "a game not installed"
[ "$("$cli" --prefix "$home/wine" prefixes)" = "$(printf '%s\t--prefix\t-' "$home/wine")" ] ||
    fail "prefixes --prefix: $("$cli" --prefix "$home/wine" prefixes)"

# "--" ends the options: a package whose name starts with a dash is a file, not an option.
cp "$pkgs/a6m5_zero.zip" "$home/--odd.zip"
(cd "$home" && "$cli" --demo install --game 2 --dry-run -- --odd.zip >/dev/null) ||
    fail "-- before a dashed name"
[ "$(cd "$home" && code --demo install --game 2 --dry-run --odd.zip)" = 2 ] ||
    fail "--odd.zip taken as a file"

# Output that cannot be written is a failure.
[ "$(code --demo games)" = 0 ]
if [ -w /dev/full ]; then
    set +e
    "$cli" --demo games >/dev/full 2>/dev/null
    rc=$?
    set -e
    [ $rc = 1 ] || fail "games > /dev/full: exit $rc"
fi
echo "cli usage: passed"
