#include "aircraft/aircraft_list.h"
#include "copy/cfs_copy.h"
#include "frame/installation.h"
#include "gameconfig/cfs_ini.h"
#include "installer/arc_result.h"
#include "installer/cfs_arc_list.h"
#include "journal/change_journal.h"
#include "journal/undo.h"
#include "platform/change_observer.h"
#include "platform/error.h"
#include "platform/host_paths.h"
#include "platform/profile.h"
#include "quickcombat/qc_file.h"
#include "support/archive_builders.h"
#include "support/fixtures.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace vokari {
namespace {

using test::readFile;
using test::writeFile;

// Everything in a folder that undo must give back: each file's bytes and date, each link's
// target, each folder (folders' own dates do not count).
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> out;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::end(it); ++it) {
        const std::string name = it->path().lexically_relative(folder).generic_string();
        if (it->is_symlink())
            out[name] = "link " + fs::read_symlink(it->path()).string();
        else if (it->is_directory())
            out[name] = "folder";
        else
            out[name] = readFile(it->path()) + " @" +
                        std::to_string(fs::last_write_time(it->path()).time_since_epoch().count());
    }
    return out;
}

class JournalTest : public ::testing::Test {
protected:
    JournalTest() {
        game = prefix.installGame(2, "C:\\Games\\CFS2");
        first = prefix.installGame(1, "C:\\Games\\CFS");
        const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 500);
        for (const auto& [file, text] : std::map<std::string, std::string>{
                 {"Aircraft/Zero/aircraft.cfg", "[fltsim.0]\r\ntitle=Zero\r\n"},
                 {"Aircraft/Zero/panel/panel.cfg", "[fltsim]\r\nx=1"},
                 {"Aircraft/Zero/sound/sound.cfg", "[fltsim]\r\n"},
                 {"Aircraft/Ki61/aircraft.cfg", "[fltsim.0]\r\ntitle=Ki61\r\n"},
                 {"Gauges/clock.gau", "clock"},
                 {"QuickCom/qc_plane.qcb", "[option.0]\r\nOptionName=%G%\r\n; mine\r\n"},
                 {"cfs2.cfg", "[Main]\r\nShowMovie=1\r\n"},
             }) {
            writeFile(game / file, text);
            fs::last_write_time(game / file, old);
        }
        writeFile(first / "Aircraft/P51/aircraft.cfg", "[fltsim.0]\r\ntitle=P51\r\n");
        writeFile(first / "Gauges/p51.gau", "p51");
    }

    ChangeJournal journal() const { return ChangeJournal(game); }

    int64_t install(const std::string& name, const std::vector<test::ZipItem>& items) {
        const fs::path package = prefix.root() / name;
        writeFile(package, test::buildZip(items));
        CfsArcList list;
        list.setVersion(2);
        EXPECT_EQ(list.readArchive(0, package.string()), kArcOk);
        list.setShouldOverwrite(true);
        EXPECT_EQ(list.extractArchives(0), kArcOk);
        return journal().entries().back().id;
    }

    static void read(AircraftList& list) {
        list.setVersion(2);
        list.readAircrafts(true, true);
    }

    test::TestPrefix prefix;
    fs::path game;
    fs::path first;
};

