#include "aircraft/alias_rules.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace vokari {
namespace {

using test::writeFile;

std::vector<std::string> keys(const AircraftList& list) {
    std::vector<std::string> out;
    for (const auto& item : list.aircraftList)
        out.push_back(item.key);
    return out;
}

TEST(AliasRulesTest, Lear45IsListedFirstForTheFirstGameUnlessARealAircraftLivesThere) {
    test::TestPrefix prefix;
    const fs::path game1 = prefix.installGame(1, "C:\\Games\\CFS") / "Aircraft";
    const fs::path game2 = prefix.installGame(2, "C:\\Games\\CFS2") / "Aircraft";
    for (const fs::path& folder : {game1, game2}) {
        writeFile(folder / "P51D" / "aircraft.cfg", "[fltsim.0]\r\ntitle=P-51D\r\n");
        writeFile(folder / "LEAR45" / "sound" / "sound.cfg", "[fltsim]\r\n");
    }
    AircraftList first;
    first.setVersion(1);
    readAliasAircrafts(first);
    EXPECT_EQ(keys(first), (std::vector<std::string>{"lear45", "P51D"}));
    const Aircraft& lear = first.aircraftList.item("lear45");
    EXPECT_EQ(lear.title(), "lear45");
    EXPECT_EQ(lear.name(), "リアジェット");
    EXPECT_FALSE(canLendAlias(lear, AliasKind::Sound)) << "its files are not read";
    EXPECT_TRUE(hasAliasFolder(first, lear, AliasKind::Sound));
    EXPECT_FALSE(hasAliasFolder(first, lear, AliasKind::Panel));

    AircraftList second;
    second.setVersion(2);
    readAliasAircrafts(second);
    EXPECT_EQ(keys(second), (std::vector<std::string>{"P51D"}));

    // A switched-off aircraft there is not listed, so the pseudo-aircraft stands in for it; a
    // switched-on one is listed as itself, once.
    writeFile(game1 / "LEAR45" / "aircraft.cfg.rst", "[fltsim.0]\r\ntitle=Learjet 45\r\n");
    AircraftList off;
    off.setVersion(1);
    readAliasAircrafts(off);
    EXPECT_EQ(off.aircraftList.item("lear45").title(), "lear45");
    fs::rename(game1 / "LEAR45" / "aircraft.cfg.rst", game1 / "LEAR45" / "aircraft.cfg");
    AircraftList real;
    real.setVersion(1);
    readAliasAircrafts(real);
    EXPECT_EQ(real.aircraftList.count(), 2u);
    EXPECT_EQ(real.aircraftList.item("lear45").title(), "Learjet 45");
    EXPECT_TRUE(canLendAlias(real.aircraftList.item("lear45"), AliasKind::Sound));
}

} // namespace
} // namespace vokari
