// Reading a quick-combat file and writing it back, as the editor does when it opens and saves,
// against the floor of reading and writing the same bytes once. Two sizes: 5,000 groups and
// 20,000 groups of 20 entries each, drawn from shared folders, with generated group names
// (%VokariGrpOption00001%, ...), aliases and their strings. Prints both ratios (target: at
// most 3.0x each, the same at both sizes when the work is linear).
//
// usage: qc_file_bench [ROUNDS]
#include "journal/change_journal.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "quickcombat/qc_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Groups of 20 entries from a pool of folders ten times the entries of one group per 100
// groups, so most folders are shared by many groups. Half of the names are Japanese.
std::string qcFile(int groups) {
    const int folders = std::max(200, groups * 2);
    const std::string japanese = vokari::platform::utf8ToAnsi("零式艦上戦闘機 ");
    std::string out;
    std::string strings = "\r\n[strings]\r\n";
    char line[128];
    for (int g = 0; g < groups; ++g) {
        std::snprintf(line, sizeof line,
                      "\r\n[option.%d]\r\nOptionName=%%VokariGrpOption%05d%%\r\n", g,
                      g + 1 <= 32767 ? g + 1 : 0);
        // Past 32,767 generated names run out: later groups carry literal names.
        if (g + 1 > 32767)
            std::snprintf(line, sizeof line, "\r\n[option.%d]\r\nOptionName=Group %d\r\n", g, g);
        out += line;
        if (g + 1 <= 32767) {
            std::snprintf(line, sizeof line, "\"VokariGrpOption%05d\" = ", g + 1);
            strings +=
                line + (g % 2 ? japanese : std::string("Group ")) + std::to_string(g) + "\r\n";
        }
        for (int p = 0; p < 20; ++p) {
            const int folder = (g * 7 + p * 131) % folders;
            std::snprintf(line, sizeof line,
                          "aircraft.%d=SYN%05d\r\nfamily_type.%d=%d\r\nname.%d=%%SYN%05dName%%\r\n"
                          "\r\n",
                          p, folder, p, 1 + (folder % 2), p, folder);
            out += line;
        }
    }
    for (int f = 0; f < folders; ++f) {
        std::snprintf(line, sizeof line, "\"SYN%05dName\" = ", f);
        strings +=
            line + (f % 2 ? japanese : std::string("Synthetic ")) + std::to_string(f) + "\r\n";
    }
    out += "[player default aircraft]\r\naircraft=SYN00001\r\nGunAmmo=500\r\nCannonAmmo=60\r\n";
    return out + strings;
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Best of `rounds` for the floor and for the job, run side by side.
double measure(const fs::path& dir, int groups, int rounds) {
    const fs::path file = dir / ("qc_" + std::to_string(groups) + ".qcb");
    const std::string path = file.string();
    const std::string original = qcFile(groups);
    vokari::platform::writeFileAtomic(path, original);
    // The job's file, normalised once (and backed up) before it is measured.
    {
        std::unique_ptr<vokari::QcGroups> doc;
        vokari::readQCFile(doc, "", path);
        vokari::writeQCFile(*doc, "", path);
    }
    const fs::path floorFile = dir / ("floor_" + std::to_string(groups) + ".qcb");
    vokari::platform::writeFileAtomic(floorFile.string(), vokari::platform::readFileBytes(path));

    size_t bytes = 0;
    size_t read = 0;
    double floorBest = 1e9;
    double jobBest = 1e9;
    for (int r = 0; r < rounds; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        const std::string copy = vokari::platform::readFileBytes(floorFile.string());
        vokari::platform::writeFileAtomic(floorFile.string(), copy);
        bytes = copy.size();
        const auto t1 = std::chrono::steady_clock::now();
        std::unique_ptr<vokari::QcGroups> doc;
        vokari::readQCFile(doc, "", path);
        vokari::writeQCFile(*doc, "", path);
        read = doc->groups().count();
        const auto t2 = std::chrono::steady_clock::now();
        floorBest = std::min(floorBest, seconds(t1 - t0));
        jobBest = std::min(jobBest, seconds(t2 - t1));
    }
    if (read != static_cast<size_t>(groups))
        throw std::runtime_error("read " + std::to_string(read) + " of " + std::to_string(groups) +
                                 " groups");
    std::printf("quick-combat file: %d groups of 20 entries, %.1f MB\n", groups,
                static_cast<double>(bytes) / 1e6);
    std::printf("  floor (read and write the bytes once): %8.2f ms\n", floorBest * 1e3);
    std::printf("  readQCFile + writeQCFile:              %8.2f ms\n", jobBest * 1e3);
    std::printf("ratio %.2fx (target <= 3.0x)\n", jobBest / floorBest);
    return jobBest / floorBest;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::string pattern = (fs::temp_directory_path() / "vokari-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path dir = fs::canonical(pattern);
    // The reader and writer alone: what the history adds to a save is journal_bench's to
    // measure, and it is kept here, never in the user's data folder.
    ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    vokari::setJournalEnabled(false);
    int status = 0;
    try {
        std::string summary;
        bool met = true;
        for (int groups : {5000, 20000}) {
            const double ratio = measure(dir, groups, rounds);
            met = met && ratio <= 3.0;
            char part[64];
            std::snprintf(part, sizeof part, " %.2fx at %d", ratio, groups);
            summary += part;
        }
        std::printf("ratios:%s: %s\n", summary.c_str(), met ? "target met" : "target missed");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qc_file_bench: %s\n", e.what());
        status = 1;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return status;
}
