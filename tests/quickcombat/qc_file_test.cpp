#include "frame/installation.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/path_text.h"
#include "platform/text.h"
#include "quickcombat/qc_file.h"
#include "support/fixtures.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace vokari {
namespace {

using test::readFile;
using test::sjis;
using test::writeFile;
using ::testing::HasSubstr;

std::string lines(std::initializer_list<std::string_view> list, std::string_view end = "\r\n") {
    std::string out;
    for (std::string_view line : list)
        out.append(line).append(end);
    return out;
}

// A game folder in a temporary folder, reached through a host path as a user's --file would.
class QCFileTest : public ::testing::Test {
protected:
    const std::string rel = "QuickCom\\qc_plane.qcb";
    std::string folder() const { return platform::utf8Of(dir_.path() / ""); }
    fs::path file() const { return dir_ / "QuickCom" / "qc_plane.qcb"; }
    fs::path backup() const { return dir_ / "QuickCom" / "qc_plane.qcb.bak"; }

    std::unique_ptr<QcGroups> read(std::string_view bytes) {
        writeFile(file(), bytes);
        std::unique_ptr<QcGroups> doc;
        readQCFile(doc, folder(), rel);
        return doc;
    }
    // What the writer makes of a file.
    std::string normalized(std::string_view bytes) {
        auto doc = read(bytes);
        writeQCFile(*doc, folder(), rel);
        return readFile(file());
    }
    // The reader's failure for a file; the document keeps what was read before it.
    std::string failure(std::string_view bytes, std::unique_ptr<QcGroups>& doc) {
        writeFile(file(), bytes);
        try {
            readQCFile(doc, folder(), rel);
        } catch (const FormatError& e) {
            return e.what();
        }
        ADD_FAILURE() << "no failure for:\n" << bytes;
        return {};
    }

