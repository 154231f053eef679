#include "platform/profile.h"
#include "platform/text.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace vokari {
namespace {

using test::sjis;
using test::writeFile;

// A file with the cases Windows' profile reader settles: every lookup of a snapshot must give
// what readIniString gives.
std::string trickyProfile() {
    return "orphan=before any section\r\n"
           "[Main]\r\n"
           "Key=first\r\n"
           "key=second, ignored\r\n"
           "  Spaced Key  =  spaced value  \r\n"
           "Quoted=\"  in quotes  \"\r\n"
           "Single='x'\r\n"
           "Empty=\r\n"
           "; comment=no\r\n"
           "noequals\r\n"
           "=nameless\r\n"
           "[main]\r\n"
           "Later=from a repeated section\r\n"
           "[ Spaced Section ]\n"
           "lf=unix line end\n"
           "[Unclosed\r\n"
           "k=v\r\n" +
           sjis("[日本語]\r\n名前=零戦\r\nＡ=全角\r\n") + "[Long]\r\nv=" + std::string(300, 'x') +
           "\r\n" + "sj=" + std::string(254, 'y') + sjis("零") + "\r\n" +
           "[Gauges]\r\ngauge00=a!1\r\ngauge01=b!2\r\ngauge01=dup!3\r\ngauge02=c!4\r\n"
           "gauge00=dup!5\r\n[Last]\r\nnoend=value";
}

TEST(ProfileSnapshotTest, AnswersAsReadIniStringDoes) {
    test::TempDir dir;
    const fs::path file = dir / "tricky.ini";
    writeFile(file, trickyProfile());
    const auto snapshot = platform::readIniFile(file.string());
    ASSERT_TRUE(snapshot.exists());
    const std::vector<std::pair<std::string, std::string>> lookups = {
        {"main", "key"},
        {"MAIN", "KEY"},
        {"Main", "Spaced Key"},
        {"Main", "quoted"},
        {"Main", "single"},
        {"Main", "Empty"},
        {"Main", "; comment"},
        {"Main", "noequals"},
        {"Main", ""},
        {"Main", "Later"},
        {"Main", "orphan"},
        {"", "orphan"},
        {"Spaced Section", "lf"},
        {" spaced section ", " LF "},
        {"Unclosed", "k"},
        {"日本語", "名前"},
        {"日本語", "ａ"},
        {"日本語", "Ａ"},
        {"Long", "v"},
        {"Long", "sj"},
        {"Gauges", "gauge01"},
        {"Gauges", "gauge00"},
        {"Last", "noend"},
        {"Missing", "key"},
    };
    for (const auto& [section, key] : lookups) {
        const std::string expected =
            platform::readIniString(section, key, "デフォルト", file.string());
        EXPECT_EQ(snapshot.value(section, key, "デフォルト"), expected) << section << "/" << key;
    }
    EXPECT_EQ(snapshot.value("Main", "key", ""), "first");
    EXPECT_EQ(snapshot.value("Main", "Later", "-"), "-");
    EXPECT_EQ(snapshot.value("Main", "quoted", ""), "in quotes");
    EXPECT_EQ(snapshot.value("日本語", "名前", ""), "零戦");
    EXPECT_EQ(snapshot.value("Long", "v", "").size(), 255u);
    EXPECT_EQ(snapshot.value("Long", "sj", ""), std::string(254, 'y')); // no half character
}

TEST(ProfileSnapshotTest, WalkingASectionFindsTheFirstOfRepeatedKeys) {
    test::TempDir dir;
    const fs::path file = dir / "panel.cfg";
    writeFile(file, trickyProfile());
    const auto snapshot = platform::readIniFile(file.string());
    std::string value;
    // In order, out of order, and across sections: the remembered position is only a guess.
    const std::vector<std::pair<std::string, std::string>> walk = {
        {"gauge00", "a!1"}, {"gauge01", "b!2"}, {"gauge02", "c!4"}, {"gauge03", ""},
        {"gauge01", "b!2"}, {"gauge00", "a!1"}, {"GAUGE02", "c!4"},
    };
    for (const auto& [key, expected] : walk) {
        snapshot.valueInto("Gauges", key, "", value);
        EXPECT_EQ(value, expected) << key;
    }
    snapshot.valueInto("Main", "Key", "", value);
    EXPECT_EQ(value, "first");
    snapshot.valueInto("gauges", "gauge01", "", value);
    EXPECT_EQ(value, "b!2");
    EXPECT_EQ(snapshot.sectionNames(), (std::vector<std::string>{"main", "spaced section", "日本語",
                                                                 "long", "gauges", "last"}));
}

// The forward reader takes lines by the same rules: the first of a section, the first of a key.
TEST(ProfileReaderTest, ReadsFrontToBackAsLookupsDo) {
    test::TempDir dir;
    const fs::path file = dir / "tricky.ini";
    writeFile(file, trickyProfile());
    const auto snapshot = platform::readIniFile(file.string());
    const std::vector<std::pair<std::string, std::string>> lookups = {
        {"MAIN", "key"}, {"main", "Quoted"},    {"Main", "Later"}, {"日本語", "名前"},
        {"Long", "sj"},  {"Gauges", "gauge01"}, {"Last", "noend"}, {"Missing", "key"},
    };
    std::string scratch;
    for (const auto& [section, key] : lookups) {
        platform::ProfileReader reader(file.string());
        std::string value = "-";
        bool found = false;
        if (reader.findSection(section)) {
            while (!found && reader.next() && !reader.isSection()) {
                found = equalsNoCase(reader.name(), sjis(key));
                if (found)
                    value = reader.value(scratch);
            }
        }
        EXPECT_EQ(value, snapshot.value(section, key, "-")) << section << "/" << key;
    }
    platform::ProfileReader gauges(file.string());
    ASSERT_TRUE(gauges.findSection("gauges"));
    ASSERT_TRUE(gauges.next());
    EXPECT_EQ(gauges.valueBefore('!', scratch), "a");
    platform::ProfileReader missing((dir / "missing.ini").string());
    EXPECT_FALSE(missing.exists());
    EXPECT_FALSE(missing.next());
}

TEST(ProfileSnapshotTest, OnlyFilesExist) {
    test::TempDir dir;
    writeFile(dir / "empty.ini", "");
    fs::create_directories(dir / "folder.ini");
    EXPECT_TRUE(platform::readIniFile((dir / "empty.ini").string()).exists());
    EXPECT_FALSE(platform::readIniFile((dir / "folder.ini").string()).exists());
    const auto missing = platform::readIniFile((dir / "missing.ini").string());
    EXPECT_FALSE(missing.exists());
    EXPECT_EQ(missing.value("a", "b", "default"), "default");
    EXPECT_TRUE(missing.sectionNames().empty());
}

TEST(ProfileSnapshotTest, FindsNamesSpelledInAnotherCaseOnDisk) {
    test::TestPrefix prefix;
    writeFile(prefix.driveC() / "Games" / "PANEL" / "Panel.CFG", "[fltsim]\r\nalias=x\\panel\r\n");
    const auto snapshot = platform::readIniFile(test::winPath("C:\\games\\panel\\panel.cfg"));
    EXPECT_TRUE(snapshot.exists());
    EXPECT_EQ(snapshot.value("fltsim", "alias", ""), "x\\panel");
}

TEST(ProfileCacheTest, ReadIniStringSeesWritesAndChanges) {
    test::TempDir dir;
    const std::string file = (dir / "settings.ini").string();
    writeFile(file, "[A]\r\nx=1\r\n");
    EXPECT_EQ(platform::readIniString("A", "x", "", file), "1");
    platform::writeIniString("A", "x", "2", file);
    EXPECT_EQ(platform::readIniString("a", "X", "", file), "2");
    writeFile(file, "[A]\r\nx=three\r\n"); // a different size: noticed without clearing
    EXPECT_EQ(platform::readIniString("A", "x", "", file), "three");
    fs::remove(file);
    EXPECT_EQ(platform::readIniString("A", "x", "gone", file), "gone");
}

} // namespace
} // namespace vokari
