// Lays out, for the benchmark scripts, what the benchmark programs build for themselves: the
// 20,000-file package of bench_package.h as WORK/package.zip, and a Wine-style prefix
// WORK/prefix whose second game (drive_c/Games/CFS2) is populated as a player has it.
//
// usage: bench_fixtures WORK [AIRCRAFT]   (AIRCRAFT also $VOKARI_BENCH_AIRCRAFT; default 3,000)
#include "bench_package.h"

#include <cstdio>
#include <exception>
#include <filesystem>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_fixtures WORK [AIRCRAFT]\n");
        return 2;
    }
    try {
        const fs::path work = fs::absolute(argv[1]);
        const int aircraft = bench::gameAircraft(argc > 2 ? argv[2] : nullptr);
        const fs::path tree = work / "tree";
        const size_t files = bench::buildTree(tree);
        bench::run("cd " + bench::quoted(tree) + " && zip -q -r ../package.zip .");
        fs::remove_all(tree);
        const fs::path game = bench::makeSecondGamePrefix(work / "prefix");
        const size_t made = bench::buildPopulatedGame(game, aircraft);
        std::printf("package of %zu files: %s\n", files, (work / "package.zip").c_str());
        std::printf("second game of %d aircraft, %zu files: %s\n", aircraft, made, game.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_fixtures: %s\n", e.what());
        return 1;
    }
    return 0;
}
