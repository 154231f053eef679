#pragma once

// The package the install benchmarks unpack: 400 aircraft folders of 45 files, 1,000 gauges and
// 1,000 missions, about 20,000 files of text-like data; and the timing helpers they share.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

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

inline double seconds(const std::function<void()>& job) {
    const auto start = Clock::now();
    job();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Best of three; `prepare` runs untimed before each.
inline double best(const std::function<void()>& prepare, const std::function<void()>& job) {
    double fastest = 1e9;
    for (int i = 0; i < 3; ++i) {
        prepare();
        fastest = std::min(fastest, seconds(job));
    }
    return fastest;
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
