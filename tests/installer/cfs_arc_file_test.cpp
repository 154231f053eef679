#include "installer/cfs_arc_file.h"
#include "installer/cfs_arc_list.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace vokari