// Every tool's entry taken back gives the folder back byte for byte, dates included.
TEST_F(JournalTest, EveryKindOfEntryIsTakenBackExactly) {
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"install",
         [&] {
             install("p.zip", {{.name = "Zero/aircraft.cfg", .data = "new"},
                               {.name = "Zero/model/zero.mdl", .data = "model"},
                               {.name = "clock.gau", .data = "new clock"}});
         }},
        {"copy", [&] { copyAll(collectCopyTables(gameFolder(1), gameFolder(2)), {}); }},
        {"aircraft-switch",
         [&] {
             AircraftList list;
             read(list);
             list.aircraftList.item("Zero").isActive = false;
             list.aircraftList.item("Zero").isActiveChanged = true;
             list.setActivate();
         }},
        {"alias",
         [&] {
             AircraftList list;
             read(list);
             list.aircraftList.item("Zero").setPanelAlias("Ki61");
             list.aircraftList.item("Zero").isPanelChanged = true;
             list.panelAndSoundWrite();
         }},
        {"aircraft-delete",
         [&] {
             AircraftList list;
             read(list);
             list.deleteAircraftFile("Ki61", false);
         }},
        {"qc-save",
         [&] {
             std::unique_ptr<QcGroups> doc;
             readQCFile(doc, gameFolder(2), quickCombatFileName());
             doc->addGroup();
             writeQCFile(*doc, gameFolder(2), quickCombatFileName());
         }},
        {"settings",
         [&] {
             CfsIni ini;
             ini.setVersion(2);
             ini.readFile();
             ini.setKeyValue("MAIN", "ShowMovie", "0");
             ini.saveFile();
         }},
    };
    for (const auto& [tool, run] : operations) {
        SCOPED_TRACE(tool);
        const auto before = snapshot(game);
        run();
        EXPECT_NE(snapshot(game), before);
        const JournalEntry entry = journal().entries().back();
        EXPECT_EQ(entry.tool, tool);
        EXPECT_TRUE(entry.finished);
        const UndoReport report = undoEntry(journal(), entry.id);
        EXPECT_FALSE(report.leftAlone());
        EXPECT_EQ(snapshot(game), before);
        EXPECT_EQ(journal().entry(entry.id)->undoneBy, report.undoEntry);
        EXPECT_THROW(undoEntry(journal(), entry.id), ArgumentError); // once only
        platform::clearProfileCache();
    }
}

// B over A: B first, then A, gives back the game's own files; A first is refused while B
// stands, unless B goes too. A file changed since is left alone unless forced.
TEST_F(JournalTest, LaterEntriesAndChangedFilesComeFirst) {
    const auto original = snapshot(game);
    const int64_t a = install(
        "a.zip", {{.name = "clock.gau", .data = "A"}, {.name = "extra.gau", .data = "A extra"}});
    const auto afterA = snapshot(game);
    const int64_t b = install("b.zip", {{.name = "clock.gau", .data = "B"}});

    const UndoReport refused = undoEntry(journal(), a);
    EXPECT_EQ(refused.later, std::vector<int64_t>{b});
    EXPECT_TRUE(refused.items.empty());
    EXPECT_EQ(readFile(game / "Gauges/clock.gau"), "B");

    undoEntry(journal(), b);
    EXPECT_EQ(snapshot(game), afterA);

    writeFile(game / "Gauges/extra.gau", "the player's own");
    const UndoReport report = undoEntry(journal(), a, {.dryRun = true});
    ASSERT_TRUE(report.leftAlone());
    EXPECT_EQ(readFile(game / "Gauges/extra.gau"), "the player's own"); // dry: nothing done
    undoEntry(journal(), a);
    EXPECT_EQ(readFile(game / "Gauges/extra.gau"), "the player's own");
    EXPECT_EQ(readFile(game / "Gauges/clock.gau"), "clock");

    // Both at once, the later first.
    const int64_t c = install("c.zip", {{.name = "clock.gau", .data = "C"}});
    const int64_t d = install("d.zip", {{.name = "clock.gau", .data = "D"}});
    const UndoReport both = undoEntry(journal(), c, {.withLater = true});
    EXPECT_EQ(both.taken, (std::vector<int64_t>{d, c}));
    EXPECT_EQ(readFile(game / "Gauges/clock.gau"), "clock");
    fs::remove(game / "Gauges/extra.gau");
    EXPECT_EQ(snapshot(game), original);
}

// The kept copy of a replaced file is that file as it was, even when it has a second name
// outside the game that is written in place afterwards.
TEST_F(JournalTest, KeptCopiesDoNotFollowTheFileElsewhere) {
    const auto before = snapshot(game);
    const fs::path twin = prefix.root() / "clock-twin.gau";
    fs::create_hard_link(game / "Gauges/clock.gau", twin);
    const int64_t id = install("p.zip", {{.name = "clock.gau", .data = "new"}});
    writeFile(twin, "changed where it also lives");
    fs::remove(twin);
    undoEntry(journal(), id);
    EXPECT_EQ(snapshot(game), before);
}

