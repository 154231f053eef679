#include "frame/installation.h"
#include "installer/arc_result.h"
#include "installer/cfs_arc_list.h"
#include "installer/nested_archives.h"
#include "platform/folder_listings.h"
#include "support/archive_builders.h"
#include "support/fixtures.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace vokari {
namespace {

using test::buildLha;
using test::buildZip;
using test::LhaItem;
using test::ZipItem;

std::vector<ZipItem> files(std::initializer_list<const char*> names) {
    std::vector<ZipItem> items;
    for (const char* n : names)
        items.push_back({.name = n, .data = std::string("data of ") + n});
    return items;
}

class ArcListTest : public ::testing::Test {
protected:
    void SetUp() override { game = prefix.installGame(2, "C:\\Games\\CFS2"); }

    fs::path package(const std::string& name, const std::string& bytes) {
        const fs::path file = prefix.root() / "packages" / name;
        test::writeFile(file, bytes);
        return file;
    }

    // Reads into `list` and gives each file entry's destination ("-" when unplaced).
    std::map<std::string, std::string> read(const fs::path& file, int16_t version = 2) {
        if (list.version() != version)
            list.setVersion(version);
        EXPECT_EQ(list.readArchive(0, file.string()), kArcOk) << list.readProblem();
        return places();
    }

    std::map<std::string, std::string> places() const {
        std::map<std::string, std::string> out;
        for (const auto& item : list.fileList)
            if (!item.value.isFolder())
                out[item.key] = item.value.shouldInstall() ? item.value.installPath() : "-";
        return out;
    }

