#include "aircraft/aircraft_list.h"
#include "platform/error.h"
#include "platform/path_text.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace vokari {
namespace {

using test::sjis;
using test::writeFile;

std::string aircraftCfg(std::string_view title, std::string_view sim = "sim") {
    return sjis("[fltsim.0]\r\ntitle=" + std::string(title) + "\r\nsim=" + std::string(sim) +
                "\r\nmodel=\r\n\r\n[fltsim.1]\r\ntitle=" + std::string(title) +
                " variation\r\n\r\n[General]\r\natc_type=\r\n");
}

class CatalogueTest : public ::testing::Test {
protected:
    test::TestPrefix prefix;
    fs::path game2 = prefix.installGame(2, "C:\\Games\\CFS2");
    fs::path aircraft = game2 / "Aircraft";

    std::vector<std::string> keys(const AircraftList& list) {
        std::vector<std::string> out;
        for (const auto& item : list.aircraftList)
            out.push_back(item.key);
        return out;
    }
};

TEST_F(CatalogueTest, SwitchedOffFilesCountOnlyWhenAskedForAndAircraftCfgWins) {
    writeFile(aircraft / "P51D" / "aircraft.cfg", aircraftCfg("P-51D Mustang", "p51d"));
    writeFile(aircraft / "Me262" / "aircraft.cfg.rst", aircraftCfg("Me 262"));
    writeFile(aircraft / "Both" / "aircraft.cfg", aircraftCfg("Switched on"));
    writeFile(aircraft / "Both" / "aircraft.cfg.rst", aircraftCfg("Switched off"));
    writeFile(aircraft / "NoTitle" / "aircraft.cfg", sjis("[fltsim.0]\r\nsim=x\r\n"));
    writeFile(aircraft / "Blank" / "aircraft.cfg", sjis("[fltsim.0]\r\ntitle=   \t\r\n"));
    writeFile(aircraft / "OtherSection" / "aircraft.cfg", sjis("[fltsim.1]\r\ntitle=Only one\r\n"));
    writeFile(aircraft / "readme.txt", "a plain file is no aircraft");
    fs::create_directories(aircraft / "Empty");

    AircraftList all;
    all.setVersion(2);
    all.readAircrafts(true, false);
    // Listing order (names without regard to case), no sorting of our own.
    EXPECT_EQ(keys(all), (std::vector<std::string>{"Both", "Me262", "P51D"}));
    EXPECT_TRUE(all.aircraftList.item("both").isActive);
    EXPECT_EQ(all.aircraftList.item("Both").title(), "Switched on");
    EXPECT_FALSE(all.aircraftList.item("Me262").isActive);
    const Aircraft& p51 = all.aircraftList.item("P51D");
    EXPECT_EQ(p51.directory(), "P51D");
    EXPECT_EQ(p51.title(), "P-51D Mustang");
    EXPECT_EQ(p51.name(), "p51d");
    EXPECT_EQ(p51.parent(), &all);
    EXPECT_FALSE(p51.isActiveChanged);

    AircraftList on;
    on.setVersion(2);
    on.readAircrafts(false, false);
    EXPECT_EQ(keys(on), (std::vector<std::string>{"Both", "P51D"}));
}

TEST_F(CatalogueTest, NamesMatchWithoutRegardToCaseOnDisk) {
    // The games and add-ons spell the same names in every case.
    const fs::path upper = game2 / "AIRCRAFT";
    writeFile(upper / "p51d" / "Aircraft.CFG",
              sjis("[FLTSIM.0]\r\nTITLE = P-51D ムスタング \r\nSim=p51d\r\n"));
    writeFile(upper / "p51d" / "PANEL" / "Panel.Cfg",
              "[FltSim]\r\nALIAS=Spitfire\\Panel\r\n[WINDOW00]\r\nGAUGE00=cfs2!Speed\r\n");
    writeFile(upper / "p51d" / "Sound" / "SOUND.CFG", "[fltsim]\r\nalias=x\\sound\r\n");
    writeFile(upper / "spit" / "AIRCRAFT.CFG.RST", sjis("[fltsim.0]\r\ntitle=Spit\r\n"));

    AircraftList list;
    list.setVersion(1);
    list.readAircrafts(true, true);
    ASSERT_EQ(list.aircraftList.count(), 0u); // game 1 is not installed

    list.setVersion(2);
    list.readAircrafts(true, true);
    ASSERT_EQ(keys(list), (std::vector<std::string>{"p51d", "spit"}));
    const Aircraft& p51 = list.aircraftList.item("P51D");
    EXPECT_EQ(p51.title(), "P-51D ムスタング");
    EXPECT_TRUE(p51.hasPanel());
    EXPECT_EQ(p51.panelAlias(), "Spitfire");
    EXPECT_EQ(p51.soundAlias(), "x");
    ASSERT_EQ(p51.gaugeList.count(), 1u);
    EXPECT_FALSE(list.aircraftList.item("spit").isActive);
}

TEST_F(CatalogueTest, AliasesKeepTheFolderPartAndMissingFilesReadAsAbsent) {
    writeFile(aircraft / "Borrower" / "aircraft.cfg", aircraftCfg("Borrower"));
    writeFile(aircraft / "Borrower" / "sound" / "sound.cfg",
              "[fltsim]\r\nalias=spitfire\\sound\r\n");
    writeFile(aircraft / "Borrower" / "panel" / "panel.cfg", "[fltsim]\r\nalias=spitfire\r\n");
    writeFile(aircraft / "Deep" / "aircraft.cfg", aircraftCfg("Deep"));
    writeFile(aircraft / "Deep" / "sound" / "sound.cfg", "[fltsim]\r\nalias=a\\b\\sound\r\n");
    writeFile(aircraft / "Own" / "aircraft.cfg", aircraftCfg("Own"));
    writeFile(aircraft / "Own" / "sound" / "sound.cfg",
              "[ENGINE_PARAMS]\r\nmax_volume_rpm=2600\r\n");
    fs::create_directories(aircraft / "Own" / "panel"); // a folder without its file

    AircraftList list;
    list.setVersion(2);
    list.readAircrafts(false, true);
    const Aircraft& borrower = list.aircraftList.item("Borrower");
    EXPECT_EQ(borrower.soundAlias(), "spitfire");
    EXPECT_TRUE(borrower.hasSound());
    EXPECT_EQ(borrower.panelAlias(), ""); // no backslash: no folder part
    EXPECT_TRUE(borrower.hasPanel());
    EXPECT_EQ(list.aircraftList.item("Deep").soundAlias(), "a\\b");
    const Aircraft& own = list.aircraftList.item("Own");
    EXPECT_TRUE(own.hasSound());
    EXPECT_EQ(own.soundAlias(), "");
    EXPECT_FALSE(own.hasPanel());
    EXPECT_FALSE(list.aircraftList.item("Deep").hasPanel());

    // The quick-combat editor's reading leaves the panel and sound data out.
    AircraftList plain;
    plain.setVersion(2);
    plain.readAircrafts(false, false);
    EXPECT_FALSE(plain.aircraftList.item("Borrower").hasSound());
    EXPECT_EQ(plain.aircraftList.item("Borrower").soundAlias(), "");
}

TEST_F(CatalogueTest, GaugesStopAtTheFirstEntryWithoutSeparatorAndAreListedOnce) {
    writeFile(aircraft / "A" / "aircraft.cfg", aircraftCfg("A"));
    writeFile(aircraft / "A" / "panel" / "panel.cfg",
              "[Window00]\r\nfile=panel.bmp\r\ngauge00=cfs!speed, 1, 2\r\ngauge01=cfs!alt, 3, 4\r\n"
              "gauge02=radar\r\ngauge03=after!stop\r\n"
              "[Window01]\r\ngauge01=skipped!no_gauge00\r\n"
              "[Window02]\r\ngauge00=Nav!compass\r\ngauge01=\r\ngauge02=late!x\r\n"
              "[Window99]\r\ngauge00=last!x\r\n"
              "[VCockpit00]\r\ngauge00=vc00!never_asked\r\n"
              "[VCockpit01]\r\ngauge00=CFS!clock\r\ngauge01=nav!radio\r\ngauge02=vc!x\r\n"
              "[Window03]\r\ngauge00=dup!first\r\ngauge00=dup2!second\r\n"
              // a section met again (in any case) is not read; names match in any case
              "[window01]\r\ngauge00=again!no\r\n[WINDOW04]\r\nGAUGE00=Upper!x\r\n");

    AircraftList list;
    list.setVersion(2);
    list.readAircrafts(true, true);
    std::vector<std::string> gauges;
    for (const auto& g : list.aircraftList.item("A").gaugeList)
        gauges.push_back(g.value);
    // Window sections 00 to 99 first, then VCockpit01 to 99; the first spelling stays.
    EXPECT_EQ(gauges, (std::vector<std::string>{"cfs", "Nav", "dup", "Upper", "last", "vc"}));
    EXPECT_TRUE(list.aircraftList.item("A").gaugeList.keyExists("NAV"));
}

TEST_F(CatalogueTest, StockTitlesAreExactPerVersion) {
    writeFile(aircraft / "b17" / "aircraft.cfg", aircraftCfg("B17g"));
    writeFile(aircraft / "lower" / "aircraft.cfg", aircraftCfg("b17g"));
    writeFile(aircraft / "zero" / "aircraft.cfg", aircraftCfg("A6M2 Zero"));
    AircraftList second;
    second.setVersion(2);
    second.readAircrafts(true, false);
    EXPECT_FALSE(second.aircraftList.item("b17").isDefault());
    EXPECT_TRUE(second.aircraftList.item("zero").isDefault());

    AircraftList first;
    first.setVersion(1);
    EXPECT_TRUE(first.isDefaultAircraft("B17g"));
    EXPECT_FALSE(first.isDefaultAircraft("b17g"));
    EXPECT_TRUE(first.isDefaultAircraft("P-51D ムスタング"));
    EXPECT_TRUE(first.isDefaultAircraft("ホーカー ハリケーン Mk I"));
    EXPECT_FALSE(first.isDefaultAircraft("P-51D ﾑｽﾀﾝｸﾞ"));                // half-width katakana
    EXPECT_FALSE(first.isDefaultAircraft("P-51D\xE3\x80\x80ムスタング")); // ideographic space
    EXPECT_FALSE(first.isDefaultAircraft("A6M2 Zero"));
    AircraftList other;
    other.setVersion(3);
    EXPECT_FALSE(other.isDefaultAircraft("B17g"));
}

TEST_F(CatalogueTest, AKeyMetTwiceKeepsTheFirstEntry) {
    writeFile(aircraft / "LEAR45" / "aircraft.cfg", aircraftCfg("Learjet"));
    writeFile(aircraft / "P51D" / "aircraft.cfg", aircraftCfg("P-51D"));
    AircraftList list;
    list.setVersion(2);
    Aircraft& lear = list.addAircraft("lear45");
    EXPECT_TRUE(lear.isActive);
    EXPECT_FALSE(lear.hasPanel());
    lear.setDirectory("lear45");
    lear.setTitle("lear45");
    EXPECT_THROW(list.addAircraft("Lear45"), KeyError);

    list.readAircrafts(true, true);
    EXPECT_EQ(keys(list), (std::vector<std::string>{"lear45", "P51D"}));
    EXPECT_EQ(list.aircraftList.item("lear45").title(), "lear45");
    list.readAircrafts(true, true); // a second reading adds nothing and fails nothing
    EXPECT_EQ(list.aircraftList.count(), 2u);
}

#ifdef _WIN32
// A Japanese folder name is read and switched through the wide-character API whatever the
// system's code page.
TEST_F(CatalogueTest, WindowsJapaneseAircraftFolder) {
    const std::string zero = "零式艦上戦闘機";
    const fs::path folder = aircraft / platform::pathFromUtf8(zero);
    writeFile(folder / "aircraft.cfg", aircraftCfg("零戦"));
    writeFile(aircraft / "P51D" / "aircraft.cfg", aircraftCfg("P-51D"));
    AircraftList list;
    list.setVersion(2);
    list.readAircrafts(true, true);
    EXPECT_EQ(keys(list), (std::vector<std::string>{"P51D", zero}));
    Aircraft& plane = list.aircraftList.item(zero);
    EXPECT_EQ(plane.directory(), zero);
    EXPECT_EQ(plane.title(), "零戦");
    plane.isActive = false;
    plane.isActiveChanged = true;
    list.setActivate();
    EXPECT_FALSE(fs::exists(folder / "aircraft.cfg"));
    EXPECT_EQ(test::readFile(folder / "aircraft.cfg.rst"), aircraftCfg("零戦"));
}
#endif

TEST(AircraftTest, AnAliasCountsAsDataAndFreezesTheExistFlag) {
    Aircraft a;
    EXPECT_TRUE(a.isActive);
    a.setHasSound(false);
    a.setSoundAlias("spitfire");
    EXPECT_TRUE(a.hasSound());
    a.setHasSound(false); // ignored while an alias is set
    EXPECT_TRUE(a.hasSound());
    a.setSoundAlias("");
    EXPECT_TRUE(a.hasSound()); // clearing the alias leaves the flag
    a.setHasSound(false);
    EXPECT_FALSE(a.hasSound());

    a.setPanelAlias("p51d");
    a.setHasPanel(false);
    EXPECT_TRUE(a.hasPanel());
    EXPECT_EQ(a.panelAlias(), "p51d");
}

} // namespace
} // namespace vokari
