#include "aircraft/aircraft_list.h"
#include "copy/cfs_copy.h"
#include "frame/installation.h"
#include "frame/settings_file.h"
#include "gameconfig/cfs_ini.h"
#include "installer/arc_result.h"
#include "installer/cfs_arc_list.h"
#include "platform/error.h"
#include "platform/path_text.h"
#include "quickcombat/qc_file.h"
#include "support/archive_builders.h"
#include "support/fixtures.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <set>

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::readFile;
using vokari::test::writeFile;

// Every writer of a game file, made to fail half way: the file is as it was (or still absent),
// no temporary file is left beside it, a backup is the old file, and the caller hears of it.
namespace {

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::optional<std::string> contentOf(const fs::path& file) {
    return fs::exists(file) ? std::optional(readFile(file)) : std::nullopt;
}

// A file big enough that a limit between its old and new size cuts the new one short.
std::string bigProfile(const std::string& firstSection) {
    std::string text = "[" + firstSection + "]\r\n";
    for (int i = 0; i < 400; ++i)
        text += "key" + std::to_string(i) + "=" + std::string(40, 'x') + "\r\n";
    return text;
}

bool install(const fs::path& package, bool overwrite) {
    CfsArcList arcs;
    arcs.setVersion(2);
    if (arcs.readArchive(0, package.string()) != kArcOk)
        return false;
    arcs.setShouldOverwrite(overwrite);
    return arcs.extractArchives(0) == kArcOk;
}

struct Writer {
    const char* name;
    fs::path file;                    // the game file written: replaced, or new
    std::function<bool()> write;      // true when the writer reported success
    std::set<std::string> leftBeside; // what may sit beside the file afterwards
    unsigned long long limit;         // a size the new file cannot reach
    fs::path backup = {};             // where the writer keeps the old file, if it does
};

// Exit codes of a writer run in a child process.
enum ChildResult { kSucceeded = 0, kFailed = 1, kThrewOther = 2, kNotReadOnly = 3, kNoUser = 4 };

const char* childText(int code) {
    switch (code) {
    case kThrewOther:
        return "threw something other than an Error";
    case kNotReadOnly:
        return "the fixture was not reachable, or the folder not read-only, as nobody";
    case kNoUser:
        return "could not become nobody";
    default:
        return "crashed";
    }
}

class FaultTest : public ::testing::Test {
protected:
    FaultTest() {
        game = prefix.installGame(2, "C:\\Games\\CFS2");
        first = prefix.installGame(1, "C:\\Games\\CFS1");
    }

    // The writers, each on a fresh copy of its fixture.
    std::vector<Writer> writers() {
        std::vector<Writer> list;
        const fs::path cfg = game / "cfs2.cfg";
        writeFile(cfg, bigProfile("MAIN"));
        list.push_back({"settings",
                        cfg,
                        [] {
                            CfsIni ini;
                            ini.setVersion(2);
                            ini.readFile();
                            ini.setKeyValue("MULTIPLAYER", "SP_PLAYER_NAME", std::string(200, 'y'));
                            ini.saveFile();
                            return true;
                        },
                        {"cfs2.cfg", "Aircraft", "Gauges", "QuickCom"},
                        fs::file_size(cfg) + 50});

        writeFile(settings, bigProfile("FrmAircraftEnabler"));
        list.push_back(
            {"VOKARI.INI",
             settings,
             [] { return writeSetting("FrmAircraftEnabler", "key0", std::string(200, 'y')); },
             {"VOKARI.INI"},
             fs::file_size(settings) + 50});

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
                        fs::file_size(plane / "panel/panel.cfg") + 50,
                        plane / "panel/panel.cfg.org"});
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

        // Three writers share the gauges folder.
        const std::set<std::string> gauges = {"clock.gau", "clock.gau.bak"};
        const fs::path gauge = game / "Gauges/clock.gau";
        writeFile(gauge, std::string(1000, 'o'));
        const fs::path replacing = prefix.root() / "clock.zip";
        writeFile(replacing,
                  test::buildZip({{.name = "clock.gau", .data = std::string(5000, 'n')}}));
        list.push_back({"install over a file", gauge,
                        [replacing] { return install(replacing, true); }, gauges, 2000,
                        gauge.string() + ".bak"});
        const fs::path adding = prefix.root() / "radio.zip";
        writeFile(adding, test::buildZip({{.name = "radio.gau", .data = std::string(5000, 'r')}}));
        list.push_back({"install a new file", game / "Gauges/radio.gau",
                        [adding] { return install(adding, false); }, gauges, 2000});

        writeFile(first / "Gauges/far.gau", std::string(5000, 'f'));
        fs::create_directories(first / "Aircraft");
        list.push_back({"copy", game / "Gauges/far.gau",
                        [] {
                            const CopySummary summary =
                                copyAll(collectCopyTables(test::winPath("C:\\Games\\CFS1\\"),
                                                          test::winPath("C:\\Games\\CFS2\\")),
                                        {});
                            return summary.failures.empty() && summary.copied > 0;
                        },
                        gauges, 2000});

