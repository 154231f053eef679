#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into OUT/<target>/, from the demo games and the
sample packages (usage: make_seeds.py OUT). Seeds are made here, not kept as opaque files."""
import glob
import os
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEMO = os.path.join(ROOT, "demo")
GAMES = os.path.join(DEMO, "prefix", "drive_c", "Program Files", "Microsoft Games")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(out, target, name, data):
    folder = os.path.join(out, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main(out):
    cfgs = sorted(glob.glob(os.path.join(GAMES, "**", "*.cfg"), recursive=True))
    # profile: three selector bytes (section, key, value), then the file.
    for i, path in enumerate(cfgs):
        write(out, "profile", "cfg%02d" % i, bytes([i % 6, i % 5, i % 5]) + read(path))
    crlf = "[Sec]\r\nk=old\r\n[Other]\r\nk=x\r\n"
    write(out, "profile", "crlf", b"\x02\x02\x01" + crlf.encode("ascii"))
    # Notepad's "Unicode" files, with the byte-order mark that makes them UTF-16.
    write(out, "profile", "utf16le", b"\x02\x02\x01\xff\xfe" + crlf.encode("utf-16-le"))
    write(out, "profile", "utf16be", b"\x02\x02\x01\xfe\xff" + crlf.encode("utf-16-be"))

    write(out, "registry", "demo", read(os.path.join(DEMO, "prefix", "system.reg")))

    for i, path in enumerate(sorted(glob.glob(os.path.join(GAMES, "*", "QuickCom", "*.qcb")))):
        write(out, "qc", "demo%d" % i, read(path))

    # zip, lha: the packages as they are (the targets also try them behind a stub).
    for path in sorted(glob.glob(os.path.join(DEMO, "packages", "*"))):
        name = os.path.basename(path)
        lha = name.lower().endswith((".lzh", ".lha"))
        write(out, "lha" if lha else "zip", name, read(path))
        # placement: the package's entry names, one per line.
        if not lha:
            with zipfile.ZipFile(path) as z:
                names = [i.filename.encode("cp437") for i in z.infolist()]
            write(out, "placement", name, b"\n".join(names))
    write(out, "placement", "typical", b"\n".join([
        b"P51D/aircraft.cfg", b"P51D/panel/panel.cfg", b"P51D/sound/sound.cfg",
        b"P51D/model/p51d.mdl", b"gauges/clock.gau", b"readme.txt", b"ship/ship.cfg",
        b"mission/m1.mis", b"campaign/c1.cmg", b"effects/fx_smoke.fx", b"inner.zip"]))

    # aircraft: aircraft.cfg, panel.cfg and sound.cfg of one demo aircraft, NUL between them.
    for i, folder in enumerate(sorted(glob.glob(os.path.join(GAMES, "*", "Aircraft", "*")))):
        parts = []
        for rel in ("aircraft.cfg", os.path.join("panel", "panel.cfg"),
                    os.path.join("sound", "sound.cfg")):
            path = os.path.join(folder, rel)
            parts.append(read(path) if os.path.exists(path) else b"")
        write(out, "aircraft", "demo%02d" % i, b"\0".join(parts))


if __name__ == "__main__":
    main(sys.argv[1])
