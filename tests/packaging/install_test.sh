#!/bin/sh
# Installs into a temporary DESTDIR and checks what a desktop expects to find there.
set -eu
build="$1"
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
usr="$dest/usr"
for f in bin/vokari bin/vokari-cli \
    share/applications/net.vokari.Vokari.desktop \
    share/applications/net.vokari.Vokari.Install.desktop \
    share/metainfo/net.vokari.Vokari.metainfo.xml \
    share/icons/hicolor/scalable/apps/vokari.svg share/icons/hicolor/48x48/apps/vokari.png \
    share/man/man1/vokari.1 share/man/man1/vokari-cli.1 \
    share/vokari/demo/prefix/system.reg share/vokari/demo/packages/a6m5_zero.zip; do
    [ -e "$usr/$f" ] || fail "missing $f"
done
desktop-file-validate "$usr"/share/applications/*.desktop || fail "desktop entries"
appstreamcli validate --no-net --no-color "$usr/share/metainfo/net.vokari.Vokari.metainfo.xml" \
    >/dev/null || fail "metainfo"
grep -q '^MimeType=.*application/x-lha;' "$usr/share/applications/net.vokari.Vokari.Install.desktop" ||
    fail "LHA packages not associated"

# The installed programs run from their own folder: the version, and the demo from share/.
version=$("$usr/bin/vokari-cli" --version)
[ "$version" = "$("$build/src/vokari-cli" --version)" ] || fail "version: $version"
home="$dest/home"
out=$(HOME="$home" XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home" \
    "$usr/bin/vokari-cli" --demo games)
echo "$out" | grep -q '^2	C:' || fail "installed demo: $out"
echo "install layout: passed"
