// Reading the aircraft catalogue, as the enabler does when it opens, against the floor of
// reading every byte of the same files once. Builds synthetic games of 2,000 and 10,000
// aircraft in a temporary Wine-style prefix; prints the ratio of each (target: at most 2.0x at
// both sizes, so the cost per aircraft does not grow with the catalogue).
//
// usage: aircraft_catalogue_bench [AIRCRAFT_COUNT] [ROUNDS]   (a count runs that size alone)
#include "aircraft/aircraft_list.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"
#include "platform/profile.h"
#include "platform/registry.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kTarget = 2.0; // times the floor

void writeFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// Half of the titles are Japanese, as most of the players' add-ons are.
std::string aircraftCfg(int n) {
    const std::string name =
        n % 2 ? vokari::platform::utf8ToAnsi("合成機 零戦 ") : std::string("Synthetic ");
    std::string out;
    for (int v = 0; v < 4; ++v) {
        out += "[fltsim." + std::to_string(v) + "]\ntitle=" + name + std::to_string(n) +
               (v ? " variation " + std::to_string(v) : "") + "\nsim=syn" + std::to_string(n) +
               "\nmodel=\npanel=\nsound=\ntexture=" + (v ? std::to_string(v) : "") +
               "\nkb_checklists=syn" + std::to_string(n) + "_check\natc_id=N" +
               std::to_string(1000 + n) + "\n\n";
    }
    out += "[General]\nperformance=Top speed 350 knots\natc_type=SYN\natc_model=S" +
           std::to_string(n % 50) +
           "\n\n[weight_and_balance]\nmax_gross_weight=9000\nempty_weight=6500\n"
           "reference_datum_position=0,0,0\nempty_weight_CG_position=0,0,0\n\n"
           "[contact_points]\npoint.0=1, -0.5, 0, -5.2, 1600, 0, 0.6, 45, 0.3, 2.5, 0.8, 0, 0, 0\n"
           "point.1=1, 12, -8, -5.4, 1600, 0, 0.6, 0, 0.3, 2.5, 0.8, 0, 0, 0\n"
           "point.2=1, 12, 8, -5.4, 1600, 0, 0.6, 0, 0.3, 2.5, 0.8, 0, 0, 0\n";
    return out;
}

// 10 windows of 25 gauges, drawn from a handful of gauge files.
std::string panelCfg(int n) {
    static const char* files[] = {"cfs2", "syn_main", "syn_engine", "syn_radio", "syn_weapons"};
    std::string out = "[Window Titles]\n";
    for (int w = 0; w < 10; ++w)
        out += "Window" + std::string(w < 10 ? "0" : "") + std::to_string(w) + "=Window " +
               std::to_string(w) + "\n";
    for (int w = 0; w < 10; ++w) {
        char section[16];
        std::snprintf(section, sizeof section, "Window%02d", w);
        out += std::string("\n[") + section + "]\nfile=panel" + std::to_string(w) +
               ".bmp\nsize_mm=640,480\nposition=7\nvisible=1\n";
        for (int g = 0; g < 25; ++g) {
            char line[96];
            std::snprintf(line, sizeof line, "gauge%02d=%s!Gauge_%d_%d, %d, %d, 40, 40\n", g,
                          files[(n + w + g) % 5], w, g, 10 + 40 * g, 300 + w);
            out += line;
        }
    }
    out += "\n[Views]\nVIEW_FORWARD_DIR=10, 0, 0\n";
    return out;
}

std::string soundCfg(int n) {
    if (n % 7 == 3)
        return "[fltsim]\nalias=SYN0000\\sound\n";
    return "[ENGINE_PARAMS]\nmax_volume_rpm=2600\nmin_volume_rpm=800\n\n[COMBUSTION]\n"
           "filename=engine\nflags=0\nviewpoint=2\nminimum_rpm=400\nmaximum_rpm=2600\n\n"
           "[STALL_WARNING]\nfilename=stallhorn\nflags=2\n\n[GEAR_UP]\nfilename=gearup\n"
           "flags=0\n\n[GEAR_DOWN]\nfilename=geardn\nflags=0\n";
}

struct Game {
    fs::path root;
    std::vector<fs::path> files; // every file the catalogue reads
};

