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
    share/man/man1/vokari.1.gz share/man/man1/vokari-cli.1.gz \
    share/doc/vokari/copyright share/doc/vokari/changelog.gz share/doc/vokari/README.md \
    share/vokari/demo/prefix/system.reg share/vokari/demo/packages/a6m5_zero.zip; do
    [ -e "$usr/$f" ] || fail "missing $f"
done
desktop-file-validate "$usr"/share/applications/*.desktop || fail "desktop entries"
appstreamcli validate --no-net --no-color "$usr/share/metainfo/net.vokari.Vokari.metainfo.xml" \
    >/dev/null || fail "metainfo"
# LHA packages open in the installer; ZIP and .exe belong to archive managers and Wine: Vokari
# is never their default, whether another program handles them or none does.
fake="$dest/fake/applications"
mkdir -p "$fake" "$dest/home"
printf '[Desktop Entry]\nType=Application\nName=Archiver\nExec=archiver %%f\nMimeType=application/zip;\n' \
    >"$fake/archiver.desktop"
update-desktop-database "$usr/share/applications" "$fake"
default() {
    env -i PATH="$PATH" HOME="$dest/home" XDG_CONFIG_HOME="$dest/home/config" \
        XDG_DATA_HOME="$dest/home/data" XDG_DATA_DIRS="$1" xdg-mime query default "$2"
}
for dirs in "$usr/share" "$usr/share:$dest/fake" "$dest/fake:$usr/share"; do
    for type in application/zip application/x-ms-dos-executable application/x-msdownload; do
        case "$(default "$dirs" "$type")" in net.vokari.*) fail "Vokari is the default for $type" ;; esac
    done
    [ "$(default "$dirs" application/x-lha)" = net.vokari.Vokari.Install.desktop ] ||
        fail "LHA packages not associated"
done

# The installed programs run from their own folder: the version, and the demo from share/.
version=$("$usr/bin/vokari-cli" --version)
[ "$version" = "$("$build/src/vokari-cli" --version)" ] || fail "version: $version"
home="$dest/home"
out=$(HOME="$home" XDG_DATA_HOME="$home/data" VOKARI_INI="$home/VOKARI.INI" TEMP="$home" \
    "$usr/bin/vokari-cli" --demo games)
echo "$out" | grep -q '^2	C:' || fail "installed demo: $out"
echo "install layout: passed"
