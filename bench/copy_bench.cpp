// Copying the first game's add-on trees into the second game, as the copy window does (listing
// included), against `cp -rn --preserve=timestamps` of the same trees, run side by side. Builds a
// synthetic first game of 20,000 files in 2,000 folders in a temporary Wine-style prefix and
// copies it into an empty second game, then into one as a player has it (3,000 add-on aircraft
// with their sub-folders, gauges and effects, some of the first game's aircraft among them).
// The peer is followed by `sync` in both, as the copy writes its batches to the disk. Prints the
// best of three runs of each and their ratio (target: at most 1.5x). The trees of earlier rounds
// are set aside until the end, not deleted before the next (bench::setAside).
//
// usage: copy_bench [FOLDER_COUNT] [ROUNDS] [AIRCRAFT]   (AIRCRAFT also $VOKARI_BENCH_AIRCRAFT)
#include "bench_package.h"
#include "copy/cfs_copy.h"
#include "frame/installation.h"
#include "platform/host_paths.h"
#include "platform/registry.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kFilesPerFolder = 10;

void writeFile(const fs::path& file, size_t size, int seed) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + (i * 7 + static_cast<size_t>(seed)) % 26);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

// Aircraft of nine folders each (the aircraft, panel, sound, model, texture and four texture
// variations) and the rest as gauge folders: small configuration files, larger bitmaps.
size_t buildFirstGame(const fs::path& game, int folders) {
    size_t bytes = 0;
    int made = 0;
    int file = 0;
    const auto fill = [&](const fs::path& folder) {
        fs::create_directories(folder);
        for (int f = 0; f < kFilesPerFolder; ++f, ++file) {
            const size_t size =
                file % 10 == 0 ? 24 * 1024 : 512 + static_cast<size_t>(file % 7) * 600;
            writeFile(folder / ("file" + std::to_string(f) + (f % 3 ? ".cfg" : ".bmp")), size,
                      file);
            bytes += size;
        }
        ++made;
    };
    for (int a = 0; made + 9 <= folders; ++a) {
        // A few the second game has too, when it is a player's.
        const fs::path aircraft =
            game / "Aircraft" / (a < 20 ? "PLANE" + std::to_string(a) : "SYN" + std::to_string(a));
        fill(aircraft);
        for (const char* sub : {"panel", "sound", "model", "texture", "texture.1", "texture.2",
                                "texture.3", "texture.4"})
            fill(aircraft / sub);
    }
    for (int g = 0; made < folders; ++g)
        fill(game / "Gauges" / ("gaugeset" + std::to_string(g)));
    return bytes;
}