    test::TestPrefix prefix;
    fs::path game;
    CfsArcList list;
};

TEST_F(ArcListTest, PlacesAircraftByTheFolderOfTheirMarkerFile) {
    auto p = read(package("p51d.zip", buildZip(files({"P51D/aircraft.cfg", "P51D/model/x.mdl",
                                                      "P51D/panel/panel.cfg", "readme.txt"}))));
    EXPECT_EQ(p["P51D/aircraft.cfg"], "AIRCRAFT\\P51D\\");
    EXPECT_EQ(p["P51D/model/x.mdl"], "AIRCRAFT\\P51D\\MODEL\\");
    EXPECT_EQ(p["P51D/panel/panel.cfg"], "AIRCRAFT\\P51D\\PANEL\\");
    EXPECT_EQ(p["readme.txt"], "-");
    EXPECT_EQ(list.minimumVersion(), 1);
    EXPECT_EQ(list.archiveFileType(), 1);
}

TEST_F(ArcListTest, NamesAircraftAndShipsByFolderOrArchive) {
    CfsArcList* l = &list;
    auto readFresh = [&](const std::string& name, std::initializer_list<const char*> entries) {
        l->~CfsArcList();
        new (l) CfsArcList();
        return read(package(name, buildZip(files(entries))));
    };
    auto p = readFresh("p51d.zip", {"aircraft.cfg", "model/x.mdl", "a/../b.air"});
    EXPECT_EQ(p["aircraft.cfg"], "AIRCRAFT\\p51d\\");
    EXPECT_EQ(p["model/x.mdl"], "AIRCRAFT\\p51d\\MODEL\\");
    EXPECT_EQ(p["a/../b.air"], "-");
    EXPECT_EQ(readFresh("zero.zip", {"aircraft/aircraft.cfg"})["aircraft/aircraft.cfg"],
              "AIRCRAFT\\zero\\");
    EXPECT_EQ(readFresh("zero.zip", {"Aircraft/aircraft.cfg"})["Aircraft/aircraft.cfg"],
              "AIRCRAFT\\Aircraft\\");
    EXPECT_EQ(readFresh("yamato.zip", {"SHIPS/ship.cfg"})["SHIPS/ship.cfg"], "SHIPS\\yamato\\");
    EXPECT_EQ(readFresh("yamato.zip", {"ships/SHIP.CFG"})["ships/SHIP.CFG"], "SHIPS\\ships\\");

    // Two aircraft side by side; one below another goes with the one listed first.
    p = readFresh("pair.zip", {"A6M2/aircraft.cfg", "A6M2/m.mdl", "A6M2/alt/aircraft.cfg",
                               "A6M2/alt/n.mdl", "Ki61/aircraft.cfg", "Ki61/k.mdl"});
    EXPECT_EQ(p["A6M2/m.mdl"], "AIRCRAFT\\A6M2\\");
    EXPECT_EQ(p["A6M2/alt/aircraft.cfg"], "AIRCRAFT\\A6M2\\ALT\\");
    EXPECT_EQ(p["A6M2/alt/n.mdl"], "AIRCRAFT\\A6M2\\ALT\\");
    EXPECT_EQ(p["Ki61/k.mdl"], "AIRCRAFT\\Ki61\\");
}

TEST_F(ArcListTest, PlacesByExtensionAndRaisesTheVersionOnlyOutsideAircraft) {
    auto p = read(package(
        "a.zip", buildZip(files({"P51D/aircraft.cfg", "P51D/panel/boost.gau", "inner/nested.zip",
                                 "P51D/spare.zip", "file_id.diz", "photo.jpg", "PHOTOS/p.jpg"}))));
    EXPECT_EQ(p["P51D/panel/boost.gau"], "AIRCRAFT\\P51D\\PANEL\\");
    EXPECT_EQ(p["P51D/spare.zip"], "-"); // listed and counted, never placed
    EXPECT_EQ(p["photo.jpg"], "-");
    EXPECT_EQ(p["PHOTOS/p.jpg"], "PHOTOS\\");
    EXPECT_EQ(list.minimumVersion(), 1);
    EXPECT_TRUE(list.hasArchive());

    p = read(package("g.lzh", buildLha({{.name = "boost.gau", .data = "g"},
                                        {.name = "fire.fx", .data = "f"},
                                        {.name = "m\\one.mis", .data = "m"}})));
    EXPECT_EQ(p["boost.gau"], "GAUGES\\");
    EXPECT_EQ(p["fire.fx"], "EFFECTS\\");
    EXPECT_EQ(p["m/one.mis"], "MISSIONS\\");
    EXPECT_EQ(list.minimumVersion(), 2);
    EXPECT_EQ(list.archiveFileType(), 2);
}

TEST_F(ArcListTest, PlacesCampaignsPanelPackagesAndPanelFilesFoundInTheGame) {
    auto p = read(
        package("c.zip", buildZip(files({"camp/war.cmg", "camp/m1.mis", "camp/m1.dyn",
                                         "camp/title.jpg", "PHOTOS/x.jpeg", "other/m2.mis"}))));
    EXPECT_EQ(p["camp/war.cmg"], "CAMPAIGNS\\");
    EXPECT_EQ(p["camp/m1.dyn"], "CAMPAIGNS\\");
    EXPECT_EQ(p["camp/title.jpg"], "PHOTOS\\");
    EXPECT_EQ(p["PHOTOS/x.jpeg"], "PHOTOS\\");
    EXPECT_EQ(p["other/m2.mis"], "MISSIONS\\");
    EXPECT_EQ(list.minimumVersion(), 1);

    test::writeFile(game / "Aircraft" / "a6m2" / "panel" / "zero.cdp", "x");
    CfsArcList panel;
    panel.setVersion(2);
    const auto lzh =
        package("QRWPanel.lzh", buildLha({{.name = "a6m2\\panel\\panel.cfg", .data = "p"},
                                          {.name = "readme.txt", .data = "r"},
                                          {.name = "zero.cdp", .data = "d"}}));
    ASSERT_EQ(panel.readArchive(0, lzh.string()), kArcOk);
    EXPECT_EQ(panel.fileList.item("a6m2/panel/panel.cfg").installPath(), "a6m2\\panel\\");
    EXPECT_FALSE(panel.fileList.item("readme.txt").shouldInstall());
    EXPECT_EQ(panel.fileList.item("zero.cdp").installPath(), "Aircraft\\a6m2\\panel\\");

    CfsArcList first;
    first.setVersion(1);
    prefix.installGame(1, "C:\\Games\\CFS1");
    ASSERT_EQ(first.readArchive(0, lzh.string()), kArcOk);
    EXPECT_FALSE(first.fileList.item("a6m2/panel/panel.cfg").shouldInstall());
}

TEST_F(ArcListTest, ReadsKanjiNamesAndRefusesDuplicatePaths) {
    auto p =
        read(package("jp.zip", buildZip({{.name = test::sjis("零戦/aircraft.cfg"), .data = "c"},
                                         {.name = test::sjis("零戦/説明.txt"), .data = "t"}})));
    EXPECT_EQ(p["零戦/aircraft.cfg"], "AIRCRAFT\\零戦\\");
    EXPECT_EQ(p["零戦/説明.txt"], "AIRCRAFT\\零戦\\");

    const size_t before = list.fileList.count();
    EXPECT_EQ(list.readArchive(0, package("dup.zip", buildZip(files({"x.gau", "X.GAU"}))).string()),
              kArcDuplicateEntry);
    EXPECT_EQ(list.fileList.count(), before); // the whole archive is discarded
    EXPECT_EQ(list.minimumVersion(), 1);      // and asks for no game version
    // Across archives, entries added before the repeated path stay.
    EXPECT_EQ(list.readArchive(0, package("more.zip", buildZip(files({"new.gau"}))).string()),
              kArcOk);
    EXPECT_EQ(list.readArchive(
                  0, package("again.zip", buildZip(files({"other.gau", "NEW.gau"}))).string()),
              kArcDuplicateEntry);
    EXPECT_TRUE(list.fileList.keyExists("other.gau"));
    EXPECT_EQ(list.fileList.count(), before + 2);
}

TEST_F(ArcListTest, TellsTypesBySelfExtractorContentAndRefusesOtherFiles) {
    EXPECT_EQ(list.readArchive(0, package("notes.txt", "text").string()), kArcOk);
    EXPECT_EQ(list.archiveFileType(), 0);
    EXPECT_FALSE(list.readProblem().empty());
    EXPECT_TRUE(list.fileList.empty());

    read(package("zipsfx.exe", test::exeStub() + buildZip(files({"a.gau"}))));
    EXPECT_EQ(list.archiveFileType(), 1);
    read(package("lhasfx.exe", test::exeStub() + buildLha({{.name = "b.gau", .data = "b"}})));
    EXPECT_EQ(list.archiveFileType(), 2);
    EXPECT_EQ(list.fileList.count(), 2u);

    EXPECT_EQ(list.readArchive(0, package("tool.exe", test::exeStub()).string()), kArcOk);
    EXPECT_FALSE(list.readProblem().empty());
    EXPECT_EQ(list.fileList.count(), 2u);
}

TEST_F(ArcListTest, SkipsOrReplacesExistingFilesKeepingTheFirstBackup) {
    test::writeFile(game / "Gauges" / "Boost.gau", "original");
    const auto zip = package("g.zip", buildZip({{.name = "a/boost.gau", .data = "first"},
                                                {.name = "b/BOOST.GAU", .data = "second"},
                                                {.name = "new.gau", .data = "new"}}));
    read(zip);
    EXPECT_TRUE(list.hasOverwriteFiles());
    list.setShouldOverwrite(false);
    EXPECT_EQ(list.extractArchives(0), kArcOk);
    EXPECT_EQ(test::readFile(game / "Gauges" / "Boost.gau"), "original");
    EXPECT_EQ(test::readFile(game / "Gauges" / "new.gau"), "new");
    EXPECT_FALSE(fs::exists(game / "Gauges" / "Boost.gau.bak"));

    list.setShouldOverwrite(true);
    EXPECT_EQ(list.extractArchives(0), kArcEntriesFailed); // b/BOOST.GAU: two entries, one file
    EXPECT_EQ(test::readFile(game / "Gauges" / "Boost.gau"), "first");
    EXPECT_EQ(test::readFile(game / "Gauges" / "Boost.gau.bak"), "original"); // made once
    EXPECT_EQ(test::readFile(game / "Gauges" / "new.gau.bak"), "new");
    std::vector<std::string> names; // one file, whatever the case
    for (const auto& entry : fs::directory_iterator(game / "Gauges"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"Boost.gau", "Boost.gau.bak", "new.gau", "new.gau.bak"}));