    test::TempDir dir_;
};

const std::string kExample = lines({"",
                                    "[option.0]",
                                    "OptionName=%VokariGrpOption00001%",
                                    "aircraft.0=Bf109E",
                                    "family_type.0=1",
                                    "name.0=%Bf109EName%",
                                    "",
                                    "aircraft.1=Ju87",
                                    "family_type.1=2",
                                    "name.1=%Ju87Name%",
                                    "",
                                    "[player default aircraft]",
                                    "aircraft=",
                                    "GunAmmo=0",
                                    "CannonAmmo=0",
                                    "",
                                    "[strings]",
                                    "\"VokariGrpOption00001\" = Group A",
                                    "\"Bf109EName\" = Bf 109E",
                                    "\"Ju87Name\" = Ju 87"});

TEST_F(QCFileTest, WritesTheCanonicalLayoutByteForByte) {
    QcGroups doc;
    QcGroup& group = doc.addGroup();
    doc.addString("VokariGrpOption00001", "Group A");
    doc.addPlane(group.groupId(), "Bf109E", "Bf 109E");
    doc.addPlane(group.groupId(), "Ju87", "Ju 87").setAircraftType(kQCBomber);
    fs::create_directories(file().parent_path());
    writeQCFile(doc, folder(), rel);
    EXPECT_EQ(readFile(file()), kExample);
    EXPECT_FALSE(fs::exists(backup())); // nothing to back up yet

    // Read back, only the never-set default aircraft changes: empty means the fallback.
    EXPECT_EQ(normalized(kExample),
              replaceAll(kExample, "aircraft=\r\n",
                         "aircraft=" + sjis("スピットファイア Mk I") + "\r\n"));
}

TEST_F(QCFileTest, ReadsLenientlyAndWritesBackNormalised) {
    const std::string out =
        normalized(lines({"[OPTION.5]", "  OptionName = %A%  ", "Aircraft.3=X"}));
    EXPECT_EQ(out, lines({"", "[option.0]", "OptionName=%A%", "aircraft.0=X", "family_type.0=1",
                          "name.0=", "", "[player default aircraft]", "aircraft=", "GunAmmo=0",
                          "CannonAmmo=0", "", "[strings]"}));

    // Header case, spaces before keys and dots, keys without numbers, numbers out of order.
    auto doc =
        read(lines({"  [Option.9] anything", "optionname.7=G", "AIRCRAFT . 2 = P38F",
                    "FAMILY_TYPE=2", "Name.0 = Lightning = P-38", " [STRINGS]", "  \"k\" = v "}));
    ASSERT_EQ(doc->groups().count(), 1u);
    const QcGroup& group = *doc->groups().begin()->value;
    EXPECT_EQ(group.defineName(), "G");
    const QcPlane& plane = doc->planes().item("P38F");
    EXPECT_EQ(plane.aircraftType(), kQCBomber);
    EXPECT_EQ(plane.viewName(), "Lightning = P-38");
    EXPECT_EQ(doc->getString("k"), "v");
}

TEST_F(QCFileTest, LiteralNamesBecomeAliasesWithTheirStrings) {
    const std::string out =
        normalized(lines({"[option.0]", "OptionName=Literal group", "aircraft.0=Spit",
                          "name.0=Spitfire", "[strings]", "\"Other\" = first"}));
    EXPECT_THAT(out, HasSubstr("\r\nOptionName=Literal group\r\n")); // a group's name stays
    EXPECT_THAT(out, HasSubstr("\r\nname.0=%SpitName%\r\n"));
    // The name was given before the strings section was read.
    EXPECT_THAT(out, HasSubstr("[strings]\r\n\"SpitName\" = Spitfire\r\n\"Other\" = first\r\n"));
}

TEST_F(QCFileTest, StringsKeysInThreeSpellingsAndWithDots) {
    auto doc = read(lines({"[strings]", "KEY1 = a", "%KEY2% = b", "\"KEY3\" = \"c\"", "%KEY4 = d",
                           "\"\" = lost", "% = lost too", "[option.0]", "OptionName=%Mk.IIName%",
                           "aircraft.0=Mk.II", "name.0=%Mk.IIName%", "[strings]",
                           "\"Mk.IIName\" = Spitfire Mk.II"}));
    EXPECT_EQ(doc->getString("KEY1"), "a");
    EXPECT_EQ(doc->getString("KEY2"), "b");
    EXPECT_EQ(doc->getString("KEY3"), "\"c\""); // values keep their quotes
    EXPECT_EQ(doc->getString("KEY"), "d");      // the last character goes whatever it is
    EXPECT_EQ(doc->stringList().count(), 5);
    EXPECT_EQ(doc->planes().item("Mk.II").viewName(), "Spitfire Mk.II");
    EXPECT_EQ(doc->groups().begin()->value->viewName(), "Spitfire Mk.II");

    EXPECT_EQ(unquoteKey(""), "");
    EXPECT_EQ(unquoteKey("\""), "");
    EXPECT_EQ(unquoteKey("\"a"), "");
    EXPECT_EQ(unquoteKey("a\""), "a\"");
}

TEST_F(QCFileTest, SharedEntryTakesTheTypeAndNameReadLast) {
    auto doc = read(lines({"[option.0]", "OptionName=%G1%", "aircraft.0=X", "family_type.0=1",
                           "name.0=First", "[option.1]", "OptionName=%G2%", "aircraft.0=x",
                           "family_type.0=2", "name.0=Second"}));
    EXPECT_EQ(doc->planes().count(), 1u);
    for (const auto& group : doc->groups()) {
        const QcPlane& plane = *group.value->planes().item("X");
        EXPECT_EQ(plane.aircraftType(), kQCBomber);
        EXPECT_EQ(plane.viewName(), "Second");
        EXPECT_EQ(plane.aircraftPath(), "x"); // the later spelling of the folder
    }
}

TEST_F(QCFileTest, EntriesFollowTheLatestLinesAcrossHeaders) {
    // A header of another section does not end the group; OptionName does not end the entry.
    auto doc = read(lines({"[option.0]", "OptionName=%G1%", "aircraft.0=A", "[unknown]",
                           "aircraft.1=B", "OptionName=%G2%", "family_type.0=2",
                           "; aircraft.0=Commented", ";x=1", "aircraft.0=C"}));
    ASSERT_EQ(doc->groups().count(), 2u);
    EXPECT_EQ(doc->group(1).planes().count(), 2u);
    EXPECT_EQ(doc->group(2).planes().count(), 1u);
    EXPECT_EQ(doc->planes().item("B").aircraftType(), kQCBomber);
    EXPECT_FALSE(doc->planes().keyExists("Commented"));
}

TEST_F(QCFileTest, Defaults) {
    // No defaults section: the defaults are written empty.
    EXPECT_THAT(
        normalized(lines({"[option.0]", "OptionName=%G%"})),
        HasSubstr("[player default aircraft]\r\naircraft=\r\nGunAmmo=0\r\nCannonAmmo=0\r\n"));

    // An empty name means the game's fallback aircraft; text is CP932 on disk.
    const std::string out = normalized(
        lines({"[player default aircraft]", "aircraft=", "gunammo=300", "CANNONAMMO.x=-2"}));
    EXPECT_THAT(out, HasSubstr("aircraft=" + sjis("スピットファイア Mk I") +
                               "\r\nGunAmmo=300\r\nCannonAmmo=-2\r\n"));
}

TEST_F(QCFileTest, NumbersRoundHalvesToEven) {
    auto doc =
        read(lines({"[option.0]", "OptionName=%G%", "aircraft.0=A", "family_type.0=1.5",
                    "aircraft.1=B", "family_type.1=2.5", "aircraft.2=C", "family_type.2=+1.49",
                    "aircraft.3=D", "family_type.3=-0", "aircraft.4=E", "family_type.4=20e-1",
                    "[player default aircraft]", "GunAmmo=12.5", "CannonAmmo=13.5"}));
    EXPECT_EQ(doc->planes().item("A").aircraftType(), 2);
    EXPECT_EQ(doc->planes().item("B").aircraftType(), 2);
    EXPECT_EQ(doc->planes().item("C").aircraftType(), 1);
    EXPECT_EQ(doc->planes().item("D").aircraftType(), 1); // 0 is no type: kept
    EXPECT_EQ(doc->planes().item("E").aircraftType(), 2);
    EXPECT_EQ(doc->defaultpGunAmmo(), 12);
    EXPECT_EQ(doc->defaultpCannonAmmo(), 14);
}

TEST_F(QCFileTest, ReaderFailuresNameFileAndLineAndKeepWhatWasRead) {
    const std::string head =
        lines({"; groups", "[option.0]", "OptionName=%G%", "aircraft.0=A", "name.0=Alpha"});
    std::unique_ptr<QcGroups> doc;
    for (const char* bad :
         {"family_type.0=", "family_type.0=fighter", "family_type.0=32768", "family_type.0=32767.5",
          "family_type.0=1,5", "family_type.0=0x1", "family_type.0=inf"}) {
        const std::string message = failure(head + lines({bad, "aircraft.1=B"}), doc);
        EXPECT_THAT(message, HasSubstr("qc_plane.qcb, line 6: family_type")) << bad;
        ASSERT_TRUE(doc) << bad;
        EXPECT_EQ(doc->planes().item("A").viewName(), "Alpha") << bad;
        EXPECT_FALSE(doc->planes().keyExists("B")) << bad;
    }
    EXPECT_THAT(
        failure(lines({"[player default aircraft]", "aircraft=Zero", "GunAmmo=2147483648"}), doc),
        HasSubstr("line 3: GunAmmo"));
    EXPECT_EQ(doc->defaultPlaneName(), "Zero");
    EXPECT_THAT(failure(lines({"[player default aircraft]", "CannonAmmo=many"}), doc),
                HasSubstr("line 2: CannonAmmo"));

    EXPECT_THAT(failure(lines({"[option.0]", "aircraft.0=A"}), doc),
                HasSubstr("line 2: an aircraft line comes before any OptionName line"));
    EXPECT_THAT(failure(lines({"[option.0]", "OptionName=%G%", "family_type.0=1"}), doc),
                HasSubstr("line 3: a family_type line"));
    EXPECT_THAT(failure(lines({"[option.0]", "OptionName=%G%", "name.0=x"}), doc),
                HasSubstr("line 3: a name line"));
    EXPECT_EQ(doc->groups().count(), 1u);
}

TEST_F(QCFileTest, MissingFileFailsWithItsName) {
    std::unique_ptr<QcGroups> doc;
    try {
        readQCFile(doc, folder(), rel);
        FAIL() << "read a missing file";
    } catch (const IoError& e) {
        EXPECT_THAT(e.what(), HasSubstr(folder() + rel));
    }
    ASSERT_TRUE(doc);
    EXPECT_TRUE(doc->groups().empty());
    EXPECT_EQ(doc->unreadFromLine(), std::nullopt) << "nothing to lose: a save makes the file";

    // One that is there but cannot be read is no empty file: a save must not pass for one.
    fs::create_directories(file());
    EXPECT_THROW(readQCFile(doc, folder(), rel), IoError);
    EXPECT_EQ(doc->unreadFromLine(), 1);
}

TEST_F(QCFileTest, LineEndsAndLineNumbers) {
    // CR alone and LF alone end lines as CR LF does; the line number counts each.
    const std::string mixed = "[option.0]\rOptionName=%G%\naircraft.0=A\r\nfamily_type.0=2\r"
                              "aircraft.1=B\n\nfamily_type.1=x";
    std::unique_ptr<QcGroups> doc;
    EXPECT_THAT(failure(mixed, doc), HasSubstr("line 7: family_type"));
    EXPECT_EQ(doc->planes().item("A").aircraftType(), kQCBomber);
    EXPECT_TRUE(doc->planes().keyExists("B"));
}

// The file is read a block at a time: a CR LF split between two blocks ends one line, and a
// line split between them reads whole.
TEST_F(QCFileTest, LinesAcrossReadBlocksReadAsWhole) {
    constexpr size_t kBlock = 256 * 1024;
    std::string text = "[option.0]\r\nOptionName=%G%\r\n";
    int line = 2;
    const auto commentUpTo = [&](size_t size) {
        text += ";" + std::string(size - text.size() - 3, 'x') + "\r\n";
        ++line;
    };
    commentUpTo(kBlock - 13);
    text += "aircraft.0=A\r\n"; // its CR ends the first block
    commentUpTo(2 * kBlock - 5);
    text += "aircraft.1=Bravo\r\n"; // across the second boundary
    commentUpTo(3 * kBlock);
    text += "aircraft.2=C\r\nfamily_type.2=x"; // the fourth block begins a line
    line += 4;
    std::unique_ptr<QcGroups> doc;
    EXPECT_THAT(failure(text, doc), HasSubstr("line " + std::to_string(line) + ": family_type"));
    EXPECT_EQ(doc->planes().count(), 3u);
    EXPECT_TRUE(doc->planes().keyExists("Bravo"));
    EXPECT_TRUE(doc->planes().keyExists("C"));
}

TEST_F(QCFileTest, RoundTripIsStableAfterTheFirstNormalisation) {
    const std::string messy =
        sjis("junk before any header\r\n[Option.3]\r\nOptionName=%VokariGrpOption00001%\r\n"
             "aircraft.9=a6m2\r\nfamily_type.9=1\r\nname.9=零戦\r\nextra=lost\r\n"
             "[option.4]\r\nOptionName=Literal\r\naircraft.0=D3A1\r\nfamily_type.0=2\r\n"
             "name.0=%D3A1Name%\r\naircraft.1=A6M2\r\nname.1=零式艦上戦闘機\r\n\r\n"
             "[player default aircraft]\r\naircraft=A6M2 Zero\r\nGunAmmo=500\r\n"
             "[strings]\r\n%VokariGrpOption00001% = 日本海軍\r\nD3A1Name = 九九式\r\n"
             "\"empty\" =\r\n");
    const std::string first = normalized(messy);
    const std::string second = normalized(first);
    EXPECT_EQ(second, first);
    EXPECT_EQ(normalized(second), first);
    // The later spelling of the shared folder names its string.
    EXPECT_THAT(first, HasSubstr(sjis("[strings]\r\n\"A6M2Name\" = 零式艦上戦闘機\r\n")));
    EXPECT_THAT(first, HasSubstr("\"empty\" = \r\n"));
    EXPECT_THAT(first, HasSubstr("name.0=%A6M2Name%\r\n\r\nextra=lost\r\n")); // in its group
}

// What the writer adds after the groups when the file has no defaults: the first write leaves
// the default aircraft empty, which reads back as the game's fallback.
std::string defaultsAndStrings(std::initializer_list<std::string_view> keptDefaults = {}) {
    return lines({"[player default aircraft]", "aircraft=", "GunAmmo=0", "CannonAmmo=0"}) +
           lines(keptDefaults) + lines({"", "[strings]"});
}

TEST_F(QCFileTest, LinesTheDocumentDoesNotReadAreKeptInTheirPart) {
    const std::string group =
        lines({"", "[option.0]", "OptionName=G", "aircraft.0=A", "family_type.0=1", "name.0=", ""});
    const struct {
        const char* what;
        std::string file;
        std::string written;
    } cases[] = {
        {"lines before the first header stay at the top",
         lines({"; made by hand", "junk", "[Extra]", "x=1", "[option.0]", "OptionName=G",
                "aircraft.0=A"}),
         lines({"; made by hand", "junk", "[Extra]", "x=1"}) + group + defaultsAndStrings()},
        {"a group's comments and unknown keys follow its entries, lines before its name too",
         lines({"[option.0]", "; about G", "OptionName=G", "Color = red", "aircraft.0=A",
                "  ; indented", "no equals sign"}),
         group + lines({"; about G", "Color = red", "  ; indented", "no equals sign"}) +
             defaultsAndStrings()},
        {"an unknown section after a group stays with it; the keys the group reads go to it",
         lines({"[option.0]", "OptionName=G", "[Extra]", "Mode=1", "aircraft.0=A",
                "[player default aircraft]", "aircraft=Zero"}),
         group + lines({"[Extra]", "Mode=1", "[player default aircraft]", "aircraft=Zero",
                        "GunAmmo=0", "CannonAmmo=0", "", "[strings]"})},
        {"the defaults' own lines follow the known keys",
         lines({"[player default aircraft]", "Fuel=50", "; c", "aircraft=Zero", "[Extra]"}),
         lines({"[player default aircraft]", "aircraft=Zero", "GunAmmo=0", "CannonAmmo=0",
                "Fuel=50", "; c", "[Extra]", "", "[strings]"})},
        {"the strings' own lines and an unknown section after them follow the strings",
         lines({"[strings]", "; c", "\"a\" = b", "\"\" = no key", "[Extra]", "c = d", "; e"}),
         defaultsAndStrings() +
             lines({"\"a\" = b", "\"c\" = d", "; c", "\"\" = no key", "[Extra]", "; e"})},
        {"kept lines are the file's own bytes, whatever they hold",
         "; " + sjis("零戦") + " \x82 \xFF" + std::string(1, '\0') + "\r\n[option.0]\r\n" +
             "OptionName=G\r\naircraft.0=A\r\nNote=\x85\x40\r\n",
         "; " + sjis("零戦") + " \x82 \xFF" + std::string(1, '\0') + "\r\n" + group +
             "Note=\x85\x40\r\n" + defaultsAndStrings()},
    };
    const std::string fallback = "aircraft=" + sjis(QcGroups::kFallbackPlaneName);
    for (const auto& c : cases) {
        const std::string first = normalized(c.file);
        EXPECT_EQ(first, c.written) << c.what;
        // Written again, only the default aircraft's first write settles.
        const std::string settled = replaceAll(first, "aircraft=\r\n", fallback + "\r\n");
        EXPECT_EQ(normalized(first), settled) << c.what;
        EXPECT_EQ(normalized(settled), settled) << c.what;
    }
}

TEST_F(QCFileTest, ARemovedGroupOrEntryTakesOnlyTheStringsMadeForIt) {
    auto doc = read(lines({"; about %KeptName%",
                           "[option.0]",
                           "OptionName=%VokariGrpOption00001%",
                           "aircraft.0=A",
                           "name.0=%AName%",
                           "aircraft.1=Shared",
                           "name.1=%SharedName%",
                           "aircraft.2=Kept",
                           "name.2=%KeptName%",
                           "aircraft.3=Own",
                           "name.3=%Custom%",
                           "[option.1]",
                           "OptionName=%VokariGrpOption00002%",
                           "aircraft.0=Shared",
                           "aircraft.1=B",
                           "name.1=%BName%",
                           "aircraft.2=C",
                           "name.2=%VokariGrpOption00001%",
                           "Note=1",
                           "[strings]",
                           "\"VokariGrpOption00001\" = G1",
                           "\"AName\" = Alpha",
                           "\"SharedName\" = Shared",
                           "\"KeptName\" = Kept",
                           "\"Custom\" = Own",
                           "\"VokariGrpOption00002\" = G2",
                           "\"BName\" = Bravo",
                           "; end"}));
    doc->removeGroup(1);
    doc->removePlane(2, "b");
    writeQCFile(*doc, folder(), rel);
    // Gone: the names of A and B, which no one else held. Kept: group 1's name (C's name
    // refers to it), the name of an entry group 2 still holds, a string a kept line names, a
    // string Vokari did not make for the entry that used it, and every kept line.
    EXPECT_EQ(
        readFile(file()),
        lines({"; about %KeptName%", "", "[option.0]", "OptionName=%VokariGrpOption00002%",
               "aircraft.0=Shared", "family_type.0=1", "name.0=%SharedName%", "", "aircraft.1=C",
               "family_type.1=1", "name.1=%VokariGrpOption00001%", "", "Note=1"}) +
            defaultsAndStrings() +
            lines({"\"VokariGrpOption00001\" = G1", "\"SharedName\" = Shared",
                   "\"KeptName\" = Kept", "\"Custom\" = Own", "\"VokariGrpOption00002\" = G2",
                   "; end"}));
}

// An editor's undo keeps copies: a copy writes the file its document would, and no edit of
// either reaches the other.
TEST_F(QCFileTest, ACopyOfTheDocumentWritesTheSameFileAndStaysApart) {
    auto doc = read(lines({"; head", "[option.0]", "OptionName=%VokariGrpOption00002%",
                           "Color = red", "aircraft.0=A", "family_type.0=2", "name.0=Alpha",
                           "[option.1]", "OptionName=Literal", "aircraft.0=A",
                           "[player default aircraft]", "aircraft=Zero", "GunAmmo=5", "Fuel=50",
                           "[strings]", "\"VokariGrpOption00002\" = Second", "; tail"}));
    const std::string bytes = qcFileBytes(*doc, folder(), rel);
    const auto copy = doc->clone();
    EXPECT_EQ(qcFileBytes(*copy, folder(), rel), bytes);

    doc->findPlane("A")->setAircraftType(kQCFighter);
    doc->addString("AName", "Changed");
    doc->removeGroup(2);
    doc->addPlane(1, "B", "Bravo");
    EXPECT_EQ(qcFileBytes(*copy, folder(), rel), bytes);
    EXPECT_EQ(copy->findPlane("A")->viewName(), "Alpha");
    EXPECT_EQ(copy->group(1).viewName(), "Second");

    // The copy's groups share its own entry; its next group takes the id and alias the
    // original's would.
    copy->group(2).planes().item("A")->setAircraftType(kQCFighter);
    EXPECT_EQ(copy->group(1).planes().item("A")->aircraftType(), kQCFighter);
    const QcGroup& next = copy->addGroup();
    EXPECT_EQ(next.groupId(), 3);
    EXPECT_EQ(next.defineName(), "%VokariGrpOption00001%");
    EXPECT_EQ(doc->groups().count(), 1u);
}

TEST_F(QCFileTest, ADocumentReadInPartIsWrittenOnlyWhenSaidSo) {
    const std::string bad = lines({"[option.0]", "OptionName=G", "aircraft.0=A", "[option.1]",
                                   "; about H", "family_type.0=x", "OptionName=H"});
    std::unique_ptr<QcGroups> doc;
    EXPECT_THAT(failure(bad, doc), HasSubstr("line 6: family_type"));
    EXPECT_EQ(doc->unreadFromLine(), 6);
    try {
        writeQCFile(*doc, folder(), rel);
        ADD_FAILURE() << "wrote a document read in part";
    } catch (const FormatError& e) {
        EXPECT_THAT(e.what(), HasSubstr("read only up to line 6, so saving would lose line 6"));
    }
    EXPECT_EQ(readFile(file()), bad);
    EXPECT_FALSE(fs::exists(backup()));

    // Said so, what was read is written, the lines before the faulty one that waited for a
    // group too.
    writeQCFile(*doc, folder(), rel, PartialDocument::Write);
    EXPECT_EQ(readFile(backup()), bad);
    EXPECT_THAT(readFile(file()), HasSubstr("name.0=\r\n\r\n; about H\r\n[player"));
    EXPECT_EQ(read(readFile(file()))->unreadFromLine(), std::nullopt) << "read whole";
}

TEST_F(QCFileTest, ATextThatDoesNotDecodeIsRefused) {
    std::unique_ptr<QcGroups> doc;
    const std::string head = lines({"[option.0]", "OptionName=G", "aircraft.0=A"});
    const std::string undecodable = "a text does not decode in code page CP932: ";
    const struct {
        std::string line;
        std::string failure;
    } cases[] = {
        {"name.0=Lone \x82", "line 4: " + undecodable + "\"Lone \xEF\xBF\xBD\""},
        {"  NAME.0 = \xA0", "line 4: " + undecodable},
        {std::string("aircraft.1=B\0C", 14), "line 4: a text holds a NUL byte: \"B\\0C\""},
        {"[strings]\r\n\"k\" = \xFF", "line 5: " + undecodable},
        {"[strings]\r\n\x80 = v", "line 5: " + undecodable},
        {"[player default aircraft]\r\nGunAmmo=5\x81", "line 5: " + undecodable + "\"5"},
    };
    for (const auto& c : cases)
        EXPECT_THAT(failure(head + c.line + "\r\n", doc), HasSubstr("qc_plane.qcb, " + c.failure))
            << c.line;

    // Another code page: its texts decode as they are taken, a byte it lacks is refused.
    struct Restore {
        std::string codePage = platform::ansiCodePage();
        ~Restore() { platform::setAnsiCodePage(codePage); }
    } restore;
    platform::setAnsiCodePage("CP1252");
    doc = read(lines({"[option.0]", "OptionName=Caf\xE9", "; \x81 kept"}));
    EXPECT_EQ(doc->groups().begin()->value->defineName(), "Caf\xC3\xA9");
    EXPECT_THAT(failure(lines({"[option.0]", "OptionName=\x81"}), doc),
                HasSubstr("line 2: a text does not decode in code page CP1252"));
}

// Everything a document holds, in order, as text.
std::string dump(const QcGroups& doc) {
    std::string out;
    for (const auto& group : doc.groups()) {
        out += "group " + std::to_string(group.value->groupId()) + " " + group.value->defineName() +
               "\n";
        for (const auto& plane : group.value->planes())
            out += "  " + plane.value->aircraftPath() + " " +
                   std::to_string(plane.value->aircraftType()) + " [" + plane.value->defineName() +
                   "]\n";
    }
    // A default aircraft never named is written empty, which reads as the game's fallback.
    const std::string_view plane = doc.defaultPlaneName().empty()
                                       ? QcGroups::kFallbackPlaneName
                                       : std::string_view(doc.defaultPlaneName());
    out += "default " + std::string(plane) + " " + std::to_string(doc.defaultpGunAmmo()) + " " +
           std::to_string(doc.defaultpCannonAmmo()) + "\n";
    for (const auto& entry : doc.stringList().entries())
        out += "string [" + entry.key + "] [" + entry.value + "]\n";
    return out;
}

TEST_F(QCFileTest, AReadAfterAWriteGivesBackTheDocument) {
    // A nameless entry stays nameless, even when the strings hold its folder's key; a strings
    // key with "=" (from the folder P51=D) is read whole.
    auto doc = read(lines({"[option.0]", "OptionName=G", "aircraft.0=X", "aircraft.1=P51=D",
                           "name.1=Mustang", "[strings]", "\"XName\" = taken"}));
    EXPECT_EQ(doc->planes().item("X").defineName(), "");
    EXPECT_EQ(doc->planes().item("P51=D").viewName(), "Mustang");
    const std::string before = dump(*doc);
    writeQCFile(*doc, folder(), rel);
    std::unique_ptr<QcGroups> again;
    readQCFile(again, folder(), rel);
    EXPECT_EQ(dump(*again), before);

    // The same for every input kept for the fuzz targets.
    int inputs = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(VOKARI_FUZZ_REGRESSIONS) / "qc")) {
        ++inputs;
        auto first = read(readFile(entry.path()));
        writeQCFile(*first, folder(), rel);
        std::unique_ptr<QcGroups> second;
        readQCFile(second, folder(), rel);
        EXPECT_TRUE(dump(*second) == dump(*first)) << entry.path();
    }
    EXPECT_GE(inputs, 3);
}

