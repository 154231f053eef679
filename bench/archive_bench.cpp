// Reading and unpacking a large add-on package, against bsdtar on the same file.
//
// A package of 20,000 files (aircraft folders, gauges, missions) is built as ZIP (with zip)
// and LZH (with jlha, when installed). For each, best of three runs, side by side:
//   empty game, list + place: CfsArcList::ReadArchive          vs  bsdtar -tf  (target <= 1.5)
//   empty game, unpack all:   extractArchives                  vs  bsdtar -xf  (target <= 2.0)
//   populated game, dry run:  read + place + the exists marks  vs  bsdtar -tf  (target <= 1.5)
//   populated game, install:  as a player has it (backups, dates, staged writes, the change
//                             journal), read and marks included
//                                                vs  bsdtar -xf + sync into a fresh folder
//                                                                              (target <= 1.5)
// The populated game holds 3,000 add-on aircraft (or AIRCRAFT, or $VOKARI_BENCH_AIRCRAFT) with
// their sub-folders, 3,000 gauges and 3,000 effects; a quarter of the package replaces files
// it has. With --list-only only the listing runs, so it can be counted load-free with
//   valgrind --tool=callgrind --toggle-collect='vokari::CfsArcList::ReadArchive*'
// in front of the command.
//
// --dry-run-only runs the populated game's dry runs alone, to show the cost per entry at several
// sizes of the game.
//
// usage: archive_bench [--list-only | --dry-run-only] [AIRCRAFT]
#include "bench_package.h"
#include "installer/arc_result.h"
#include "installer/cfs_arc_list.h"
#include "platform/folder_listings.h"
#include "platform/host_paths.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using bench::bestSideBySide;
using bench::quoted;
using bench::run;

namespace {

struct Ratio {
    std::string what;
    double ratio = 0;
    double target = 0;
};

std::vector<Ratio> ratios;

void report(const std::string& label, const char* job, double ours, const char* peerName,
            double peer, double target) {
    std::printf("%-4s %-26s %8.1f ms   %-18s %8.1f ms   ratio %5.2f (target <= %.1f)\n",
                label.c_str(), job, ours * 1000, peerName, peer * 1000, ours / peer, target);
    std::fflush(stdout);
    ratios.push_back({label + " " + job, ours / peer, target});
}

void readPackage(vokari::CfsArcList& list, const fs::path& package) {
    list.setVersion(2);
    if (list.readArchive(0, package.string()) != vokari::kArcOk || !list.readProblem().empty())
        throw std::runtime_error("cannot read " + package.string());
}

// The marks a player sees (上書 / 追加), as the command line prints them: how many replace.
size_t replacing(const vokari::CfsArcList& list) {
    size_t count = 0;
    for (const auto& item : list.fileList)
        if (!item.value.isFolder() && item.value.shouldInstall() && item.value.exists())
            ++count;
    return count;
}

// Trees a round is done with are set aside rather than deleted (bench::setAside).
void emptyGame(const std::string& label, const fs::path& package, const fs::path& game,
               const fs::path& peer, const fs::path& discard, bool listOnly) {
    const auto emptyFolder = [&](const fs::path& folder) {
        bench::setAside(folder, discard);
        fs::create_directories(folder);
    };
    emptyFolder(game);
    emptyFolder(peer);
    size_t entries = 0;
    const auto [list, peerList] =
        bestSideBySide({nullptr,
                        [&] {
                            vokari::CfsArcList arcList;
                            readPackage(arcList, package);
                            entries = arcList.fileList.count();
                        }},
                       {nullptr, [&] { run("bsdtar -tf " + quoted(package) + " >/dev/null"); }});
    std::printf("%-4s %zu entries\n", label.c_str(), entries);
    report(label, "empty game: list + place", list, "bsdtar -tf", peerList, 1.5);
    if (listOnly)
        return;

    vokari::CfsArcList arcList;
    readPackage(arcList, package);
    size_t failed = 0;
    const auto [unpack, peerUnpack] =
        bestSideBySide({[&] { emptyFolder(game); },
                        [&] {
                            arcList.extractArchives(0);
                            failed = arcList.extractionFailures().size();
                        }},
                       {[&] { emptyFolder(peer); },
                        [&] { run("bsdtar -xf " + quoted(package) + " -C " + quoted(peer)); }});
    report(label, "empty game: unpack all", unpack, "bsdtar -xf", peerUnpack, 2.0);
    if (failed)
        std::printf("%-4s %zu of %zu entries failed to unpack\n", label.c_str(), failed, entries);
}

void populatedGame(const std::string& label, const fs::path& package, const fs::path& game,
                   const fs::path& templateGame, const fs::path& peer, const fs::path& data,
                   const fs::path& discard, bool dryRunOnly) {
    bench::restoreTree(templateGame, game, discard);
    size_t replaced = 0;
    const auto [dry, peerList] =
        bestSideBySide({nullptr,
                        [&] {
                            // As `vokari-cli install --dry-run`: one lookup of each folder for the
                            // whole run.
                            const vokari::platform::ListingScope listings;
                            vokari::CfsArcList list;
                            readPackage(list, package);
                            replaced = replacing(list);
                        }},
                       {nullptr, [&] { run("bsdtar -tf " + quoted(package) + " >/dev/null"); }});
    std::printf("%-4s %zu entries replace files the game has\n", label.c_str(), replaced);
    report(label, "full game: dry run", dry, "bsdtar -tf", peerList, 1.5);
    if (dryRunOnly)
        return;

    size_t failed = 0;
    vokari::ExtractionCounts counts;
    const auto [install, peerInstall] = bestSideBySide(
        {[&] {
             bench::restoreTree(templateGame, game, discard);
             bench::setAside(data, discard);
             ::sync();
         },
         [&] {
             // As `vokari-cli install --overwrite`: read, marks, the question, the install.
             vokari::CfsArcList list;
             {
                 const vokari::platform::ListingScope listings;
                 readPackage(list, package);
                 replacing(list);
                 list.hasOverwriteFiles();
             }
             list.setShouldOverwrite(true);
             list.extractArchives(0);
             failed = list.extractionFailures().size();
             counts = list.extractionCounts();
         }},
        {[&] {
             bench::setAside(peer, discard);
             fs::create_directories(peer);
             ::sync();
         },
         [&] { run("bsdtar -xf " + quoted(package) + " -C " + quoted(peer) + " && sync"); }});
    report(label, "full game: install", install, "bsdtar -xf + sync", peerInstall, 1.5);
    std::printf("%-4s %zu files written, %zu failed\n", label.c_str(), counts.written, failed);
}

} // namespace

