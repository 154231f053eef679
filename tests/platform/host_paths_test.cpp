#include "platform/host_paths.h"
#include "support/fixtures.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::TestPrefix;

TEST(HostPaths, DriveLetterAndCaseInsensitiveComponents) {
    VOKARI_POSIX_ONLY("Windows paths mapped into a Wine prefix");
    TestPrefix prefix;
    fs::create_directories(prefix.driveC() / "Games" / "CFS2" / "AIRCRAFT" / "P51D");
    test::writeFile(prefix.driveC() / "Games/CFS2/AIRCRAFT/P51D/Aircraft.CFG", "x");

    EXPECT_EQ(platform::hostPath("C:\\Games\\CFS2\\Aircraft\\p51d\\aircraft.cfg"),
              prefix.driveC() / "Games/CFS2/AIRCRAFT/P51D/Aircraft.CFG");
    // lower-case drive, forward slashes and doubled separators
    EXPECT_EQ(platform::hostPath("c:/games\\\\cfs2//aircraft/P51D"),
              prefix.driveC() / "Games/CFS2/AIRCRAFT/P51D");
}

TEST(HostPaths, MissingComponentsKeepTheirSpelling) {
    VOKARI_POSIX_ONLY("Windows paths mapped into a Wine prefix");
    TestPrefix prefix;
    fs::create_directories(prefix.driveC() / "Games");
    EXPECT_EQ(platform::hostPath("C:\\GAMES\\New Folder\\Sub\\File.TXT"),
              prefix.driveC() / "Games/New Folder/Sub/File.TXT");
}

TEST(HostPaths, ExactSpellingWinsOverOtherCase) {
    VOKARI_POSIX_ONLY("Windows paths mapped into a Wine prefix");
    TestPrefix prefix;
    fs::create_directories(prefix.driveC() / "aircraft");
    fs::create_directories(prefix.driveC() / "Aircraft");
    EXPECT_EQ(platform::hostPath("C:\\Aircraft"), prefix.driveC() / "Aircraft");
    EXPECT_EQ(platform::hostPath("C:\\aircraft"), prefix.driveC() / "aircraft");
}

TEST(HostPaths, DriveZIsRootWithoutALinkAndHostPathsPassThrough) {
    VOKARI_POSIX_ONLY("Windows paths mapped into a Wine prefix");
    TestPrefix prefix;
    test::TempDir other;
    fs::create_directories(other / "Data");
    const std::string z = "Z:" + (other.path() / "DATA").string();
    EXPECT_EQ(platform::hostPath(z), other / "Data");
    EXPECT_EQ(platform::hostPath((other.path() / "data").string()), other / "Data");
    // a drive the prefix does not have names nothing that exists
    EXPECT_FALSE(fs::exists(platform::hostPath("Q:\\Games")));
}

TEST(HostPaths, WindowsPathOfHostFiles) {
    VOKARI_POSIX_ONLY("Windows paths mapped into a Wine prefix");
    TestPrefix prefix;
    fs::create_directories(prefix.driveC() / "Games" / "CFS2");
    EXPECT_EQ(platform::windowsPath(prefix.driveC() / "Games" / "CFS2"), "C:\\Games\\CFS2");
    EXPECT_EQ(platform::windowsPath(prefix.driveC()), "C:\\");
    test::TempDir other;
    std::string expected = "Z:" + (other / "x").string();
    std::replace(expected.begin(), expected.end(), '/', '\\');
    EXPECT_EQ(platform::windowsPath(other / "x"), expected);
}
