#include "aircraft/aircraft_list.h"
#include "journal/change_journal.h"
#include "platform/error.h"
#include "platform/path_text.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace vokari {
namespace {

using test::readFile;
using test::writeFile;

// Host paths named in a report against the files they must name, compared as paths. On Windows
// a path keeps the spelling asked for, which the file system matches without regard to case.
void expectNamed(const std::vector<std::string>& named, const std::set<fs::path>& files) {
    std::set<fs::path> paths;
    for (const std::string& path : named)
        paths.insert(platform::pathFromUtf8(path));
#ifdef _WIN32
    ASSERT_EQ(paths.size(), files.size());
    for (const fs::path& file : files)
        EXPECT_TRUE(std::any_of(paths.begin(), paths.end(), [&](const fs::path& path) {
            return fs::equivalent(path, file);
        })) << file;
#else
    EXPECT_EQ(paths, files);
#endif
}

class FileOperationsTest : public ::testing::Test {
protected:
    test::TestPrefix prefix;
    fs::path aircraft = prefix.installGame(2, "C:\\Games\\CFS2") / "Aircraft";
    AircraftList list;

    void read() {
        list.setVersion(2);
        list.readAircrafts(true, true);
    }
    Aircraft& at(std::string_view folder) { return list.aircraftList.item(folder); }
    void toggle(std::string_view folder) {
        Aircraft& a = at(folder);
        a.isActive = !a.isActive;
        a.isActiveChanged = !a.isActiveChanged;
    }
    static void makeReadOnly(const fs::path& file) {
        fs::permissions(file,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
};

TEST_F(FileOperationsTest, SwitchingOffAndOnCopiesWithCrLfAndLeavesNoSecondFile) {
    // LF line ends and no line end after the last line, as some add-ons ship it.
    writeFile(aircraft / "Addon" / "Aircraft.cfg", "[fltsim.0]\ntitle=Addon\nsim=addon");
    writeFile(aircraft / "Untouched" / "aircraft.cfg", "[fltsim.0]\ntitle=Untouched\n");
    read();
    toggle("Addon");
    list.setActivate();
    EXPECT_FALSE(fs::exists(aircraft / "Addon" / "Aircraft.cfg"));
    EXPECT_EQ(readFile(aircraft / "Addon" / "aircraft.cfg.rst"),
              "[fltsim.0]\r\ntitle=Addon\r\nsim=addon\r\n");
    EXPECT_EQ(readFile(aircraft / "Untouched" / "aircraft.cfg"), "[fltsim.0]\ntitle=Untouched\n");
    EXPECT_FALSE(at("Addon").isActiveChanged); // the disk holds it now
    EXPECT_FALSE(at("Untouched").isActiveChanged);

    toggle("Addon");
    list.setActivate();
    EXPECT_FALSE(fs::exists(aircraft / "Addon" / "aircraft.cfg.rst"));
    EXPECT_EQ(readFile(aircraft / "Addon" / "aircraft.cfg"),
              "[fltsim.0]\r\ntitle=Addon\r\nsim=addon\r\n");

    // Toggled twice before saving: the flag is back to false and nothing is touched.
    toggle("Addon");
    toggle("Addon");
    list.setActivate();
    EXPECT_TRUE(fs::exists(aircraft / "Addon" / "aircraft.cfg"));
    EXPECT_FALSE(fs::exists(aircraft / "Addon" / "aircraft.cfg.rst"));
}

TEST_F(FileOperationsTest, AFailedSwitchLeavesTheOldFileAndNoCopyAndTheOthersGoOn) {
    writeFile(aircraft / "A" / "aircraft.cfg", "[fltsim.0]\r\ntitle=A\r\n");
    writeFile(aircraft / "B" / "aircraft.cfg", "[fltsim.0]\r\ntitle=B\r\n");
    writeFile(aircraft / "C" / "aircraft.cfg", "[fltsim.0]\r\ntitle=C\r\n");
    read();
    makeReadOnly(aircraft / "B" / "aircraft.cfg"); // cannot be deleted, as on Windows
    toggle("A");
    toggle("B");
    toggle("C");
    EXPECT_THROW(list.setActivate(), IoError);
    for (const char* folder : {"A", "C"}) { // before and after the failure alike
        EXPECT_TRUE(fs::exists(aircraft / folder / "aircraft.cfg.rst")) << folder;
        EXPECT_FALSE(fs::exists(aircraft / folder / "aircraft.cfg")) << folder;
    }
    EXPECT_TRUE(fs::exists(aircraft / "B" / "aircraft.cfg"));
    EXPECT_FALSE(fs::exists(aircraft / "B" / "aircraft.cfg.rst")); // the copy is taken back

    // Only the flags of what is not on disk yet stay, so the save can be tried again once B
    // can go.
    EXPECT_FALSE(at("A").isActiveChanged);
    EXPECT_TRUE(at("B").isActiveChanged);
    EXPECT_FALSE(at("C").isActiveChanged);
    fs::permissions(aircraft / "B" / "aircraft.cfg", fs::perms::owner_write, fs::perm_options::add);
    list.setActivate();
    for (const char* folder : {"A", "B", "C"}) {
        EXPECT_FALSE(fs::exists(aircraft / folder / "aircraft.cfg")) << folder;
        EXPECT_EQ(readFile(aircraft / folder / "aircraft.cfg.rst"),
                  std::string("[fltsim.0]\r\ntitle=") + folder + "\r\n");
    }

    // A source removed behind the program's back, with no switched file either: an error, and
    // nothing is created.
    writeFile(aircraft / "D" / "aircraft.cfg", "[fltsim.0]\r\ntitle=D\r\n");
    Aircraft& d = list.addAircraft("D");
    d.setDirectory("D");
    d.isActive = false;
    d.isActiveChanged = true;
    fs::remove(aircraft / "D" / "aircraft.cfg");
    EXPECT_THROW(list.setActivate(), IoError);
    EXPECT_FALSE(fs::exists(aircraft / "D" / "aircraft.cfg.rst"));
}

TEST_F(FileOperationsTest, ASwitchNeverReplacesAFileOfTheOtherName) {
    writeFile(aircraft / "Typhoon" / "aircraft.cfg", "[fltsim.0]\r\ntitle=Typhoon\r\n");
    writeFile(aircraft / "Typhoon" / "aircraft.cfg.rst", "the player's own");
    read();
    toggle("Typhoon");
    EXPECT_THROW(list.setActivate(), AircraftSwitchError);
    EXPECT_EQ(readFile(aircraft / "Typhoon" / "aircraft.cfg.rst"), "the player's own");
    EXPECT_EQ(readFile(aircraft / "Typhoon" / "aircraft.cfg"), "[fltsim.0]\r\ntitle=Typhoon\r\n");
}

TEST_F(FileOperationsTest, AFailedSwitchNamesEveryAircraftThatFailed) {
    writeFile(aircraft / "Good" / "aircraft.cfg", "[fltsim.0]\r\ntitle=Good\r\n");
    for (const char* folder : {"Stuck", "Held"}) {
        writeFile(aircraft / folder / "aircraft.cfg.rst", "[fltsim.0]\r\ntitle=T\r\n");
        makeReadOnly(aircraft / folder / "aircraft.cfg.rst");
    }
    read();
    std::vector<std::string> stuck; // in catalogue order, as the pass meets them
    for (const auto& item : list.aircraftList) {
        toggle(item.key);
        if (item.key != "Good")
            stuck.push_back(item.key);
    }
    try {
        list.setActivate();
        ADD_FAILURE() << "no error";
    } catch (const AircraftSwitchError& e) {
        EXPECT_EQ(e.directory(), stuck.front());
        ASSERT_EQ(e.failures().size(), 2u);
        for (size_t i = 0; i < stuck.size(); ++i) {
            const fs::path file = aircraft / stuck[i] / "aircraft.cfg.rst";
            EXPECT_EQ(e.failures()[i].directory, stuck[i]);
            try {
                std::rethrow_exception(e.failures()[i].cause);
            } catch (const IoError& cause) {
                EXPECT_EQ(platform::pathFromUtf8(cause.path()), file);
            }
            EXPECT_NE(std::string(e.what()).find(platform::utf8Of(file)), std::string::npos)
                << e.what();
        }
    }
    EXPECT_TRUE(fs::exists(aircraft / "Good" / "aircraft.cfg.rst"));
    EXPECT_FALSE(fs::exists(aircraft / "Stuck" / "aircraft.cfg"));
    EXPECT_FALSE(fs::exists(aircraft / "Held" / "aircraft.cfg"));
}

// The player's links are followed, but one that leads nowhere would have the write create a
// file wherever it points: refused, and the aircraft keeps its files.
TEST_F(FileOperationsTest, LinksToNothingAreRefused) {
    VOKARI_POSIX_ONLY("symbolic links");
    const fs::path outside = prefix.root() / "outside";
    writeFile(aircraft / "A" / "aircraft.cfg", "[fltsim.0]\r\ntitle=A\r\n");
    fs::create_symlink(outside / "a.rst", aircraft / "A" / "aircraft.cfg.rst");
    writeFile(aircraft / "A" / "panel" / "panel.cfg", "[fltsim]\r\n");
    fs::create_symlink(outside / "panel.org", aircraft / "A" / "panel" / "panel.cfg.org");
    writeFile(aircraft / "B" / "aircraft.cfg", "[fltsim.0]\r\ntitle=B\r\n");
    read();
    toggle("A");
    try {
        list.setActivate();
        ADD_FAILURE() << "no error";
    } catch (const AircraftSwitchError& e) {
        EXPECT_NE(std::string(e.what()).find("a link to a file that does not exist"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_EQ(readFile(aircraft / "A" / "aircraft.cfg"), "[fltsim.0]\r\ntitle=A\r\n");
    at("A").setPanelAlias("B");
    at("A").isPanelChanged = true;
    EXPECT_THROW(list.panelAndSoundWrite(), AircraftWriteError);
    EXPECT_EQ(readFile(aircraft / "A" / "panel" / "panel.cfg"), "[fltsim]\r\n");
    EXPECT_FALSE(fs::exists(outside));
}

TEST_F(FileOperationsTest, AliasesAreWrittenAfterABackupMadeOnce) {
    const std::string panel = "; own panel\r\n[Window00]\r\ngauge00=cfs2!Speed\r\n[fltsim]\r\nx=1";
    writeFile(aircraft / "A" / "aircraft.cfg", "[fltsim.0]\r\ntitle=A\r\n");
    writeFile(aircraft / "A" / "panel" / "panel.cfg", panel);
    writeFile(aircraft / "A" / "sound" / "sound.cfg", "[fltsim]\r\nalias=old\\sound\r\n");
    writeFile(aircraft / "FolderOnly" / "aircraft.cfg", "[fltsim.0]\r\ntitle=F\r\n");
    fs::create_directories(aircraft / "FolderOnly" / "panel");
    writeFile(aircraft / "NoFolders" / "aircraft.cfg", "[fltsim.0]\r\ntitle=N\r\n");
    writeFile(aircraft / "Spitfire" / "aircraft.cfg", "[fltsim.0]\r\ntitle=S\r\n");
    read();

    at("A").setPanelAlias("Spitfire");
    at("A").isPanelChanged = true;
    at("A").setSoundAlias("Spitfire");
    at("A").isSoundChanged = true;
    for (const char* folder : {"FolderOnly", "NoFolders"}) {
        at(folder).setPanelAlias("Spitfire");
        at(folder).isPanelChanged = true;
    }
    list.panelAndSoundWrite();
    // The file's own bytes, without a line end after its last line.
    EXPECT_EQ(readFile(aircraft / "A" / "panel" / "panel.cfg.org"),
              "; own panel\r\n[Window00]\r\ngauge00=cfs2!Speed\r\n[fltsim]\r\nx=1");
    EXPECT_EQ(readFile(aircraft / "A" / "panel" / "panel.cfg"),
              "; own panel\r\n[Window00]\r\ngauge00=cfs2!Speed\r\n[fltsim]\r\nx=1\r\n"
              "alias=Spitfire\\panel\r\n");
    EXPECT_EQ(readFile(aircraft / "A" / "sound" / "sound.cfg"),
              "[fltsim]\r\nalias=Spitfire\\sound\r\n");
    EXPECT_EQ(readFile(aircraft / "FolderOnly" / "panel" / "panel.cfg"),
              "[fltsim]\r\nalias=Spitfire\\panel\r\n");
    EXPECT_FALSE(fs::exists(aircraft / "FolderOnly" / "panel" / "panel.cfg.org"));
    EXPECT_FALSE(fs::exists(aircraft / "NoFolders" / "panel")); // nothing to write into

    // The flags stay set: a later save writes again, and the backup stays the first one.
    at("A").setPanelAlias("Other");
    list.panelAndSoundWrite();
    EXPECT_EQ(readFile(aircraft / "A" / "panel" / "panel.cfg.org"),
              "; own panel\r\n[Window00]\r\ngauge00=cfs2!Speed\r\n[fltsim]\r\nx=1");
    EXPECT_NE(readFile(aircraft / "A" / "panel" / "panel.cfg").find("alias=Other\\panel\r\n"),
              std::string::npos);
    EXPECT_EQ(readFile(aircraft / "A" / "sound" / "sound.cfg.org"),
              "[fltsim]\r\nalias=old\\sound\r\n");
}

TEST_F(FileOperationsTest, AFailedAliasWriteNamesItsAircraftAndEndsThePass) {
    for (const char* folder : {"Stuck", "Fine", "Lender"}) {
        writeFile(aircraft / folder / "aircraft.cfg", "[fltsim.0]\r\ntitle=T\r\n");
        writeFile(aircraft / folder / "sound" / "sound.cfg", "[fltsim]\r\n");
    }
    fs::create_directories(aircraft / "Stuck" / "sound" / "sound.cfg.org"); // no backup possible
    read();
    for (const char* folder : {"Stuck", "Fine"}) {
        at(folder).setSoundAlias("Lender");
        at(folder).isSoundChanged = true;
    }
    bool fineFirst = false;
    for (const auto& item : list.aircraftList) {
        if (item.key == "Stuck")
            break;
        fineFirst = fineFirst || item.key == "Fine";
    }
    try {
        list.panelAndSoundWrite();
        FAIL() << "no error";
    } catch (const AircraftWriteError& e) {
        EXPECT_EQ(e.directory(), "Stuck");
    }
    EXPECT_EQ(readFile(aircraft / "Stuck" / "sound" / "sound.cfg"), "[fltsim]\r\n");
    EXPECT_EQ(readFile(aircraft / "Fine" / "sound" / "sound.cfg") != "[fltsim]\r\n", fineFirst)
        << "written only when before the failing aircraft";
}

TEST_F(FileOperationsTest, DeletingDropsTheAircraftUnlessItsFileStays) {
    writeFile(aircraft / "Addon" / "aircraft.cfg", "[fltsim.0]\r\ntitle=Addon\r\n");
    writeFile(aircraft / "Addon" / "model" / "addon.mdl", "model");
    writeFile(aircraft / "Locked" / "aircraft.cfg", "[fltsim.0]\r\ntitle=Locked\r\n");
    writeFile(aircraft / "Locked" / "texture" / "t.bmp", "texture");
    writeFile(aircraft / "Held" / "aircraft.cfg", "[fltsim.0]\r\ntitle=Held\r\n");
    writeFile(aircraft / "Held" / "model" / "held.mdl", "model");
    writeFile(aircraft / "Held" / "sound" / "sound.cfg", "[fltsim]\r\nalias=Keep\\sound\r\n");
    writeFile(aircraft / "Keep" / "aircraft.cfg", "[fltsim.0]\r\ntitle=Keep\r\n");
    read();
    makeReadOnly(aircraft / "Locked" / "texture" / "t.bmp");
    makeReadOnly(aircraft / "Held" / "aircraft.cfg");
    makeReadOnly(aircraft / "Held" / "model" / "held.mdl");

    EXPECT_EQ(list.deleteAircraftFile("addon", true), 0); // gauges are never deleted
    EXPECT_FALSE(fs::exists(aircraft / "Addon"));
    EXPECT_FALSE(list.aircraftList.keyExists("Addon"));

    // Without the history to keep it whole, what cannot be deleted stays, and is named.
    setJournalEnabled(false);
    std::vector<std::string> leftBehind;
    EXPECT_GE(list.deleteAircraftFile("Locked", false, &leftBehind), 1);
    EXPECT_TRUE(fs::exists(aircraft / "Locked" / "texture" / "t.bmp"));
    expectNamed(leftBehind, {aircraft / "Locked" / "texture" / "t.bmp"});
    EXPECT_FALSE(list.aircraftList.keyExists("Locked")) << "its aircraft file is gone";

    // While its aircraft file stays, the game lists it: so does the catalogue, as on disk.
    toggle("Held");
    leftBehind.clear();
    EXPECT_GE(list.deleteAircraftFile("held", false, &leftBehind), 2);
    setJournalEnabled(true);
    expectNamed(leftBehind,
                {aircraft / "Held" / "aircraft.cfg", aircraft / "Held" / "model" / "held.mdl"});
    ASSERT_TRUE(list.aircraftList.keyExists("Held"));
    EXPECT_TRUE(at("Held").isActive);
    EXPECT_FALSE(at("Held").isActiveChanged);
    EXPECT_EQ(at("Held").title(), "Held");
    EXPECT_FALSE(at("Held").hasSound()) << "read again: its sound file is gone";
    EXPECT_EQ(at("Held").parent(), &list);
    EXPECT_TRUE(fs::exists(aircraft / "Keep" / "aircraft.cfg"));
}

TEST_F(FileOperationsTest, DeletingNeverReachesOutsideTheAircraftsFolder) {
    writeFile(aircraft / "Other" / "aircraft.cfg", "[fltsim.0]\r\ntitle=Other\r\n");
    read();
    // Entries that are not plain folder names, even when the catalogue holds them.
    for (const char* bad : {"", ".", "..", "...", " . ", "Other\\..", "a/b", "C:"})
        list.addAircraft(bad);

    for (const char* bad : {"", ".", "..", "...", " . ", "Other\\..", "a/b", "C:"})
        EXPECT_THROW(list.deleteAircraftFile(bad, false), ArgumentError) << bad;
    EXPECT_THROW(list.deleteAircraftFile("Missing", false), KeyError);
    EXPECT_TRUE(fs::exists(aircraft / "Other" / "aircraft.cfg"));
}

TEST_F(FileOperationsTest, DeletingRemovesALinkNotWhereItLeads) {
    VOKARI_POSIX_ONLY("symbolic links");
    const fs::path outside = prefix.root() / "outside";
    writeFile(outside / "precious.txt", "keep me");
    writeFile(aircraft / "Addon" / "aircraft.cfg", "[fltsim.0]\r\ntitle=Addon\r\n");
    fs::create_directory_symlink(outside, aircraft / "Addon" / "linked");
    writeFile(aircraft / "Other" / "aircraft.cfg", "[fltsim.0]\r\ntitle=Other\r\n");
    read();
    list.deleteAircraftFile("Addon", false);
    EXPECT_FALSE(fs::exists(aircraft / "Addon"));
    EXPECT_EQ(readFile(outside / "precious.txt"), "keep me"); // the link went, not its target
    EXPECT_TRUE(fs::exists(aircraft / "Other" / "aircraft.cfg"));
}

TEST(FileOperationsWithoutGameTest, WritesRefuseAGameThatIsNotInstalled) {
    test::TestPrefix prefix;
    AircraftList list;
    list.setVersion(1);
    list.readAircrafts(true, true);
    EXPECT_EQ(list.aircraftList.count(), 0u);
    Aircraft& lear = list.addAircraft("lear45");
    lear.setDirectory("lear45");
    lear.isActive = false;
    lear.isActiveChanged = true;
    EXPECT_THROW(list.setActivate(), ArgumentError);
    EXPECT_THROW(list.deleteAircraftFile("lear45", false), ArgumentError);
}

} // namespace
} // namespace vokari
