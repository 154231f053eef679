#include "installer/cfs_arc_file.h"
#include "installer/cfs_arc_list.h"
#include "support/fixtures.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <utility>

namespace vokari {
namespace {

TEST(CfsArcFile, DerivesNamePartsFromTheListedPath) {
    CfsArcFile file;
    file.setFullPath("P51D/model/p51d.mdl");
    EXPECT_EQ(file.fileName(), "p51d.mdl");
    EXPECT_EQ(file.filePath(), "P51D\\model\\");
    EXPECT_EQ(file.extention(), "MDL");
    EXPECT_EQ(file.arrayPath, (std::vector<std::string>{"P51D", "model"}));
    EXPECT_FALSE(file.isFolder());

    file.setFullPath("P51D/");
    EXPECT_TRUE(file.isFolder());
    EXPECT_EQ(file.fileName(), "");
    EXPECT_EQ(file.extention(), "");
    EXPECT_EQ(file.arrayPath, std::vector<std::string>{"P51D"});

    file.setFullPath("README");
    EXPECT_EQ(file.extention(), "");
    EXPECT_TRUE(file.arrayPath.empty());
    EXPECT_FALSE(file.isArchive());

    for (const char* archive : {"inner.Zip", "a/b.lzh", "setup.EXE"}) {
        file.setFullPath(archive);
        EXPECT_TRUE(file.isArchive()) << archive;
    }
    file.setFullPath("old.lha");
    EXPECT_FALSE(file.isArchive());
}

TEST(CfsArcFile, ExistsOnlyForFilesOnTheDisk) {
    test::TestPrefix prefix;
    const auto game = prefix.installGame(2, "C:\\Games\\CFS2");
    test::writeFile(game / "Gauges" / "Boost.GAU", "x");
    CfsArcList list;
    list.setVersion(2);
    CfsArcFile file;
    file.parentArcList = &list;
    file.setFullPath("boost.gau");
    file.setInstallPath("GAUGES\\");
    EXPECT_TRUE(file.exists()); // letter case aside, as on Windows
    test::writeFile(game / "Gauges" / "Boost.GAU.removed", "x");
    std::filesystem::remove(game / "Gauges" / "Boost.GAU");
    EXPECT_FALSE(file.exists()); // asked again of the disk
    file.setFullPath("Gauges/");
    file.setInstallPath("");
    EXPECT_FALSE(file.exists());
}

// Times near a change of clock, by half an hour here, come out as mktime gives them, whatever
// was asked before.
TEST(CfsArcFile, LocalTimesMatchMktimeAcrossAClockChange) {
    VOKARI_POSIX_ONLY("the time zone is set through TZ");
#ifndef _WIN32
    const char* before = std::getenv("TZ");
    const std::string saved = before ? before : "";
    ::setenv("TZ", "Australia/Lord_Howe", 1);
    ::tzset();
    // 2022: back on 3 April, forward on 2 October
    for (const auto& [month, day] : {std::pair{4, 2}, {4, 3}, {10, 1}, {10, 2}}) {
        for (int hour = 0; hour < 4; ++hour)
            for (const int minute : {0, 1, 29, 30, 31, 59}) {
                const LocalDateTime t{2022, month, day, hour, minute, 17};
                std::tm local{};
                local.tm_year = 122;
                local.tm_mon = month - 1;
                local.tm_mday = day;
                local.tm_hour = hour;
                local.tm_min = minute;
                local.tm_sec = 17;
                local.tm_isdst = -1;
                EXPECT_EQ(t.toUnixTime(), static_cast<int64_t>(std::mktime(&local)))
                    << month << "-" << day << " " << hour << ":" << minute;
            }
    }
    EXPECT_EQ((LocalDateTime{2022, 2, 30, 12, 0, 0}.toUnixTime()),
              (LocalDateTime{2022, 3, 2, 12, 0, 0}.toUnixTime())); // out of range, as mktime
    before ? ::setenv("TZ", saved.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
#endif
}

} // namespace
} // namespace vokari
