// Reading and unpacking a large add-on package, against bsdtar on the same file.
//
// A package of 20,000 files (aircraft folders, gauges, missions) is built as ZIP (with zip)
// and LZH (with jlha, when installed). For each, best of three runs:
//   list + place: CfsArcList::ReadArchive      vs  bsdtar -tf     (target <= 1.5)
//   unpack all:   extractArchives into an empty game folder  vs  bsdtar -xf  (target <= 2.0)
// With --list-only the unpacking is left out, so the listing can be counted load-free with
//   valgrind --tool=callgrind --toggle-collect='vokari::CfsArcList::ReadArchive*'
// in front of the command.
#include "bench_package.h"
#include "installer/arc_result.h"
#include "installer/cfs_arc_list.h"
#include "platform/host_paths.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

namespace fs = std::filesystem;
using bench::best;
using bench::buildTree;
using bench::quoted;
using bench::run;
using bench::writeFile;

namespace {

void compare(const char* label, const fs::path& package, const fs::path& prefix, bool listOnly) {
    const fs::path game = prefix / "drive_c" / "Games" / "CFS2";
    const fs::path peer = prefix / "peer";
    auto emptyFolders = [&] {
        fs::remove_all(game);
        fs::create_directories(game);
        fs::remove_all(peer);
        fs::create_directories(peer);
    };

    size_t entries = 0;
    const double list = best([] {},
                             [&] {
                                 vokari::CfsArcList arcList;
                                 arcList.setVersion(2);
                                 if (arcList.readArchive(0, package.string()) != vokari::kArcOk)
                                     throw std::runtime_error("cannot read " + package.string());
                                 entries = arcList.fileList.count();
                             });
    const double peerList =
        best([] {}, [&] { run("bsdtar -tf " + quoted(package) + " >/dev/null"); });
    std::printf("%-4s %zu entries\n", label, entries);
    std::printf("%-4s list + place  %7.1f ms   bsdtar -tf %7.1f ms   ratio %.2f (target <= 1.5)\n",
                label, list * 1000, peerList * 1000, list / peerList);
    if (listOnly)
        return;

    vokari::CfsArcList arcList;
    arcList.setVersion(2);
    arcList.readArchive(0, package.string());
    size_t failed = 0;
    const double unpack = best(emptyFolders, [&] {
        arcList.extractArchives(0);
        failed = arcList.extractionFailures().size();
    });
    const double peerUnpack =
        best(emptyFolders, [&] { run("bsdtar -xf " + quoted(package) + " -C " + quoted(peer)); });
    std::printf("%-4s unpack all    %7.1f ms   bsdtar -xf %7.1f ms   ratio %.2f (target <= 2.0)\n",
                label, unpack * 1000, peerUnpack * 1000, unpack / peerUnpack);
    std::printf("%-4s %zu of %zu entries failed to unpack\n", label, failed, entries);
}

} // namespace

int main(int argc, char** argv) {
    const bool listOnly = argc > 1 && std::string(argv[1]) == "--list-only";
    std::string pattern = (fs::temp_directory_path() / "vokari-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    const fs::path work = pattern;
    int rc = 0;
    try {
        ::setenv("XDG_DATA_HOME", (work / "data").c_str(), 1); // the history, kept here
        const fs::path tree = work / "tree";
        const size_t files = buildTree(tree);
        std::printf("package of %zu files\n", files);
        run("cd " + quoted(tree) + " && zip -q -r ../package.zip .");
        const bool haveJlha = std::system("command -v jlha >/dev/null 2>&1") == 0;
        if (haveJlha)
            run("cd " + quoted(tree) + " && jlha a ../package.lzh * >/dev/null 2>&1");

        const fs::path prefix = work / "prefix";
        bench::makeSecondGamePrefix(prefix);
        vokari::platform::setWinePrefixOverride(prefix);

        compare("ZIP", work / "package.zip", prefix, listOnly);
        if (haveJlha)
            compare("LZH", work / "package.lzh", prefix, listOnly);
        else
            std::printf("LZH  skipped: jlha not installed\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "archive_bench: %s\n", e.what());
        rc = 1;
    }
    std::error_code ec;
    fs::remove_all(work, ec);
    return rc;
}