int main(int argc, char** argv) {
    bool listOnly = false;
    bool dryRunOnly = false;
    const char* aircraftArgument = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--list-only")
            listOnly = true;
        else if (std::string(argv[i]) == "--dry-run-only")
            dryRunOnly = true;
        else
            aircraftArgument = argv[i];
    }
    const int aircraft = bench::gameAircraft(aircraftArgument);
    std::string pattern = (fs::temp_directory_path() / "vokari-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    const fs::path work = fs::canonical(pattern);
    int rc = 0;
    try {
        ::setenv("XDG_DATA_HOME", (work / "data").c_str(), 1); // the history, kept here
        const fs::path tree = work / "tree";
        const size_t files = bench::buildTree(tree);
        std::printf("package of %zu files\n", files);
        run("cd " + quoted(tree) + " && zip -q -r ../package.zip .");
        const bool haveJlha = std::system("command -v jlha >/dev/null 2>&1") == 0;
        if (haveJlha)
            run("cd " + quoted(tree) + " && jlha a ../package.lzh * >/dev/null 2>&1");

        const fs::path prefix = work / "prefix";
        const fs::path game = bench::makeSecondGamePrefix(prefix);
        vokari::platform::setWinePrefixOverride(prefix);
        const fs::path peer = prefix / "peer";
        const fs::path templateGame = work / "full-game";
        if (!listOnly) {
            const size_t made = bench::buildPopulatedGame(templateGame, aircraft);
            std::printf("populated game: %d aircraft, %zu files\n", aircraft, made);
        }

        std::vector<std::pair<std::string, fs::path>> packages{{"ZIP", work / "package.zip"}};
        if (haveJlha)
            packages.emplace_back("LZH", work / "package.lzh");
        else
            std::printf("LZH  skipped: jlha not installed\n");
        for (const auto& [label, package] : packages) {
            if (!dryRunOnly)
                emptyGame(label, package, game, peer, work / "discarded", listOnly);
            if (!listOnly)
                populatedGame(label, package, game, templateGame, peer, work / "data",
                              work / "discarded", dryRunOnly);
        }
        std::printf("ratios:");
        bool met = true;
        for (const Ratio& r : ratios) {
            std::printf(" %s %.2f (<= %.1f);", r.what.c_str(), r.ratio, r.target);
            met = met && r.ratio <= r.target;
        }
        std::printf("\n");
        std::string missed;
        for (const Ratio& r : ratios)
            if (r.ratio > r.target)
                missed += (missed.empty() ? "" : ", ") + r.what;
        std::printf(met ? "all targets met\n" : "missed: %s\n", missed.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "archive_bench: %s\n", e.what());
        rc = 1;
    }
    std::error_code ec;
    fs::remove_all(work, ec);
    return rc;
}
