#!/usr/bin/env python3
"""Writes the sample add-on packages under packages/ (run once; the files are kept in the
repository). Names are CP932 without the UTF-8 flag and text files CP932 with CR LF, as the
packers of the games' era wrote them."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "packages")
DOS_DATE = (21 << 9) | (8 << 5) | 15   # 2001-08-15
DOS_TIME = (12 << 11) | (30 << 5)


def text(s):
    return s.replace("\n", "\r\n").encode("cp932")


def zip_bytes(entries):
    """entries: (name, data); deflated, names in CP932."""
    out, central = b"", b""
    for name, data in entries:
        raw = name.encode("cp932")
        packed = zlib.compress(data, 9)[2:-4] if data else b""
        method = 8 if data else 0
        if not data:
            packed = b""
        crc = zlib.crc32(data) & 0xFFFFFFFF
        offset = len(out)
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, method, DOS_TIME, DOS_DATE,
                           crc, len(packed), len(data), len(raw), 0) + raw + packed
        attrs = 0x10 if name.endswith("/") else 0x20
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, method, DOS_TIME,
                               DOS_DATE, crc, len(packed), len(data), len(raw), 0, 0, 0, 0,
                               attrs, offset) + raw
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central),
                      len(out), 0)
    return out + central + end


def crc16(data):
    crc = 0
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def lzh_bytes(entries):
    """entries: (name with backslashes, data); stored (-lh0-), level 0 headers, CP932 names."""
    out = b""
    for name, data in entries:
        raw = name.encode("cp932")
        h = b"-lh0-" + struct.pack("<IIHHBBB", len(data), len(data), DOS_TIME, DOS_DATE, 0x20, 0,
                                   len(raw)) + raw + struct.pack("<H", crc16(data))
        out += bytes([len(h), sum(h) & 0xFF]) + h + data
    return out + b"\0"


def aircraft_cfg(title, sim):
    return text(f"[fltsim.0]\ntitle={title}\nsim={sim}\nmodel=\npanel=\nsound=\ntexture=\n\n"
                "[General]\nperformance=\natc_type=\n")


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    # A new aircraft with its own gauge: needs the second game.
    write("a6m5_zero.zip", zip_bytes([
        ("A6M5/", b""),
        ("A6M5/aircraft.cfg", aircraft_cfg("零式艦上戦闘機 五二型 (サンプル)", "a6m5")),
        ("A6M5/model/a6m5.mdl", b"MDL demo model " + bytes(range(256)) * 8),
        ("A6M5/panel/panel.cfg", text("[Window00]\nfile=panel.bmp\ngauge00=a6m5!Boost, 10, 300, 40, 40\n")),
        ("A6M5/sound/sound.cfg", text("[fltsim]\nalias=a6m2\\sound\n")),
        ("A6M5/texture/a6m5_t.bmp", b"BM" + bytes(2048)),
        ("a6m5.gau", b"MZ demo gauge a6m5" + bytes(64)),
        ("説明書.txt", text("零戦五二型のサンプル機体です。\nAIRCRAFT フォルダに入ります。\n")),
    ]))
    # An update of an aircraft the demo game already has: its files are replaced (".bak").
    write("ki61_update.zip", zip_bytes([
        ("Ki61/aircraft.cfg", aircraft_cfg("三式戦闘機 飛燕 (改訂版)", "ki61")),
        ("Ki61/panel/panel.cfg", text("[fltsim]\nalias=a6m2\\panel\n")),
        ("readme.txt", text("飛燕の改訂版です。\n")),
    ]))
    # A campaign packed with an LHA tool of the time, with backslashes in its names.
    write("rabaul_campaign.lzh", lzh_bytes([
        ("rabaul\\rabaul.cmg", text("[campaign]\ntitle=ラバウル航空隊\n")),
        ("rabaul\\m01_出撃.mis", text("[mission]\ntitle=第一次出撃\n")),
        ("rabaul\\m02_迎撃.mis", text("[mission]\ntitle=迎撃戦\n")),
        ("rabaul\\title.jpg", b"\xff\xd8\xff\xe0 demo photo" + bytes(512)),
        ("PHOTOS\\pilot.jpg", b"\xff\xd8\xff\xe0 demo pilot" + bytes(512)),
        ("readme.txt", text("ラバウル戦役のサンプルです。\n")),
    ]))
    # A pack of the time: a mission, a picture and an aircraft packed again inside it.
    write("pacific_pack.zip", zip_bytes([
        ("readme.txt", text("太平洋パックです。\n中の j1n1_gekko.lzh も展開してください。\n")),
        ("pacific_cap.mis", text("[mission]\ntitle=上空哨戒\n")),
        ("PHOTOS/gekko.jpg", b"\xff\xd8\xff\xe0 demo photo" + bytes(512)),
        ("j1n1_gekko.lzh", lzh_bytes([
            ("J1N1\\aircraft.cfg", aircraft_cfg("月光 (サンプル)", "j1n1")),
            ("J1N1\\model\\j1n1.mdl", b"MDL demo model " + bytes(range(256)) * 4),
            ("J1N1\\panel\\panel.cfg", text("[fltsim]\nalias=a6m2\\panel\n")),
        ])),
    ]))


if __name__ == "__main__":
    main()
