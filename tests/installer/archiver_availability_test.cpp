#include "installer/archiver_availability.h"
#include "platform/host_paths.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace vokari;
using vokari::test::ScopedEnv;
using vokari::test::TempDir;
using vokari::test::writeFile;

TEST(ArchiverAvailability, LinkedLibrariesReadBothFormats) {
    EXPECT_TRUE(isZipAvailable());
    EXPECT_TRUE(isLhaAvailable());
}

TEST(ArchiverAvailability, TestsCanTakeEitherAway) {
    {
        FixedArchiverAvailability noZip(false, true);
        EXPECT_FALSE(isZipAvailable());
        EXPECT_TRUE(isLhaAvailable());
        {
            FixedArchiverAvailability neither(false, false);
            EXPECT_FALSE(isLhaAvailable());
        }
        EXPECT_TRUE(isLhaAvailable()) << "the outer answer comes back";
    }
    EXPECT_TRUE(isZipAvailable());
}

TEST(FindOnSearchPath, FindsFilesInPathWithoutRegardToCase) {
    VOKARI_POSIX_ONLY("PATH with \":\" and host folders shown on drive Z:");
    TempDir dir;
    writeFile(dir / "first" / "other.dll", "x");
    writeFile(dir / "second" / "UnZip32.DLL", "x");
    ScopedEnv path("PATH", (dir / "first").string() + ":" + (dir / "missing").string() +
                               "::" + (dir / "second").string());
    std::string folder = "stale";
    ASSERT_TRUE(findOnSearchPath("unzip32.dll", folder));
    EXPECT_EQ(folder, platform::windowsPath(dir / "second") + "\\");

    EXPECT_FALSE(findOnSearchPath("unlha32.dll", folder));
    EXPECT_EQ(folder, "");
    EXPECT_FALSE(findOnSearchPath("../first/other.dll", folder)) << "a name, not a path";
}