    // A file written earlier in the same run counts as existing for the later ones.
    CfsArcList fresh;
    fresh.setVersion(2);
    ASSERT_EQ(fresh.readArchive(0, package("h.zip", buildZip({{.name = "a/fx1.fx", .data = "one"},
                                                              {.name = "b/fx1.fx", .data = "two"}}))
                                       .string()),
              kArcOk);
    // Not written, with or without overwriting (its ".bak" would hold the package's data, not
    // the player's): reported in words, with the entry that took its place.
    for (const bool overwrite : {false, true}) {
        fs::remove(game / "EFFECTS" / "fx1.fx");
        fresh.setShouldOverwrite(overwrite);
        EXPECT_EQ(fresh.extractArchives(0), kArcEntriesFailed);
        ASSERT_EQ(fresh.extractionFailures().size(), 1u);
        EXPECT_EQ(fresh.extractionFailures()[0].fullPath, "b/fx1.fx");
        EXPECT_NE(fresh.extractionFailures()[0].reason.find("two entries unpack to"),
                  std::string::npos);
        EXPECT_NE(fresh.extractionFailures()[0].reason.find("a/fx1.fx"), std::string::npos);
        EXPECT_EQ(fresh.extractionFailures()[0].problem, ExtractionProblem::SameTarget);
        EXPECT_EQ(test::readFile(game / "EFFECTS" / "fx1.fx"), "one");
        EXPECT_FALSE(fs::exists(game / "EFFECTS" / "fx1.fx.bak"));
    }
}