Game buildGame(const fs::path& prefix, int count) {
    fs::create_directories(prefix / "drive_c");
    fs::create_directories(prefix / "dosdevices");
    fs::create_symlink("../drive_c", prefix / "dosdevices" / "c:");
    writeFile(prefix / "system.reg",
              "WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Microsoft Games\\\\Combat "
              "Flight Simulator\\\\2.0] 1700000000\n\"InstalledTo\"=\"C:\\\\Games\\\\CFS2\"\n");
    Game game;
    game.root = prefix / "drive_c" / "Games" / "CFS2" / "Aircraft";
    for (int n = 0; n < count; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "SYN%04d", n);
        const fs::path folder = game.root / name;
        // One in ten is switched off.
        const fs::path aircraft = folder / (n % 10 == 9 ? "aircraft.cfg.rst" : "aircraft.cfg");
        writeFile(aircraft, crlf(aircraftCfg(n)));
        writeFile(folder / "panel" / "panel.cfg", crlf(panelCfg(n)));
        writeFile(folder / "sound" / "sound.cfg", crlf(soundCfg(n)));
        game.files.push_back(aircraft);
        game.files.push_back(folder / "panel" / "panel.cfg");
        game.files.push_back(folder / "sound" / "sound.cfg");
    }
    return game;
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Builds a game of `count` aircraft in a fresh prefix and prints the median of `rounds` runs
// of the floor and of the catalogue, side by side; returns the ratio.
double measure(int count, int rounds) {
    std::string pattern = (fs::temp_directory_path() / "vokari-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    const fs::path prefix = fs::canonical(pattern);
    struct Cleanup {
        fs::path prefix;
        ~Cleanup() {
            vokari::platform::setWinePrefixOverride(std::nullopt);
            std::error_code ec;
            fs::remove_all(prefix, ec);
        }
    } cleanup{prefix};

    const Game game = buildGame(prefix, count);
    vokari::platform::setWinePrefixOverride(prefix);
    vokari::platform::setRegistrySource(nullptr);

    size_t bytes = 0;
    auto floorRun = [&] {
        bytes = 0;
        for (const auto& file : game.files)
            bytes += vokari::platform::readHostFile(file).size();
    };
    size_t listed = 0;
    auto catalogueRun = [&] {
        // Start cold in the program's own caches: each window opening reads afresh.
        vokari::platform::clearProfileCache();
        vokari::AircraftList list;
        list.setVersion(2);
        list.readAircrafts(true, true);
        listed = list.aircraftList.count();
    };

    floorRun(); // warm the system's cache
    catalogueRun();
    std::vector<double> floorTimes;
    std::vector<double> catalogueTimes;
    for (int r = 0; r < rounds; ++r) {
        auto t0 = std::chrono::steady_clock::now();
        floorRun();
        auto t1 = std::chrono::steady_clock::now();
        catalogueRun();
        auto t2 = std::chrono::steady_clock::now();
        floorTimes.push_back(seconds(t1 - t0));
        catalogueTimes.push_back(seconds(t2 - t1));
    }
    if (listed != static_cast<size_t>(count))
        throw std::runtime_error("catalogue listed " + std::to_string(listed) + " of " +
                                 std::to_string(count) + " aircraft");
    std::sort(floorTimes.begin(), floorTimes.end());
    std::sort(catalogueTimes.begin(), catalogueTimes.end());
    const double floor = floorTimes[floorTimes.size() / 2];
    const double catalogue = catalogueTimes[catalogueTimes.size() / 2];
    std::printf("aircraft catalogue: %d aircraft, %zu files, %.1f MB\n", count, game.files.size(),
                static_cast<double>(bytes) / 1e6);
    std::printf("  floor (read every byte once):  %8.2f ms\n", floor * 1e3);
    std::printf("  readAircrafts(True, True):     %8.2f ms  (%.1f us per aircraft)\n",
                catalogue * 1e3, catalogue * 1e6 / count);
    std::printf("  ratio %.2fx (target <= %.1fx)\n", catalogue / floor, kTarget);
    return catalogue / floor;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> counts = {2000, 10000};
    if (argc > 1)
        counts = {std::atoi(argv[1])};
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    try {
        std::vector<double> ratios;
        for (const int count : counts)
            ratios.push_back(measure(count, rounds));
        std::printf("ratios:");
        bool met = true;
        for (size_t i = 0; i < counts.size(); ++i) {
            std::printf(" %.2fx at %d", ratios[i], counts[i]);
            met = met && ratios[i] <= kTarget;
        }
        std::printf(" (target <= %.1fx): %s\n", kTarget, met ? "target met" : "target missed");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "aircraft_catalogue_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
