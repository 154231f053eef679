#include "frame/demo.h"
#include "frame/installation.h"
#include "frame/settings_file.h"
#include "platform/environment.h"
#include "platform/error.h"
#include "platform/host_paths.h"
#include "platform/profile.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::ScopedEnv;
using vokari::test::TempDir;
using vokari::test::TestPrefix;

TEST(Installation, SharedNames) {
    EXPECT_EQ(aircraftFolderName(), "Aircraft\\");
    EXPECT_EQ(quickCombatFileName(), "QuickCom\\qc_plane.qcb");
}

TEST(Installation, TempAndWorkDirectory) {
    TestPrefix prefix;
    ScopedEnv temp("TEMP", test::winPath("C:\\Tmp"));
    EXPECT_EQ(workDirectory(), test::winPath("C:\\Tmp\\vokaritmp\\"));
}

TEST(Installation, TempDirectoryOfTheHostAndSharedTemp) {
    VOKARI_POSIX_ONLY("host folders shown through the Wine prefix's drives, and a shared /tmp");
    TestPrefix prefix;
    {
        ScopedEnv temp("TEMP", std::nullopt);
        ScopedEnv tmpdir("TMPDIR", "/var/tmp");
        EXPECT_EQ(tempDirectory(), "Z:\\var\\tmp\\");
    }
    // TEMP inside the prefix's drive C shows as C:
    const fs::path users = prefix.driveC() / "users" / "temp";
    ScopedEnv temp("TEMP", users.string());
    EXPECT_EQ(workDirectory(), "C:\\users\\temp\\vokaritmp\\");
    // A temp folder every user may write to (as /tmp): a name of this user's own.
    fs::create_directories(users);
    fs::permissions(users, fs::perms::all | fs::perms::sticky_bit);
    EXPECT_EQ(workDirectory(), "C:\\users\\temp\\vokaritmp-" + platform::currentUserId() + "\\");
}