// The marks are read once for the whole command; what another program put there meanwhile, in
// other letter case, is still met by the install and never given a second file beside it.
TEST_F(ArcListTest, AnInstallMeetsFilesMadeSinceTheMarksUnderAnotherSpelling) {
    VOKARI_POSIX_ONLY("names matched without regard to case on a file system that keeps case");
    const platform::ListingScope command;
    read(package("p.zip", buildZip({{.name = "P51D/aircraft.cfg", .data = "cfg"},
                                    {.name = "P51D/panel/panel.cfg", .data = "panel"}})));
    const CfsArcFile& panel = list.fileList.item("P51D/panel/panel.cfg");
    EXPECT_FALSE(panel.exists());
    test::writeFile(game / "Aircraft" / "p51d" / "PANEL" / "Panel.CFG", "the player's");
    EXPECT_FALSE(panel.exists()); // read once: the marks stay as shown
    list.setShouldOverwrite(true);
    EXPECT_EQ(list.extractArchives(0), kArcOk);
    EXPECT_TRUE(panel.exists());
    const fs::path folder = game / "Aircraft" / "p51d" / "PANEL";
    EXPECT_EQ(test::readFile(folder / "Panel.CFG"), "panel");
    EXPECT_EQ(test::readFile(folder / "Panel.CFG.bak"), "the player's");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    EXPECT_EQ(test::readFile(game / "Aircraft" / "p51d" / "aircraft.cfg"), "cfg");
}

TEST_F(ArcListTest, ASwitchedOffAircraftIsUpdatedAndStaysOff) {
    test::writeFile(game / "Aircraft" / "Ki61" / "aircraft.cfg.rst", "the player's");
    read(package("ki61.zip", buildZip({{.name = "Ki61/aircraft.cfg", .data = "update"},
                                       {.name = "Ki61/model/ki61.mdl", .data = "model"}})));
    EXPECT_TRUE(list.fileList.item("Ki61/aircraft.cfg").exists());
    list.setShouldOverwrite(false);
    EXPECT_EQ(list.extractArchives(0), kArcOk);
    EXPECT_EQ(list.extractionCounts().written, 1u);
    EXPECT_EQ(list.extractionCounts().skipped, 1u);
    EXPECT_FALSE(fs::exists(game / "Aircraft" / "Ki61" / "aircraft.cfg"));

    list.setShouldOverwrite(true);
    EXPECT_EQ(list.extractArchives(0), kArcOk);
    EXPECT_EQ(list.extractionCounts().written, 2u);
    EXPECT_EQ(test::readFile(game / "Aircraft" / "Ki61" / "aircraft.cfg.rst"), "update");
    EXPECT_EQ(test::readFile(game / "Aircraft" / "Ki61" / "aircraft.cfg.rst.bak"), "the player's");
    EXPECT_FALSE(fs::exists(game / "Aircraft" / "Ki61" / "aircraft.cfg"));
}

TEST_F(ArcListTest, ListingSaysWhatUnpackingDoes) {
    VOKARI_POSIX_ONLY("names Windows cannot hold");
    test::writeFile(game / "Gauges" / ".hid.gau", "hidden");
    test::writeFile(game / "Gauges" / "stick.gau", "stick");
    read(package("e.zip", buildZip(files({".hid.gau", "*.gau", "st?ck.gau"}))));
    std::map<std::string, bool> listed;
    for (const auto& item : list.fileList)
        listed[item.key] = item.value.exists();
    EXPECT_EQ(listed, (std::map<std::string, bool>{
                          {".hid.gau", true}, {"*.gau", false}, {"st?ck.gau", false}}));
    list.setShouldOverwrite(false);
    EXPECT_EQ(list.extractArchives(0), kArcOk);
    EXPECT_EQ(test::readFile(game / "Gauges" / ".hid.gau"), "hidden"); // existing: left
    EXPECT_EQ(test::readFile(game / "Gauges" / "stick.gau"), "stick");
    EXPECT_TRUE(fs::exists(game / "Gauges" / "st?ck.gau")); // new: written as named
}

