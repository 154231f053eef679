#include "platform/host_paths.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace vokari {
namespace {

using test::writeFile;

// The lookup tries the path as spelled before matching names one by one; both ways must agree.
TEST(HostPathLookupTest, ExactAndCaseInsensitiveSpellingsMeetTheSameFile) {
    VOKARI_POSIX_ONLY("names matched without regard to case on a file system that keeps case");
    test::TestPrefix prefix;
    const fs::path c = fs::canonical(prefix.driveC());
    writeFile(c / "Games" / "CFS2" / "AIRCRAFT" / "P51D" / "aircraft.cfg", "x");
    fs::create_directories(c / "Games" / "CFS2" / "Aircraft2");

    const fs::path file = c / "Games" / "CFS2" / "AIRCRAFT" / "P51D" / "aircraft.cfg";
    EXPECT_EQ(platform::hostPath("C:\\Games\\CFS2\\AIRCRAFT\\P51D\\aircraft.cfg"), file);
    EXPECT_EQ(platform::hostPath("c:/games//cfs2\\aircraft\\p51d\\AIRCRAFT.CFG"), file);
    EXPECT_EQ(platform::hostPath("C:\\Games\\CFS2\\Aircraft\\P51D\\"), file.parent_path());
    // Missing parts keep the spelling given, from the first missing one on.
    EXPECT_EQ(platform::hostPath("C:\\Games\\cfs2\\aircraft\\New\\Sub\\File.cfg"),
              c / "Games" / "CFS2" / "AIRCRAFT" / "New" / "Sub" / "File.cfg");
    // ".." is taken by its text, as before.
    EXPECT_EQ(platform::hostPath("C:\\Games\\CFS2\\Aircraft2\\..\\aircraft\\p51d"),
              c / "Games" / "CFS2" / "AIRCRAFT" / "P51D");
    EXPECT_EQ(platform::hostPathText("C:\\Games\\CFS2\\aircraft"),
              (c / "Games" / "CFS2" / "AIRCRAFT").string());
}

TEST(HostPathLookupTest, SpelledPathsGoThroughTheDriveLink) {
    VOKARI_POSIX_ONLY("Wine's dosdevices drive links");
    test::TestPrefix prefix;
    writeFile(prefix.driveC() / "Games" / "a.cfg", "x");
    const auto spelled = platform::hostPathAsSpelled("C:\\Games\\a.cfg");
    ASSERT_TRUE(spelled);
    EXPECT_EQ(fs::canonical(*spelled), fs::canonical(prefix.driveC() / "Games" / "a.cfg"));
    EXPECT_EQ(*platform::hostPathAsSpelled("c:\\games\\A.CFG"),
              (prefix.root() / "dosdevices" / "c:" / "games" / "A.CFG").string());
    EXPECT_FALSE(platform::hostPathAsSpelled("C:\\Games\\..\\a.cfg"));
    EXPECT_FALSE(platform::hostPathAsSpelled("C:\\Games\\.\\a.cfg"));
    EXPECT_EQ(*platform::hostPathAsSpelled("/tmp/x"), "/tmp/x");
}

} // namespace
} // namespace vokari