TEST_F(QCFileTest, ASaveRefusedNamesTheText) {
    fs::create_directories(file().parent_path());
    const auto refusal = [this](const QcGroups& doc) {
        try {
            writeQCFile(doc, folder(), rel);
        } catch (const FormatError& e) {
            return std::string(e.what());
        }
        return std::string("saved");
    };
    QcGroups doc;
    doc.addGroup();
    doc.addGroup().setDefineName("Zero \xF0\x9F\x98\x80");
    EXPECT_THAT(refusal(doc),
                HasSubstr("the name of group 2 \"Zero \xF0\x9F\x98\x80\" has characters "
                          "with no form in code page CP932: \xF0\x9F\x98\x80"));
    doc.group(2).setDefineName("Zero");
    doc.addPlane(2, "Spit", "Spitfire \xF0\x9F\x98\x80");
    EXPECT_THAT(refusal(doc), HasSubstr("string \"SpitName\" has characters"));
    doc.addString("SpitName", "Spitfire");
    // A line break would write lines of its own; a quote and "=" would cut a key short.
    doc.addPlane(1, "Bad\nFolder");
    EXPECT_THAT(refusal(doc), HasSubstr("an aircraft folder in group 1 \"\" holds a line break"));
    doc.group(1).removePlane("Bad\nFolder");
    doc.addString("a\" =b", "x");
    EXPECT_THAT(refusal(doc), HasSubstr("the key of string \"a\" =b\""));
    doc.stringList().remove("a\" =b");
    EXPECT_EQ(refusal(doc), "saved");
    EXPECT_FALSE(fs::exists(backup()));
}