TEST_F(ArcListTest, UnpackedDataMustMatchTheListing) {
    const std::string big(1 << 20, '\0');
    std::string zip = buildZip({
        // declares 100 bytes, inflates to a mebibyte
        {.name = "bomb.gau", .data = test::rawDeflate(big), .method = 8, .declaredSize = 100},
        // the central directory's CRC, shown in the listing, is not the data's
        {.name = "crc.gau", .data = "local", .centralCrc = test::crc32Of("local") ^ 1},
        {.name = "good.gau", .data = "good"},
    });
    read(package("m.zip", zip));
    EXPECT_EQ(list.extractArchives(0), kArcEntriesFailed);
    std::map<std::string, std::string> why;
    for (const auto& f : list.extractionFailures())
        why[f.fullPath] = f.reason;
    EXPECT_NE(why["bomb.gau"].find("larger than the 100 bytes"), std::string::npos);
    EXPECT_NE(why["crc.gau"].find("CRC"), std::string::npos);
    EXPECT_EQ(why.size(), 2u);
    for (const auto& f : list.extractionFailures())
        EXPECT_EQ(f.problem, ExtractionProblem::Damaged) << f.fullPath;
    EXPECT_FALSE(fs::exists(game / "GAUGES" / "bomb.gau"));
    EXPECT_FALSE(fs::exists(game / "GAUGES" / "crc.gau"));
    // Unpacked files keep the time the package records: 2000-05-17 13:45:20, local time.
    struct stat st {};
    ASSERT_EQ(::stat((game / "GAUGES" / "good.gau").string().c_str(), &st), 0);
    const std::time_t mtime = st.st_mtime;
    const std::tm local = *std::localtime(&mtime);
    EXPECT_EQ(std::vector<int>({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                local.tm_hour, local.tm_min, local.tm_sec}),
              std::vector<int>({2000, 5, 17, 13, 45, 20}));

    // Listed through libarchive (the entry count does not add up): no CRC to hold it to.
    CfsArcList odd;
    odd.setVersion(2);
    ASSERT_EQ(odd.readArchive(0, package("odd.zip", buildZip(files({"odd.gau"}), 1)).string()),
              kArcOk);
    EXPECT_EQ(odd.extractArchives(0), kArcOk);
    EXPECT_EQ(test::readFile(game / "GAUGES" / "odd.gau"), "data of odd.gau");
}

TEST_F(ArcListTest, ReportsEntriesThatFailAndKeepsFilesWithoutBackup) {
    test::writeFile(game / "Gauges" / "keep.gau", "original");
    fs::create_directories(game / "Gauges" / "keep.gau.bak"); // no backup can be made there
    std::string zip = buildZip({{.name = "keep.gau", .data = "replacement"},
                                {.name = "bad.gau", .data = "bad data"},
                                {.name = "good.gau", .data = "good"}});
    zip[zip.find("bad data")] = 'B';
    read(package("f.zip", zip));
    list.setShouldOverwrite(true);
    EXPECT_EQ(list.extractArchives(0), kArcEntriesFailed);
    ASSERT_EQ(list.extractionFailures().size(), 2u);
    EXPECT_EQ(list.extractionFailures()[0].fullPath, "keep.gau");
    EXPECT_EQ(list.extractionFailures()[1].fullPath, "bad.gau");
    // The archiver's own check sum: damaged data as well.
    EXPECT_EQ(list.extractionFailures()[1].problem, ExtractionProblem::Damaged);
    EXPECT_EQ(test::readFile(game / "Gauges" / "keep.gau"), "original");
    EXPECT_FALSE(fs::exists(game / "GAUGES" / "bad.gau")); // no half-written file either
    EXPECT_EQ(test::readFile(game / "Gauges" / "good.gau"), "good");
}

