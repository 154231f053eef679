// What the change journal costs an install: the benchmark package of about 20,000 files
// unpacked into a populated game, where a quarter of its entries replace files already there
// (each kept in the journal's store), with the journal and without it, in turns. Best of
// five each; prints the ratio (target <= 1.2).
#include "bench_package.h"
#include "installer/arc_result.h"
#include "installer/cfs_arc_list.h"
#include "journal/change_journal.h"
#include "platform/host_paths.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    // --with: only the install with the journal, once (for a profiler).
    const bool withOnly = argc > 1 && std::string(argv[1]) == "--with";
    std::string pattern = (fs::temp_directory_path() / "vokari-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    const fs::path work = pattern;
    int rc = 0;
    try {
        ::setenv("XDG_DATA_HOME", (work / "data").c_str(), 1);
        const fs::path tree = work / "tree";
        const size_t files = bench::buildTree(tree);
        bench::run("cd " + bench::quoted(tree) + " && zip -q -r ../package.zip .");
        const fs::path prefix = work / "prefix";
        const fs::path game = bench::makeSecondGamePrefix(prefix);
        vokari::platform::setWinePrefixOverride(prefix);

        vokari::CfsArcList list;
        list.setVersion(2);
        if (list.readArchive(0, (work / "package.zip").string()) != vokari::kArcOk)
            throw std::runtime_error("cannot read the package");
        list.setShouldOverwrite(true);

        // The populated game: the package installed, then three files in four taken away.
        vokari::setJournalEnabled(false);
        list.extractArchives(0);
        size_t kept = 0;
        size_t seen = 0;
        for (auto it = fs::recursive_directory_iterator(game); it != fs::end(it); ++it)
            if (it->is_regular_file() && seen++ % 4 != 0)
                fs::remove(it->path());
            else if (it->is_regular_file())
                ++kept;
        const fs::path populated = work / "populated";
        bench::run("cp -a " + bench::quoted(game) + " " + bench::quoted(populated));
        const auto prepare = [&] {
            fs::remove_all(game);
            fs::remove_all(work / "data");
            bench::run("cp -a " + bench::quoted(populated) + " " + bench::quoted(game));
        };
        const auto install = [&] {
            if (list.extractArchives(0) != vokari::kArcOk)
                throw std::runtime_error("the install failed");
        };
        if (withOnly) {
            vokari::setJournalEnabled(true);
            prepare();
            std::printf("with the journal: %.1f ms\n", bench::seconds(install) * 1000);
            return 0;
        }
        // Taken in turns, best of five each, so that the disk's moods weigh on both alike.
        double without = 1e9;
        double with = 1e9;
        for (int round = 0; round < 5; ++round) {
            for (const bool journal : {false, true}) {
                vokari::setJournalEnabled(journal);
                prepare();
                double& best = journal ? with : without;
                best = std::min(best, bench::seconds(install));
            }
        }
        std::printf("package of %zu files, %zu of them replacing files of the game\n", files, kept);
        std::printf("  install without the journal: %8.1f ms (best of 5, in turns)\n",
                    without * 1000);
        std::printf("  install with the journal:    %8.1f ms (best of 5, in turns)\n", with * 1000);
        std::printf("ratio %.2fx (target <= 1.2x)\n", with / without);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "journal_bench: %s\n", e.what());
        rc = 1;
    }
    std::error_code ec;
    fs::remove_all(work, ec);
    return rc;
}
