#!/bin/sh
# Finding the games in the prefixes of Bottles and Steam's Proton, with no WINEPREFIX.
set -eu
cli="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
unset WINEPREFIX
export HOME="$home" XDG_CONFIG_HOME="$home/.config" VOKARI_INI="$home/VOKARI.INI"
fail() { echo "FAIL: $*"; exit 1; }

# prefix FOLDER VERSION FOLDER-NAME: a prefix holding one game.
prefix() {
    key=$([ "$2" = 1 ] && echo '1.00' || echo '2.0')
    mkdir -p "$1/drive_c/Games/$3" "$1/dosdevices"
    ln -s ../drive_c "$1/dosdevices/c:"
    printf 'WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Microsoft Games\\\\Combat Flight Simulator\\\\%s] 1\n"InstalledTo"="C:\\\\Games\\\\%s"\n' \
        "$key" "$3" > "$1/system.reg"
}
bottle="$home/.local/share/bottles/bottles/CFS"
proton="$home/.local/share/Steam/steamapps/compatdata/4242/pfx"
prefix "$bottle" 2 CFS2
prefix "$proton" 1 CFS1

out=$("$cli" prefixes)
[ "$out" = "$(printf '%s\tbottles\t2\n%s\tsteam\t1' "$bottle" "$proton")" ] || fail "prefixes: $out"

out=$("$cli" games)
echo "$out" | grep -q "^2	C:\\\\Games\\\\CFS2\\\\	$bottle/drive_c/Games/CFS2" || fail "games: $out"
out=$("$cli" --prefix "$proton" games)
echo "$out" | grep -q "^1	C:\\\\Games\\\\CFS1\\\\	$proton/drive_c/Games/CFS1" || fail "--prefix: $out"

# The prefix the launcher saved wins over the first found.
printf '[FrmVokari]\r\nWINE_PREFIX=%s\r\n' "$proton" > "$VOKARI_INI"
"$cli" games | grep -q '^1	C:' || fail "saved prefix not used"
echo "cli prefixes: passed"