// Backups are the player's: a package cannot plant one, and the player's file goes into it
// byte for byte.
TEST_F(ArcListTest, BackupsBelongToThePlayer) {
    const fs::path gauges = game / "Gauges";
    test::writeFile(game / "Aircraft" / "Ki61" / "aircraft.cfg", "player's cfg");
    fs::last_write_time(game / "Aircraft" / "Ki61" / "aircraft.cfg",
                        fs::file_time_type::clock::now() - std::chrono::hours(24 * 900));
    // As the file system keeps it (Windows' C library sets whole seconds only).
    const auto date = fs::last_write_time(game / "Aircraft" / "Ki61" / "aircraft.cfg");
    test::writeFile(gauges / "stock.gau", "stock");
    test::writeFile(gauges / ".vokari-999999-1", "left by a killed run");
    read(package("forge.zip", buildZip({{.name = "Ki61/aircraft.cfg.bak", .data = "forged"},
                                        {.name = "Ki61/aircraft.cfg", .data = "package cfg"},
                                        {.name = "stock.gau.BAK", .data = "forged"}})));
    list.fileList.item("stock.gau.BAK").setShouldInstall(true); // as the player may place it
    list.fileList.item("stock.gau.BAK").setInstallPath("GAUGES\\");
    list.setShouldOverwrite(true);
    EXPECT_EQ(list.extractArchives(0), kArcEntriesFailed);
    EXPECT_EQ(list.extractionFailures().size(), 2u);
    for (const auto& f : list.extractionFailures()) {
        EXPECT_NE(f.reason.find("named like the backup"), std::string::npos) << f.fullPath;
        EXPECT_EQ(f.problem, ExtractionProblem::BackupName) << f.fullPath;
    }
    const fs::path cfg = game / "Aircraft" / "Ki61" / "aircraft.cfg";
    EXPECT_EQ(test::readFile(cfg), "package cfg");
    EXPECT_EQ(test::readFile(cfg.string() + ".bak"), "player's cfg");
    EXPECT_EQ(fs::last_write_time(cfg.string() + ".bak"), date);
    EXPECT_FALSE(fs::exists(gauges / "stock.gau.BAK"));
    // A killed run's temporary file is gone and counted.
    EXPECT_FALSE(fs::exists(gauges / ".vokari-999999-1"));
    EXPECT_EQ(list.leftoversRemoved(), 1u);
}

// A link cannot take the backup elsewhere, and a link at a destination name is replaced,
// never written through.
TEST_F(ArcListTest, LinksBelongToThePlayer) {
    VOKARI_POSIX_ONLY("symbolic links");
    const fs::path gauges = game / "Gauges";
    const fs::path outside = prefix.root() / "outside";
    test::writeFile(gauges / "linked.gau", "linked");
    test::writeFile(outside / "other.gau", "other");
    fs::create_symlink(outside / "other.gau", gauges / "linked.gau.bak");
    test::writeFile(gauges / "dangling.gau", "dangling");
    fs::create_symlink(outside / "nothing.gau", gauges / "dangling.gau.bak");
    test::writeFile(outside / "victim.gau", "victim");
    fs::create_symlink(outside / "victim.gau", gauges / "victim.gau");
    fs::create_symlink(outside / "dead.gau", gauges / "dead.gau");
    read(package("forge.zip", buildZip({{.name = "linked.gau", .data = "package"},
                                        {.name = "dangling.gau", .data = "package"},
                                        {.name = "victim.gau", .data = "package"},
                                        {.name = "dead.gau", .data = "package"}})));
    list.setShouldOverwrite(true);
    EXPECT_EQ(list.extractArchives(0), kArcEntriesFailed);
    std::map<std::string, std::string> why;
    for (const auto& f : list.extractionFailures())
        why[f.fullPath] = f.reason;
    EXPECT_EQ(why.size(), 2u);
    std::map<std::string, ExtractionProblem> problem;
    for (const auto& f : list.extractionFailures())
        problem[f.fullPath] = f.problem;
    for (const char* kept : {"linked.gau", "dangling.gau"}) {
        EXPECT_NE(why[kept].find("left as it was"), std::string::npos) << kept;
        EXPECT_EQ(problem[kept], ExtractionProblem::BackupNotAFile) << kept;
    }
    EXPECT_EQ(test::readFile(gauges / "linked.gau"), "linked");
    EXPECT_EQ(test::readFile(gauges / "dangling.gau"), "dangling");
    EXPECT_FALSE(fs::exists(outside / "nothing.gau"));
    EXPECT_EQ(test::readFile(outside / "other.gau"), "other");
    // The link is replaced by a file; what it pointed to is untouched and kept in the backup.
    EXPECT_FALSE(fs::is_symlink(gauges / "victim.gau"));
    EXPECT_EQ(test::readFile(gauges / "victim.gau"), "package");
    EXPECT_EQ(test::readFile(outside / "victim.gau"), "victim");
    EXPECT_EQ(test::readFile(gauges / "victim.gau.bak"), "victim");
    EXPECT_FALSE(fs::is_symlink(gauges / "dead.gau"));
    EXPECT_EQ(test::readFile(gauges / "dead.gau"), "package");
    EXPECT_FALSE(fs::exists(outside / "dead.gau"));
}