        const fs::path qc = game / "QuickCom/qc_plane.qcb";
        writeFile(qc, "[option.0]\r\nOptionName=%G%\r\n");
        list.push_back({"quick combat",
                        qc,
                        [this] {
                            QcGroups doc;
                            for (int g = 0; g < 20; ++g) {
                                QcGroup& group = doc.addGroup();
                                doc.addPlane(group.groupId(), "Zero", "Zero " + std::to_string(g));
                            }
                            writeQCFile(doc, platform::utf8Of(game / ""), "QuickCom\\qc_plane.qcb");
                            return true;
                        },
                        {"qc_plane.qcb", "qc_plane.qcb.bak"},
                        1000,
                        qc.string() + ".bak"});
        return list;
    }

    // Runs the writer, which must fail, and checks that nothing was lost. `run` returns a
    // ChildResult when the writer ran in a child process.
    void expectNothingLost(const Writer& w, const std::optional<std::string>& old,
                           const std::function<int()>& run) {
        SCOPED_TRACE(w.name);
        const int result = run();
        EXPECT_EQ(result, kFailed)
            << (result == kSucceeded ? "the failure was passed as success" : childText(result));
        EXPECT_EQ(contentOf(w.file), old);
        for (const std::string& name : namesIn(w.file.parent_path()))
            EXPECT_TRUE(w.leftBeside.count(name)) << "left beside the file: " << name;
        if (!w.backup.empty() && fs::exists(w.backup)) {
            EXPECT_EQ(contentOf(w.backup), old) << "the backup is not the old file";
        }
    }

    // The writer in this process: kFailed for an Error or a failing result.
    static int runHere(const Writer& w) {
        try {
            return w.write() ? kSucceeded : kFailed;
        } catch (const Error&) {
            return kFailed;
        }
    }

    // Root writes into read-only folders: there the writer runs as nobody, in a child process,
    // on the fixture handed to that user.
    int runUnprivileged(const Writer& w) {
#ifdef _WIN32
        return runHere(w);
#else
        if (::geteuid() != 0)
            return runHere(w);
        const passwd* nobody = ::getpwnam("nobody");
        const uid_t uid = nobody ? nobody->pw_uid : 65534;
        const gid_t gid = nobody ? nobody->pw_gid : 65534;
        std::error_code ec;
        ::lchown(prefix.root().c_str(), uid, gid);
        for (const auto& entry : fs::recursive_directory_iterator(prefix.root(), ec))
            ::lchown(entry.path().c_str(), uid, gid);
        const pid_t child = ::fork();
        if (child == 0) {
            ::unsetenv("XDG_RUNTIME_DIR"); // the locks go to the prefix's TEMP
            if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 ||
                ::setresuid(uid, uid, uid) != 0)
                ::_exit(kNoUser);
            const fs::path folder = w.file.parent_path();
            if (::access(folder.c_str(), R_OK | X_OK) != 0 || ::access(folder.c_str(), W_OK) == 0)
                ::_exit(kNotReadOnly);
            int code = kThrewOther;
            try {
                code = runHere(w);
            } catch (...) {
            }
            ::_exit(code);
        }
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
            return -1;
        return WEXITSTATUS(status);
#endif
    }

    test::TestPrefix prefix;
    fs::path settings = prefix.root() / "settings/VOKARI.INI";
    test::ScopedEnv settingsFile{"VOKARI_INI", settings.string()};
    fs::path game;
    fs::path first;
};

// Without a fault every writer succeeds: the failures below are the faults' doing.
TEST_F(FaultTest, EveryWriterSucceedsWithoutAFault) {
    for (const Writer& w : writers()) {
        SCOPED_TRACE(w.name);
        const std::optional<std::string> old = contentOf(w.file);
        EXPECT_EQ(runHere(w), kSucceeded);
        EXPECT_NE(contentOf(w.file), old);
    }
}

TEST_F(FaultTest, AFullDiskLeavesEveryGameFileWhole) {
    VOKARI_POSIX_ONLY("the file-size limit (RLIMIT_FSIZE)");
    for (const Writer& w : writers()) {
        expectNothingLost(w, contentOf(w.file), [&] {
            test::FileSizeLimit limit(w.limit);
            return runHere(w);
        });
    }
}

TEST_F(FaultTest, ReadOnlyFilesAreRefused) {
    for (const Writer& w : writers()) {
        const std::optional<std::string> old = contentOf(w.file);
        if (!old)
            continue; // a new file: only its folder can refuse it
        fs::permissions(w.file, fs::perms::owner_write, fs::perm_options::remove);
        expectNothingLost(w, old, [&] { return runHere(w); });
        fs::permissions(w.file, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST_F(FaultTest, ReadOnlyFoldersAreRefused) {
    VOKARI_POSIX_ONLY("folder modes");
    for (const Writer& w : writers()) {
        const fs::path folder = w.file.parent_path();
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        expectNothingLost(w, contentOf(w.file), [&] { return runUnprivileged(w); });
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    }
}

} // namespace