// A game on another disk than the history: a deleted aircraft goes into it whole, read-only
// files too, as a rename on one disk takes them, and comes back whole.
TEST_F(JournalTest, AnAircraftOnAnotherDiskGoesAndComesBackWhole) {
    VOKARI_POSIX_ONLY("the other disk is the memory file system");
    std::error_code ec;
    const fs::path data = "/dev/shm/vokari-journal-test-" + prefix.root().filename().string();
    if (!fs::create_directory(data, ec) || ec)
        GTEST_SKIP() << "no /dev/shm to write in";
    struct Cleanup {
        fs::path path;
        ~Cleanup() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } cleanup{data};
    const test::ScopedEnv home("XDG_DATA_HOME", data.string());
    test::makeReadOnly(game / "Aircraft/Zero/panel/panel.cfg");
    const auto before = snapshot(game);

    AircraftList list;
    read(list);
    EXPECT_EQ(list.deleteAircraftFile("Zero", false), 0);
    EXPECT_FALSE(fs::exists(game / "Aircraft/Zero"));
    const JournalEntry entry = journal().entries().back();
    ASSERT_EQ(entry.changes.size(), 1u);
    EXPECT_TRUE(entry.changes[0].made);
    EXPECT_FALSE(undoEntry(journal(), entry.id).leftAlone());
    EXPECT_EQ(snapshot(game), before);
}

// What the history forgets leaves nothing in its store, read-only files neither; and a store
// that outlived its entry never takes in a later entry's copies.
TEST_F(JournalTest, AForgottenEntryLeavesNothingForTheNext) {
    test::makeReadOnly(game / "Aircraft/Zero/panel/panel.cfg");
    {
        AircraftList list;
        read(list);
        list.deleteAircraftFile("Zero", false);
    }
    const int64_t first = journal().entries().back().id;
    journal().forget(first);
    EXPECT_FALSE(fs::exists(journal().folder() / "store" / std::to_string(first)));

    writeFile(journal().folder() / "store" / std::to_string(first) / "1" / "stale", "stale");
    const auto before = snapshot(game);
    AircraftList list;
    read(list);
    EXPECT_EQ(list.deleteAircraftFile("Ki61", false), 0);
    const int64_t next = journal().entries().back().id;
    EXPECT_GT(next, first);
    EXPECT_FALSE(undoEntry(journal(), next).leftAlone());
    EXPECT_EQ(snapshot(game), before);
}

// Changes recorded together and told how they ended in another order (a batch named on a
// thread of its own) each keep their own outcome.
TEST_F(JournalTest, OutcomesFindTheirOwnChange) {
    const fs::path a = game / "Gauges/a.gau";
    const fs::path b = game / "Gauges/b.gau";
    {
        JournalScope scope(game, "install", 2, "two files");
        platform::ChangeObserver* observer = platform::changeObserver();
        observer->beforeAdd(a);
        observer->beforeAdd(b);
        writeFile(b, "b");
        observer->made(b);
        observer->failed(a);
    }
    const JournalEntry entry = journal().entries().back();
    ASSERT_EQ(entry.changes.size(), 2u);
    EXPECT_TRUE(entry.changes[0].failed);
    EXPECT_FALSE(entry.changes[0].made);
    EXPECT_TRUE(entry.changes[1].made);
    EXPECT_EQ(entry.changes[1].hash, hashFile(b));
}

// A kill between a change's record and its outcome: the entry is marked interrupted, and
// taking it back gives the folder back.
TEST_F(JournalTest, AnInterruptedEntryIsTakenBack) {
    const auto before = snapshot(game);
    install("p.zip", {{.name = "clock.gau", .data = "new"}, {.name = "new.gau", .data = "n"}});
    const JournalEntry entry = journal().entries().back();
    // Cut the entry short after its records of intent, as a kill would.
    const fs::path log = journal().folder() / "entries" / "00000001.log";
    std::string text = readFile(log);
    std::string cut;
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = text.find('\n', pos) + 1;
        const std::string line = text.substr(pos, end - pos);
        if (line[0] != 'D' && line[0] != 'E')
            cut += line;
        pos = end;
    }
    writeFile(log, cut + "C\t99\tadd\tGauges/half"); // a line the kill cut
    const JournalEntry read = *journal().entry(entry.id);
    EXPECT_FALSE(read.finished);
    EXPECT_EQ(read.changes.size(), entry.changes.size());
    undoEntry(journal(), entry.id);
    EXPECT_EQ(snapshot(game), before);
}

} // namespace
} // namespace vokari