TEST_F(ArcListTest, ProgressCountsEveryEntryAndStopsWhereItIsTold) {
    read(package("p.zip", buildZip(files({"a.gau", "b.gau", "c.gau"}))));
    std::vector<std::string> seen;
    EXPECT_EQ(list.extractArchives(0,
                                   [&](size_t done, size_t total, const CfsArcFile& next) {
                                       EXPECT_EQ(total, 3u);
                                       EXPECT_EQ(done, seen.size());
                                       seen.push_back(next.fullPath());
                                       return done < 1; // stop before the second entry
                                   }),
              kArcStopped);
    EXPECT_EQ(seen, (std::vector<std::string>{"a.gau", "b.gau"}));
    EXPECT_TRUE(list.extractionFailures().empty());
    EXPECT_TRUE(fs::exists(game / "GAUGES" / "a.gau"));
    EXPECT_FALSE(fs::exists(game / "GAUGES" / "b.gau"));
}

TEST_F(ArcListTest, NeverWritesOutsideTheGameFolder) {
    const auto zip = package(
        "evil.zip", buildZip({
                        {.name = "../../evil1.gau", .data = "1"},
                        {.name = "/tmp/evil2.gau", .data = "2"},
                        {.name = "C:\\Windows\\evil3.gau", .data = "3"},
                        {.name = "..\\..\\..\\evil4.gau", .data = "4"},
                        {.name = "link.gau", .data = "../../../outside", .unixMode = 0120777},
                        {.name = "dev.gau", .data = "", .unixMode = 0020666},
                        {.name = std::string("ctl\x01.gau"), .data = "c"},
                        {.name = "sub/..", .data = "d"},
                        {.name = "plain.txt", .data = "p"},
                        {.name = "drive.txt", .data = "d"},
                        {.name = "rooted.txt", .data = "r"},
                    }));
    const auto lzh = package("evil.lzh", buildLha({{.name = "lzhlink.gau|/etc/passwd",
                                                    .data = "",
                                                    .method = "-lhd-",
                                                    .level = 2,
                                                    .unixMode = 0120777}}));
    read(zip);
    // The user's own choices cannot lead out either.
    list.fileList.item("sub/..").setShouldInstall(true);
    list.fileList.item("sub/..").setInstallPath("GAUGES\\");
    list.fileList.item("plain.txt").setShouldInstall(true);
    list.fileList.item("plain.txt").setInstallPath("..\\..\\");
    list.fileList.item("drive.txt").setShouldInstall(true);
    list.fileList.item("drive.txt").setInstallPath("C:\\Windows\\");
    list.fileList.item("rooted.txt").setShouldInstall(true);
    list.fileList.item("rooted.txt").setInstallPath("\\tmp\\");
    list.fileList.item("ctl\x01.gau").setInstallPath("GAU\x02GES\\");
    EXPECT_EQ(list.extractArchives(0), kArcEntriesFailed);
    std::map<std::string, std::string> why;
    for (const auto& f : list.extractionFailures())
        why[f.fullPath] = f.reason;
    EXPECT_EQ(why.size(), 7u);
    EXPECT_NE(why["link.gau"].find("symbolic link"), std::string::npos);
    EXPECT_NE(why["dev.gau"].find("device"), std::string::npos);
    EXPECT_NE(why["ctl\x01.gau"].find("control character"), std::string::npos);
    std::map<std::string, ExtractionProblem> problem;
    for (const auto& f : list.extractionFailures())
        problem[f.fullPath] = f.problem;
    EXPECT_EQ(problem, (std::map<std::string, ExtractionProblem>{
                           {"link.gau", ExtractionProblem::Link},
                           {"dev.gau", ExtractionProblem::Device},
                           {"ctl\x01.gau", ExtractionProblem::BadFolderName},
                           {"sub/..", ExtractionProblem::BadName},
                           {"plain.txt", ExtractionProblem::OutsideGame},
                           {"drive.txt", ExtractionProblem::OutsideGame},
                           {"rooted.txt", ExtractionProblem::OutsideGame}}));
    EXPECT_EQ(list.extractArchive(0, "plain.txt", list.cfsPath() + "GAUGES\\..\\..\\"),
              kArcBadDestination);
    EXPECT_EQ(list.extractArchive(0, "plain.txt", list.cfsPath() + "MISSIONS\\"), kArcOk);
    // Names with folders outside were written under their plain name only.
    for (const char* name : {"evil1.gau", "evil2.gau", "evil3.gau", "evil4.gau"})
        EXPECT_TRUE(fs::exists(game / "GAUGES" / name)) << name;

    CfsArcList lha;
    lha.setVersion(2);
    ASSERT_EQ(lha.readArchive(0, lzh.string()), kArcOk);
    lha.fileList.item("lzhlink.gau").setShouldInstall(true);
    lha.fileList.item("lzhlink.gau").setInstallPath("GAUGES\\");
    EXPECT_EQ(lha.extractArchives(0), kArcEntriesFailed);
    EXPECT_EQ(lha.extractArchive(0, "lzhlink.gau", workDirectory()), kArcEntriesFailed);
    EXPECT_EQ(lha.extractArchive(0, "lzhlink.gau", "C:\\Windows\\"), kArcBadDestination);

    // Nothing but the game folder changed: no file named evil*, no link anywhere.
    for (auto it = fs::recursive_directory_iterator(prefix.root()); it != fs::end(it); ++it) {
        EXPECT_FALSE(it->is_symlink() && it->path().filename() != "c:") << it->path();
        if (it->path().filename().string().starts_with("evil") &&
            it->path().extension() == ".gau") {
            EXPECT_EQ(it->path().parent_path(), game / "GAUGES") << it->path();
        }
    }
    EXPECT_FALSE(fs::exists(prefix.root() / "packages" / "plain.txt"));
}

