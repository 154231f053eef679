#!/usr/bin/env python3
"""Writes the demo games under prefix/ (run once; the files are kept in the repository).

Every game file is CP932 with CR LF line ends, as the games write them."""
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
PREFIX = os.path.join(HERE, "prefix")
CFS1 = "drive_c/Program Files/Microsoft Games/Combat Flight Simulator"
CFS2 = "drive_c/Program Files/Microsoft Games/CFS2"


def write(rel, text, encoding="cp932", eol="\r\n"):
    path = os.path.join(PREFIX, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = text.replace("\n", eol).encode(encoding)
    with open(path, "wb") as f:
        f.write(data)


def aircraft_cfg(title, sim, variations=1):
    out = ""
    for i in range(variations):
        out += f"[fltsim.{i}]\ntitle={title}{'' if i == 0 else ' ' + str(i)}\nsim={sim}\nmodel=\npanel=\nsound=\ntexture={'' if i == 0 else str(i)}\n\n"
    out += "[General]\nperformance=\natc_type=\natc_model=\n\n[contact_points]\npoint.0=1, -0.5, 0, -5.2, 1600, 0, 0.6, 45, 0.3, 2.5, 0.8, 0, 0, 0\n"
    return out


def panel_cfg(gauges, alias=None):
    if alias:
        return f"[fltsim]\nalias={alias}\n"
    out = "[Window Titles]\nWindow00=Main Panel\n\n[Window00]\nfile=panel.bmp\nsize_mm=640,480\n"
    for i, g in enumerate(gauges):
        out += f"gauge{i:02d}={g}, {10 + 40 * i}, 300, 40, 40\n"
    out += "\n[VCockpit01]\nfile=vc.bmp\ngauge00=cfs2!Compass, 0, 0, 64, 64\n"
    return out


def sound_cfg(alias=None):
    if alias:
        return f"[fltsim]\nalias={alias}\n"
    return "[ENGINE_PARAMS]\nmax_volume_rpm=2600\n\n[COMBUSTION]\nfilename=engine\nflags=0\nviewpoint=2\n"


def game_files(root, stock, addons, cfg_name, cfg_text, qcb_text, gauges):
    for folder, title, sim, extra in stock + addons:
        switched_off = extra.get("off", False)
        # Renamed to aircraft.cfg.rst when the demo is made (see frame/demo.cpp).
        name = "aircraft.cfg.off" if switched_off else "aircraft.cfg"
        write(f"{root}/Aircraft/{folder}/{name}", aircraft_cfg(title, sim, extra.get("variations", 1)))
        if extra.get("panel", True):
            write(f"{root}/Aircraft/{folder}/panel/panel.cfg",
                  panel_cfg(extra.get("gauges", ["cfs2!Airspeed", "cfs2!Altimeter"]), extra.get("panel_alias")))
        if extra.get("sound", True):
            write(f"{root}/Aircraft/{folder}/sound/sound.cfg", sound_cfg(extra.get("sound_alias")))
    write(f"{root}/{cfg_name}", cfg_text)
    write(f"{root}/QuickCom/qc_plane.qcb", qcb_text)
    for g in gauges:
        path = os.path.join(PREFIX, root, "Gauges", g)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(b"MZ demo gauge " + g.encode() + b"\0" * 32)


def main():
    if os.path.isdir(PREFIX):
        shutil.rmtree(PREFIX)
    write("system.reg",
          "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
          "[Software\\\\Microsoft\\\\Microsoft Games\\\\Combat Flight Simulator\\\\1.00] 1700000000\n"
          "#time=1da0000000000000\n"
          "\"InstalledTo\"=\"C:\\\\Program Files\\\\Microsoft Games\\\\Combat Flight Simulator\"\n"
          "\"Version\"=dword:00000001\n\n"
          "[Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Combat Flight Simulator\\\\2.0] 1700000000\n"
          "#time=1da0000000000000\n"
          "\"InstalledTo\"=\"C:\\\\Program Files\\\\Microsoft Games\\\\CFS2\"\n",
          encoding="utf-8", eol="\n")

    game_files(
        CFS1,
        stock=[
            ("BF109E", "メッサーシュミット Bf109E", "bf109e", {}),
            ("Spitfire1", "スピットファイア Mk I", "spitfire", {"variations": 2}),
            ("P51D", "P-51D ムスタング", "p51d", {}),
            ("Ju87", "Ju87A", "ju87", {}),
        ],
        addons=[
            ("Typhoon", "ホーカー タイフーン Mk IB", "typhoon", {"sound_alias": "Spitfire1\\sound"}),
            ("Me262", "メッサーシュミット Me262 (アドオン)", "me262", {"off": True}),
        ],
        cfg_name="COMBATFS.CFG",
        cfg_text=("[MAIN]\nShowLogo=1\nShowMovie=0\nDISPLAY_FRACTIONAL_MINUTES=1\nLANGUAGE=Japanese\n\n"
                  "[PANELS]\nHUD_COLOR=2\nPANEL_ALPHA=128\n\n[PREFS]\nPANEL_MASKING_OFF=0\nREALISM=1\n\n"
                  "[CONTROLS]\nPAN_RATE=400\nJOYSTICK=1\n"),
        qcb_text=("\n[option.0]\nOptionName=%VokariGrpOption00001%\naircraft.0=BF109E\nfamily_type.0=1\nname.0=%BF109EName%\n\n"
                  "aircraft.1=Ju87\nfamily_type.1=2\nname.1=%Ju87Name%\n\n"
                  "[player default aircraft]\naircraft=スピットファイア Mk I\nGunAmmo=300\nCannonAmmo=0\n\n"
                  "[strings]\n\"VokariGrpOption00001\" = ドイツ空軍\n\"BF109EName\" = Bf 109E\n\"Ju87Name\" = Ju 87 スツーカ\n"),
        gauges=["cfs2.gau"],
    )

    game_files(
        CFS2,
        stock=[
            ("a6m2", "A6M2 Zero", "a6m2", {"gauges": ["cfs2!Airspeed", "cfs2!Altimeter", "cfs2!Clock"]}),
            ("F4F4", "F4F-4 Wildcat", "f4f4", {}),
            ("P38F", "P-38F Lightning", "p38f", {}),
            ("D3A1", "D3A1 Val", "d3a1", {}),
        ],
        addons=[
            ("Ki61", "三式戦闘機 飛燕 (アドオン)", "ki61", {"panel_alias": "a6m2\\panel"}),
            ("J2M3", "雷電 J2M3 (アドオン)", "j2m3", {"sound": False, "gauges": ["j2m!Boost", "cfs2!Airspeed"]}),
            ("Ki84", "四式戦闘機 疾風 (アドオン)", "ki84", {"sound_alias": "Ki61\\sound"}),
            ("Spit9", "スピットファイア Mk IX (追加)", "spit9", {"off": True}),
        ],
        cfg_name="cfs2.cfg",
        cfg_text=("[MAIN]\nShowLogo=1\nShowMovie=1\nDISPLAY_FRACTIONAL_MINUTES=0\n\n[PANELS]\nHUD_COLOR=0\n\n"
                  "[PREFS]\nPANEL_MASKING_OFF=1\n\n[MULTIPLAYER]\nSP_PLAYER_NAME=坂井 三郎\nSP_PLAYER_COLOR_INDEX=3\n"
                  "SP_DISPLAY_CHEAT_WARNINGS=1\nCOLLISION_SECS=2\nSTARTING_ALTITUDE=1524\nSP_PLAYER_AIRCRAFT=A6M2 Zero\n\n"
                  "[CONTROLS]\nPAN_RATE=400\n"),
        qcb_text=("\n[option.0]\nOptionName=%VokariGrpOption00001%\naircraft.0=a6m2\nfamily_type.0=1\nname.0=%a6m2Name%\n\n"
                  "aircraft.1=D3A1\nfamily_type.1=2\nname.1=%D3A1Name%\n\n"
                  "[option.1]\nOptionName=%VokariGrpOption00002%\naircraft.0=F4F4\nfamily_type.0=1\nname.0=%F4F4Name%\n\n"
                  "aircraft.1=P38F\nfamily_type.1=1\nname.1=%P38FName%\n\n"
                  "[player default aircraft]\naircraft=A6M2 Zero\nGunAmmo=500\nCannonAmmo=60\n\n"
                  "[strings]\n\"VokariGrpOption00001\" = 日本海軍\n\"a6m2Name\" = 零式艦上戦闘機\n\"D3A1Name\" = 九九式艦上爆撃機\n"
                  "\"VokariGrpOption00002\" = アメリカ軍\n\"F4F4Name\" = ワイルドキャット\n\"P38FName\" = ライトニング\n"),
        gauges=["cfs2.gau", "j2m.gau"],
    )


if __name__ == "__main__":
    main()