TEST(Installation, WorkDirectoryIsPrivate) {
    VOKARI_POSIX_ONLY("file modes");
#ifndef _WIN32
    TestPrefix prefix;
    const fs::path host = platform::hostPath(ensureWorkDirectory());
    struct stat st;
    ASSERT_EQ(::stat(host.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
#endif
}

TEST(Installation, WorkDirectoryIsRemoved) {
    TestPrefix prefix;
    EXPECT_EQ(removeWorkDirectory(), 0); // nothing to delete
    const fs::path host = platform::hostPath(ensureWorkDirectory());
    test::writeFile(host / "pkg/nested.lzh", "x");
    test::writeFile(host / "ro.txt", "x");
    test::makeReadOnly(host / "ro.txt");
    EXPECT_EQ(removeWorkDirectory(), 2); // the file and the folder that holds it
    fs::permissions(host / "ro.txt", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(removeWorkDirectory(), 0);
    EXPECT_FALSE(fs::exists(host));
}

TEST(Installation, WorkDirectoryPlantedAsALinkIsNeverUsedNorFollowed) {
    VOKARI_POSIX_ONLY("symbolic links");
    TestPrefix prefix;
    TempDir victim;
    test::writeFile(victim / "precious.txt", "keep");
    fs::create_symlink(victim.path(), prefix.temp() / "vokaritmp");
    EXPECT_THROW(ensureWorkDirectory(), IoError);
    EXPECT_EQ(removeWorkDirectory(), 1);
    EXPECT_TRUE(fs::exists(victim / "precious.txt"));
}

namespace {

struct FakeWindow : PlacementWindow {
    std::string name = "FrmTest";
    double h = 3000, w = 4000, top = 0, left = 0;
    std::string placementName() const override { return name; }
    double heightTwips() const override { return h; }
    double widthTwips() const override { return w; }
    double topTwips() const override { return top; }
    double leftTwips() const override { return left; }
    void setHeightTwips(double v) override { h = v; }
    void setWidthTwips(double v) override { w = v; }
    void moveTwips(double l, double t) override { left = l, top = t; }
    double screenWidthTwips() const override { return 15361; }
    double screenHeightTwips() const override { return 11520; }
};

} // namespace

TEST(Placement, DefaultsCentreAndSizeWhenRestored) {
    TestPrefix prefix;
    FakeWindow fixed;
    restoreWindowPlacement(fixed, false);
    EXPECT_EQ(fixed.w, 4000);
    EXPECT_DOUBLE_EQ(fixed.left, (15361 - 4000) / 2.0); // a half stays a half
    EXPECT_DOUBLE_EQ(fixed.top, (11520 - 3000) / 2.0);

    FakeWindow sized;
    restoreWindowPlacement(sized, true);
    EXPECT_EQ(sized.h, 7890);
    EXPECT_EQ(sized.w, 9720);
    EXPECT_DOUBLE_EQ(sized.left, (15361 - 9720) / 2.0);
}

TEST(Placement, SavedInKeyOrderAndRestored) {
    TestPrefix prefix;
    FakeWindow w;
    w.h = 5000, w.w = 6000, w.top = 120, w.left = 412.5;
    saveWindowPlacement(w);
    EXPECT_EQ(
        test::readFile(prefix.settingsFile()),
        "[FrmTest]\r\nFORM_HEIGHT=5000\r\nFORM_WIDTH=6000\r\nFORM_TOP=120\r\nFORM_LEFT=412.5\r\n");
    FakeWindow again;
    restoreWindowPlacement(again, false); // size not restored
    EXPECT_EQ(again.h, 3000);
    EXPECT_EQ(again.top, 120);
    EXPECT_EQ(again.left, 412.5);
    restoreWindowPlacement(again, true);
    EXPECT_EQ(again.h, 5000);
}

TEST(Placement, BadNumbersAndUnwritableFile) {
    TestPrefix prefix;
    test::writeFile(prefix.settingsFile(), "[frmtest]\nFORM_HEIGHT=tall\nFORM_WIDTH=-5\n"
                                           "FORM_TOP=up\nFORM_LEFT=-99999\n");
    FakeWindow w;
    restoreWindowPlacement(w, true);
    EXPECT_EQ(w.h, 3000); // designed size kept
    EXPECT_EQ(w.w, 4000);
    EXPECT_EQ(w.top, 0);       // not a number: 0
    EXPECT_EQ(w.left, -99999); // off the screen: kept
    {
        // The folder of a first save is made.
        ScopedEnv ini("VOKARI_INI", (prefix.root() / "no/such/dir/VOKARI.INI").string());
        saveWindowPlacement(w);
        EXPECT_TRUE(fs::exists(prefix.root() / "no/such/dir/VOKARI.INI"));
    }
    // A file that cannot be written: the window carries on, the loss is said once.
    ScopedEnv ini("VOKARI_INI", (prefix.settingsFile() / "VOKARI.INI").string());
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(saveWindowPlacement(w));
    EXPECT_NO_THROW(writeSetting("Main", "SELECTED_CFS_VERSION", "2"));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("settings are not saved"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST(Placement, NumbersAsTheSettingsFileHoldsThem) {
    EXPECT_EQ(formatSingle(7890), "7890");
    EXPECT_EQ(formatSingle(412.5), "412.5");
    EXPECT_EQ(parseSingle(" 12.5 "), 12.5f);
    EXPECT_FALSE(parseSingle(""));
    EXPECT_FALSE(parseSingle("12px"));
    EXPECT_FALSE(parseSingle("nan"));
}

TEST(Demo, PrefixIsBuiltOnceKeptAndReset) {
    VOKARI_POSIX_ONLY("the demo games live in a Wine prefix");
    TempDir data;
    ScopedEnv xdg("XDG_DATA_HOME", data.path().string());
    const fs::path prefix = useDemoPrefix(false);
    EXPECT_EQ(gameFolder(1), "C:\\Program Files\\Microsoft Games\\Combat Flight Simulator\\");
    EXPECT_EQ(gameFolder(2), "C:\\Program Files\\Microsoft Games\\CFS2\\");
    const fs::path cfg = platform::hostPath(gameFolder(2) + "CFS2.CFG");
    ASSERT_TRUE(fs::exists(cfg));
    test::writeFile(cfg, "changed");
    useDemoPrefix(false);
    EXPECT_EQ(test::readFile(cfg), "changed");
    useDemoPrefix(true);
    EXPECT_NE(test::readFile(cfg), "changed");
    platform::setWinePrefixOverride(std::nullopt);
}