TEST_F(ArcListTest, ReadsMixedNestedArchivesEachInItsOwnFolder) {
    const std::string innerLzh = buildLha({{.name = "ki61\\aircraft.cfg", .data = "lzh cfg"}});
    const std::string innerZipA = buildZip({{.name = "one.gau", .data = "from a"}});
    const std::string innerZipB = buildZip({{.name = "two.gau", .data = "from b"}});
    const auto zip = package("mixed.zip", buildZip({{.name = "inner.lzh", .data = innerLzh},
                                                    {.name = "a/pack.zip", .data = innerZipA},
                                                    {.name = "b/pack.zip", .data = innerZipB}}));
    read(zip);
    const auto nested = nestedArchives(list);
    ASSERT_EQ(nested.size(), 3u);
    for (const CfsArcFile* archive : nested)
        ASSERT_EQ(readNestedArchive(list, 0, *archive), kArcOk) << list.readProblem();
    auto p = places();
    EXPECT_EQ(p["ki61/aircraft.cfg"], "AIRCRAFT\\ki61\\");
    EXPECT_EQ(p["one.gau"], "GAUGES\\");
    EXPECT_EQ(p["two.gau"], "GAUGES\\");
    EXPECT_NE(list.fileList.item("one.gau").sourceArchive(),
              list.fileList.item("two.gau").sourceArchive());

    EXPECT_EQ(list.extractArchives(0), kArcOk);
    EXPECT_EQ(test::readFile(game / "AIRCRAFT" / "ki61" / "aircraft.cfg"), "lzh cfg");
    EXPECT_EQ(test::readFile(game / "GAUGES" / "one.gau"), "from a");
    EXPECT_EQ(test::readFile(game / "GAUGES" / "two.gau"), "from b");

    // And the other way round: an LZH package holding a ZIP archive.
    CfsArcList other;
    other.setVersion(2);
    ASSERT_EQ(other.readArchive(
                  0, package("outer.lzh",
                             buildLha({{.name = "fx.zip",
                                        .data = buildZip({{.name = "smoke.fx", .data = "fx"}})}}))
                         .string()),
              kArcOk);
    ASSERT_EQ(readNestedArchive(other, 0, *nestedArchives(other)[0]), kArcOk);
    EXPECT_EQ(other.extractArchives(0), kArcOk);
    EXPECT_EQ(test::readFile(game / "EFFECTS" / "smoke.fx"), "fx");
}

} // namespace
} // namespace vokari