void freshTarget(const fs::path& game, const fs::path& discard) {
    bench::setAside(game, discard);
    fs::create_directories(game / "Aircraft");
    fs::create_directories(game / "Gauges");
    ::sync(); // each run starts with nothing left to write from the one before
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    const int folders = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    std::string pattern = (fs::temp_directory_path() / "vokari-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path prefix = fs::canonical(pattern);
    int status = 0;
    try {
        const fs::path games = prefix / "drive_c" / "Games";
        fs::create_directories(prefix / "dosdevices");
        fs::create_symlink("../drive_c", prefix / "dosdevices" / "c:");
        std::ofstream(prefix / "system.reg")
            << "WINE REGISTRY Version 2\n\n"
               "[Software\\\\Microsoft\\\\Microsoft Games\\\\Combat Flight Simulator\\\\1.00] 1\n"
               "\"InstalledTo\"=\"C:\\\\Games\\\\CFS1\"\n\n"
               "[Software\\\\Microsoft\\\\Microsoft Games\\\\Combat Flight Simulator\\\\2.0] 1\n"
               "\"InstalledTo\"=\"C:\\\\Games\\\\CFS2\"\n";
        const size_t bytes = buildFirstGame(games / "CFS1", folders);
        ::setenv("XDG_DATA_HOME", (prefix / "data").c_str(), 1); // the history, kept here
        vokari::platform::setWinePrefixOverride(prefix);
        vokari::platform::setRegistrySource(nullptr);

        const fs::path peer = prefix / "peer";
        // Earlier rounds' trees, kept until the end: see bench::setAside.
        const fs::path discard = prefix / "discarded";
        const auto cpInto = [&](const fs::path& target) {
            return "cp -rn --preserve=timestamps '" + (games / "CFS1").string() + "/Aircraft/.' '" +
                   (target / "Aircraft").string() + "/' && " + "cp -rn --preserve=timestamps '" +
                   (games / "CFS1").string() + "/Gauges/.' '" + (target / "Gauges").string() + "/'";
        };
        const auto copyGames = [&](vokari::CopySummary& summary) {
            const auto tables =
                vokari::collectCopyTables(vokari::gameFolder(1), vokari::gameFolder(2));
            summary = vokari::copyAll(tables, {});
            return vokari::entryCount(tables);
        };
        const std::string cp = cpInto(peer);
        double best_cp = 1e9;
        double best_copy = 1e9;
        int32_t entries = 0;
        size_t failures = 0;
        for (int r = 0; r < rounds; ++r) {
            freshTarget(peer, discard);
            auto t0 = std::chrono::steady_clock::now();
            if (std::system((cp + " && sync").c_str()) != 0)
                throw std::runtime_error("cp failed");
            best_cp = std::min(best_cp, seconds(std::chrono::steady_clock::now() - t0));

            freshTarget(games / "CFS2", discard);
            t0 = std::chrono::steady_clock::now();
            vokari::CopySummary summary;
            entries = copyGames(summary);
            best_copy = std::min(best_copy, seconds(std::chrono::steady_clock::now() - t0));
            failures = summary.failures.size();
            if (summary.copied != entries)
                throw std::runtime_error("copied " + std::to_string(summary.copied) + " of " +
                                         std::to_string(entries) + " entries");
        }
        std::printf("cross-version copy: %d entries (%d folders), %.1f MB, %zu failures\n", entries,
                    folders, static_cast<double>(bytes) / 1e6, failures);
        std::printf("empty second game:\n");
        std::printf("  cp -rn --preserve=timestamps + sync: %8.2f ms (best of %d)\n", best_cp * 1e3,
                    rounds);
        std::printf("  copyAll (listing included):          %8.2f ms (best of %d)\n",
                    best_copy * 1e3, rounds);
        const double emptyRatio = best_copy / best_cp;
        std::printf("  ratio %.2fx (target <= 1.5x)\n", emptyRatio);
        std::fflush(stdout);

        // A player's second game.
        const int aircraft = bench::gameAircraft(argc > 3 ? argv[3] : nullptr);
        const fs::path full = prefix / "full-game";
        const size_t made = bench::buildPopulatedGame(full, aircraft);
        double bestFullCp = 1e9;
        double bestFullCopy = 1e9;
        vokari::CopySummary fullSummary;
        for (int r = 0; r < rounds; ++r) {
            bench::restoreTree(full, peer, discard);
            auto t0 = std::chrono::steady_clock::now();
            if (std::system((cpInto(peer) + " && sync").c_str()) != 0)
                throw std::runtime_error("cp failed");
            bestFullCp = std::min(bestFullCp, seconds(std::chrono::steady_clock::now() - t0));

            bench::restoreTree(full, games / "CFS2", discard);
            fs::remove_all(prefix / "data");
            t0 = std::chrono::steady_clock::now();
            entries = copyGames(fullSummary);
            bestFullCopy = std::min(bestFullCopy, seconds(std::chrono::steady_clock::now() - t0));
            if (fullSummary.copied + fullSummary.existing != entries ||
                !fullSummary.failures.empty())
                throw std::runtime_error("copied " + std::to_string(fullSummary.copied) +
                                         " and kept " + std::to_string(fullSummary.existing) +
                                         " of " + std::to_string(entries) + " entries");
        }
        std::printf("second game of %d aircraft, %zu files; %d entries copied, %d there already:\n",
                    aircraft, made, fullSummary.copied, fullSummary.existing);
        std::printf("  cp -rn --preserve=timestamps + sync: %8.2f ms (best of %d)\n",
                    bestFullCp * 1e3, rounds);
        std::printf("  copyAll (listing included):          %8.2f ms (best of %d)\n",
                    bestFullCopy * 1e3, rounds);
        const double fullRatio = bestFullCopy / bestFullCp;
        std::printf("  ratio %.2fx (target <= 1.5x)\n", fullRatio);
        std::printf("ratios: empty %.2fx, populated %.2fx (target <= 1.5x): %s\n", emptyRatio,
                    fullRatio,
                    emptyRatio <= 1.5 && fullRatio <= 1.5 ? "all targets met" : "target missed");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "copy_bench: %s\n", e.what());
        status = 1;
    }
    vokari::platform::setWinePrefixOverride(std::nullopt);
    std::error_code ec;
    fs::remove_all(prefix, ec);
    return status;
}