TEST(QCFileBackup, FirstSaveKeepsTheOriginalAsBackup) {
    test::TestPrefix prefix;
    const fs::path host = prefix.installGame(kGameCfs2, "C:\\Games\\CFS2");
    const std::string original = "[option.0]\nOptionName=%G%\naircraft.0=A\n"; // LF, no strings
    writeFile(host / "QuickCom" / "qc_plane.qcb", original);
    fs::last_write_time(host / "QuickCom" / "qc_plane.qcb",
                        fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    // As the file system keeps it (Windows' C library sets whole seconds only).
    const auto date = fs::last_write_time(host / "QuickCom" / "qc_plane.qcb");
    const std::string game = gameFolder(kGameCfs2);

    std::unique_ptr<QcGroups> doc;
    readQCFile(doc, game, quickCombatFileName());
    writeQCFile(*doc, game, quickCombatFileName());
    // The file's own bytes and date.
    const std::string backupBytes = readFile(host / "QuickCom" / "qc_plane.qcb.bak");
    EXPECT_EQ(backupBytes, original);
    EXPECT_EQ(fs::last_write_time(host / "QuickCom" / "qc_plane.qcb.bak"), date);

    doc->addGroup();
    writeQCFile(*doc, game, quickCombatFileName());
    EXPECT_EQ(readFile(host / "QuickCom" / "qc_plane.qcb.bak"), backupBytes);
    EXPECT_THAT(readFile(host / "QuickCom" / "qc_plane.qcb"), HasSubstr("[option.1]"));
}

TEST_F(QCFileTest, FailedWriteLeavesTheFileWhole) {
    const std::string original = lines({"[option.0]", "OptionName=%G%"});
    auto doc = read(original);

    // A text the code page cannot hold: nothing on disk changes.
    doc->addString("k", "😀");
    EXPECT_THROW(writeQCFile(*doc, folder(), rel), FormatError);
    EXPECT_EQ(readFile(file()), original);
    doc->stringList().remove("k");

    // A read-only file is refused, as on Windows, after the backup.
    fs::permissions(file(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_THROW(writeQCFile(*doc, folder(), rel), IoError);
    EXPECT_EQ(readFile(file()), original);
    EXPECT_EQ(readFile(backup()), original);

    // No QuickCom folder: nothing is created.
    const std::string other = platform::utf8Of(dir_ / "elsewhere" / "");
    EXPECT_THROW(writeQCFile(*doc, other, rel), IoError);
    EXPECT_FALSE(fs::exists(dir_ / "elsewhere"));
}

TEST_F(QCFileTest, FullDiskLeavesTheFileWhole) {
    VOKARI_POSIX_ONLY("the file-size limit (RLIMIT_FSIZE)");
    const std::string original = lines({"[option.0]", "OptionName=%G%"});
    auto doc = read(original);
    // The disk fills up half way through: the old file stays whole.
    for (int i = 0; i < 50; ++i)
        doc->addString("filler" + std::to_string(i), std::string(40, 'x'));
    {
        test::FileSizeLimit limit(original.size() + 100);
        EXPECT_THROW(writeQCFile(*doc, folder(), rel), IoError);
    }
    EXPECT_EQ(readFile(file()), original);
    EXPECT_EQ(readFile(backup()), original);
}

} // namespace
} // namespace vokari
