#include "aircraft/aircraft_list.h"
#include "frame/installation.h"
#include "installer/arc_result.h"
#include "installer/cfs_arc_list.h"
#include "platform/error.h"
#include "platform/profile.h"
#include "support/archive_builders.h"
#include "support/fixtures.h"

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::readFile;
using vokari::test::writeFile;

// Every writer that replaces a game file, made to fail half way: the old file stays whole,
// no temporary file is left beside it, and the caller hears of it. (The quick-combat save has
// the same checks in its own tests.)
namespace {

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A file big enough that a limit between its old and new size cuts the new one short.
std::string bigProfile(const std::string& firstSection) {
    std::string text = "[" + firstSection + "]\r\n";
    for (int i = 0; i < 400; ++i)
        text += "key" + std::to_string(i) + "=" + std::string(40, 'x') + "\r\n";
    return text;
}

struct Writer {
    const char* name;
    fs::path file;                    // the game file that is replaced
    std::function<bool()> write;      // true when the writer reported success
    std::set<std::string> leftBeside; // what may sit beside the file afterwards
    rlim_t limit;                     // a size the new file cannot reach
};

class FaultTest : public ::testing::Test {
protected:
    FaultTest() { game = prefix.installGame(2, "C:\\Games\\CFS2"); }

    // The writers, each on a fresh copy of its fixture.
    std::vector<Writer> writers() {
        std::vector<Writer> list;
        const fs::path cfg = game / "cfs2.cfg";
        writeFile(cfg, bigProfile("MAIN"));
        list.push_back({"profile",
                        cfg,
                        [cfg] {
                            platform::writeIniString("MAIN", "key0", std::string(200, 'y'),
                                                     cfg.string());
                            return true;
                        },
                        {"cfs2.cfg", "Aircraft", "Gauges"},
                        fs::file_size(cfg) + 50});

        const fs::path plane = game / "Aircraft/Zero";
        writeFile(plane / "aircraft.cfg", bigProfile("fltsim.0") + "title=Zero\r\n");
        writeFile(plane / "panel/panel.cfg", bigProfile("fltsim"));
        writeFile(plane / "sound/sound.cfg", "[fltsim]\r\n");
        list.push_back({"alias",
                        plane / "panel/panel.cfg",
                        [] {
                            AircraftList catalogue;
                            catalogue.setVersion(2);
                            catalogue.readAircrafts(true, true);
                            auto& zero = catalogue.aircraftList.item("Zero");
                            zero.setPanelAlias(std::string(200, 'P'));
                            zero.isPanelChanged = true;
                            catalogue.panelAndSoundWrite();
                            return true;
                        },
                        {"panel.cfg", "panel.cfg.org"},
                        fs::file_size(plane / "panel/panel.cfg") + 50});
        list.push_back({"switch",
                        plane / "aircraft.cfg",
                        [] {
                            AircraftList catalogue;
                            catalogue.setVersion(2);
                            catalogue.readAircrafts(true, true);
                            auto& zero = catalogue.aircraftList.item("Zero");
                            zero.isActive = false;
                            zero.isActiveChanged = true;
                            catalogue.setActivate();
                            return true;
                        },
                        {"aircraft.cfg", "panel", "sound"},
                        1000});

        const fs::path gauge = game / "Gauges/clock.gau";
        writeFile(gauge, std::string(1000, 'o'));
        const fs::path package = prefix.root() / "clock.zip";
        writeFile(package, test::buildZip({{.name = "clock.gau", .data = std::string(5000, 'n')}}));
        list.push_back({"unpack",
                        gauge,
                        [package] {
                            CfsArcList arcs;
                            arcs.setVersion(2);
                            if (arcs.readArchive(0, package.string()) != kArcOk)
                                return false;
                            arcs.setShouldOverwrite(true);
                            return arcs.extractArchives(0) == kArcOk;
                        },
                        {"clock.gau", "clock.gau.bak"},
                        2000});
        return list;
    }

    // Runs the writer, which must fail, and checks that nothing was lost.
    void expectNothingLost(const Writer& w, const std::string& old,
                           const std::function<bool()>& run) {
        SCOPED_TRACE(w.name);
        bool reported = false;
        try {
            reported = !run();
        } catch (const Error&) {
            reported = true;
        }
        EXPECT_TRUE(reported) << "the failure was passed as success";
        EXPECT_EQ(readFile(w.file), old);
        for (const std::string& name : namesIn(w.file.parent_path()))
            EXPECT_TRUE(w.leftBeside.count(name)) << "left beside the file: " << name;
        const fs::path backup =
            w.file.string() + (w.name == std::string("unpack") ? ".bak" : ".org");
        if (fs::exists(backup)) {
            EXPECT_EQ(readFile(backup), old) << "the backup is not the old file";
        }
    }

    test::TestPrefix prefix;
    fs::path game;
};

TEST_F(FaultTest, AFullDiskLeavesEveryGameFileWhole) {
    for (const Writer& w : writers()) {
        const std::string old = readFile(w.file);
        expectNothingLost(w, old, [&] {
            test::FileSizeLimit limit(w.limit);
            return w.write();
        });
    }
}

TEST_F(FaultTest, ReadOnlyFilesAndFoldersAreRefused) {
    for (const Writer& w : writers()) {
        const std::string old = readFile(w.file);
        if (std::string(w.name) != "switch") { // switching renames; the folder decides
            fs::permissions(w.file, fs::perms::owner_write, fs::perm_options::remove);
            expectNothingLost(w, old, w.write);
            fs::permissions(w.file, fs::perms::owner_write, fs::perm_options::add);
        }
        if (::geteuid() == 0)
            continue; // root writes into read-only folders
        const fs::path folder = w.file.parent_path();
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        expectNothingLost(w, old, w.write);
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    }
}

} // namespace
