#pragma once

// The package the install benchmarks unpack: 400 aircraft folders of 45 files, 1,000 gauges and
// 1,000 missions, about 20,000 files of text-like data; a game folder as a player has it, full of
// add-ons; and the timing helpers they share.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace bench {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

inline constexpr int kAircraft = 400;
inline constexpr int kTexturesPerAircraft = 41; // with 4 more files: 45 per aircraft, 18,000 in all
inline constexpr int kGauges = 1000;
inline constexpr int kMissions = 1000;

inline void writeFile(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

inline std::string textOf(int seed, size_t size) {
    std::string text;
    while (text.size() < size) {
        text += "key" + std::to_string(seed % 97) + "=value " +
                std::to_string(seed * 7919 % 10007) + "\r\n";
        ++seed;
    }
    text.resize(size);
    return text;
}

inline size_t buildTree(const fs::path& root) {
    size_t count = 0;
    for (int a = 0; a < kAircraft; ++a) {
        const fs::path dir = root / ("Plane" + std::to_string(a));
        writeFile(dir / "aircraft.cfg", textOf(a, 900));
        writeFile(dir / "model" / "plane.mdl", textOf(a + 1, 2000));
        writeFile(dir / "panel" / "panel.cfg", textOf(a + 2, 600));
        writeFile(dir / "sound" / "sound.cfg", textOf(a + 3, 300));
        for (int t = 0; t < kTexturesPerAircraft; ++t)
            writeFile(dir / "texture" / ("t" + std::to_string(t) + ".bmp"), textOf(a * t, 700));
        count += 4 + kTexturesPerAircraft;
    }
    for (int g = 0; g < kGauges; ++g)
        writeFile(root / "gauges" / ("g" + std::to_string(g) + ".gau"), textOf(g, 800));
    for (int m = 0; m < kMissions; ++m)
        writeFile(root / "missions" / ("m" + std::to_string(m) + ".mis"), textOf(m, 500));
    return count + kGauges + kMissions;
}

// A player's game: `aircraft` add-on aircraft, each with panel, sound, model and texture
// folders, 3,000 gauges and 3,000 effects, names in mixed letter case. The package's first
// kReplacedAircraft aircraft and first kReplacedGauges gauges are there already, spelled in other
// letter case, so a quarter of its 20,000 entries replace existing files. Returns the files made.
inline constexpr int kReplacedAircraft = 100; // 4,500 files
inline constexpr int kReplacedGauges = 500;
inline constexpr int kGameGauges = 3000;
inline constexpr int kGameEffects = 3000;
inline constexpr int kDefaultGameAircraft = 3000;

inline size_t buildPopulatedGame(const fs::path& game, int aircraft) {
    static const char* kCases[] = {"Addon", "ADDON", "addon", "AdDon"};
    size_t count = 0;
    const auto put = [&](const fs::path& file, int seed, size_t size) {
        std::ofstream(file, std::ios::binary) << textOf(seed, size);
        ++count;
    };
    for (int a = 0; a < aircraft; ++a) {
        const bool replaced = a < kReplacedAircraft;
        // The package names these Plane<n>, panel, sound, model, texture, t<n>.bmp.
        const fs::path dir = game / "Aircraft" /
                             (replaced ? "PLANE" + std::to_string(a)
                                       : std::string(kCases[a % 4]) + "_" + std::to_string(a));
        const fs::path panel = dir / (a % 2 ? "Panel" : "panel");
        const fs::path sound = dir / (a % 3 ? "SOUND" : "sound");
        const fs::path model = dir / "Model";
        const fs::path texture = dir / (a % 2 ? "TEXTURE" : "Texture");
        for (const fs::path& folder : {panel, sound, model, texture})
            fs::create_directories(folder);
        put(dir / (a % 5 ? "aircraft.cfg" : "Aircraft.CFG"), a, 900);
        put(panel / "panel.cfg", a + 2, 600);
        put(sound / "Sound.cfg", a + 3, 300);
        put(model / (replaced ? "PLANE.MDL" : "addon.mdl"), a + 1, 2000);
        const int textures = replaced ? kTexturesPerAircraft : 3;
        for (int t = 0; t < textures; ++t)
            put(texture / ("T" + std::to_string(t) + ".BMP"), a * t, 700);
    }
    fs::create_directories(game / "Gauges");
    for (int g = 0; g < kGameGauges; ++g)
        put(game / "Gauges" /
                (g < kReplacedGauges ? "G" + std::to_string(g) + ".GAU"
                                     : "Gauge_" + std::to_string(g) + (g % 2 ? ".gau" : ".GAU")),
            g, 800);
    fs::create_directories(game / "Effects");
    for (int e = 0; e < kGameEffects; ++e)
        put(game / "Effects" / ((e % 3 ? "fx_" : "FX_") + std::to_string(e) + ".fx"), e, 400);
    fs::create_directories(game / "Missions");
    return count;
}

// The aircraft count of a populated game: the argument when given, else $VOKARI_BENCH_AIRCRAFT,
// else 3,000.
inline int gameAircraft(const char* argument) {
    if (argument && std::atoi(argument) > 0)
        return std::atoi(argument);
    if (const char* env = std::getenv("VOKARI_BENCH_AIRCRAFT"); env && std::atoi(env) > 0)
        return std::atoi(env);
    return kDefaultGameAircraft;
}

// Moves the tree `path`, if there, into the folder `discard` (removed when the run ends).
// Thousands of files deleted just before a timed run would slow the files it creates: a file
// system without a journal (ext4 so made) passes over inodes freed in the last minutes, one by
// one, at each file it creates, and which side of a comparison meets them is luck.
inline void setAside(const fs::path& path, const fs::path& discard) {
    if (!fs::exists(fs::symlink_status(path)))
        return;
    fs::create_directories(discard);
    static int serial = 0;
    fs::rename(path, discard / std::to_string(++serial));
}

// Lays `from` anew at `to` (a populated game each round starts from), written to the disk so
// the round after pays for none of it. With `discard`, what was at `to` is set aside there
// rather than deleted.
inline void restoreTree(const fs::path& from, const fs::path& to, const fs::path& discard = {}) {
    std::error_code ec;
    if (!discard.empty())
        setAside(to, discard);
    fs::remove_all(to, ec);
    fs::create_directories(to.parent_path());
    if (std::system(("cp -a '" + from.string() + "' '" + to.string() + "'").c_str()) != 0)
        throw std::runtime_error("cannot lay out " + to.string());
    ::sync();
}

inline double seconds(const std::function<void()>& job) {
    const auto start = Clock::now();
    job();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Side {
    std::function<void()> prepare; // runs untimed before each round
    std::function<void()> job;
};

// Best of three of ours and of the peer, taking turns round by round, so that a slow spell of
// a shared disk falls on both rather than on one.
inline std::pair<double, double> bestSideBySide(const Side& ours, const Side& peer) {
    double fastest[2] = {1e9, 1e9};
    for (int i = 0; i < 3; ++i) {
        for (int side = 0; side < 2; ++side) {
            const Side& s = side == 0 ? ours : peer;
            if (s.prepare)
                s.prepare();
            fastest[side] = std::min(fastest[side], seconds(s.job));
        }
    }
    return {fastest[0], fastest[1]};
}

inline void run(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

inline std::string quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

// A Wine-style prefix in `prefix` with the second game installed in the empty folder
// drive_c/Games/CFS2, which it returns. The caller makes it the prefix every lookup uses.
inline fs::path makeSecondGamePrefix(const fs::path& prefix) {
    const fs::path game = prefix / "drive_c" / "Games" / "CFS2";
    fs::create_directories(game);
    fs::create_directories(prefix / "dosdevices");
    fs::create_symlink("../drive_c", prefix / "dosdevices" / "c:");
    writeFile(prefix / "system.reg",
              "WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Microsoft Games\\\\"
              "Combat Flight Simulator\\\\2.0] "
              "1700000000\n\"InstalledTo\"=\"C:\\\\Games\\\\CFS2\"\n");
    return game;
}

} // namespace bench
