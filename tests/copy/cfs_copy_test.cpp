#include "copy/cfs_copy.h"
#include "platform/codepage.h"
#include "platform/path_text.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <map>

#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::readFile;
using vokari::test::writeFile;

namespace {

class CfsCopyTest : public ::testing::Test {
protected:
    test::TestPrefix prefix;
    fs::path cfs1 = prefix.installGame(1, "C:\\CFS1");
    fs::path cfs2 = prefix.installGame(2, "C:\\CFS2");

    CopySummary copy(bool dryRun = false) {
        CopyOptions options;
        options.dryRun = dryRun;
        return copyAll(collectCopyTables(test::winPath("C:\\CFS1\\"), test::winPath("C:\\CFS2\\")),
                       options);
    }

    // Anything the copy left under a temporary name.
    bool leftovers() const {
        for (const auto& e : fs::recursive_directory_iterator(cfs2))
            if (e.path().filename().string().starts_with(".vokari"))
                return true;
        return false;
    }
};

#ifndef _WIN32
int64_t mtimeOf(const fs::path& file) {
    struct stat st;
    return ::stat(file.c_str(), &st) == 0 ? st.st_mtim.tv_sec : -1;
}

void setMtime(const fs::path& file, time_t seconds) {
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ::utimensat(AT_FDCWD, file.c_str(), times, 0);
}

// A folder no one may add to: read-only, and immutable for root, whom permissions do not stop.
bool lockFolder(const fs::path& folder, bool lock) {
    ::chmod(folder.c_str(), lock ? 0555 : 0755);
    if (::geteuid() != 0)
        return true;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = lock ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}
#endif

} // namespace

TEST_F(CfsCopyTest, AddsWhatIsMissingKeepsWhatIsThereAndMeetsNamesInAnyCase) {
    VOKARI_POSIX_ONLY("links, and names that differ only in case or Windows cannot hold");
#ifndef _WIN32
    writeFile(cfs1 / "AIRCRAFT/NEW1/aircraft.cfg", "new");
    writeFile(cfs1 / "AIRCRAFT/NEW1/panel/panel.cfg", "new panel");
    writeFile(cfs1 / "AIRCRAFT/NEW1/.hidden", "");
    writeFile(cfs1 / "AIRCRAFT/NEW1/bad:name.txt", "never mapped to another name");
    writeFile(prefix.root() / "elsewhere/secret.txt", "");
    fs::create_symlink(prefix.root() / "elsewhere", cfs1 / "AIRCRAFT/NEW1/linked");
    setMtime(cfs1 / "AIRCRAFT/NEW1/aircraft.cfg", 946684800);
    writeFile(cfs1 / "AIRCRAFT/BOTH/aircraft.cfg", "first, newer");
    writeFile(cfs1 / "AIRCRAFT/BOTH/PANEL/panel.cfg", "first panel");
    writeFile(cfs1 / "GAUGES/extra.gau", "gauge");
    writeFile(cfs2 / "Aircraft/both/Aircraft.CFG", "second");
    setMtime(cfs2 / "Aircraft/both/Aircraft.CFG", 946684800);
    fs::create_directories(cfs2 / "Aircraft/both/panel");
    fs::create_directories(cfs2 / "Gauges");

    const CopySummary dry = copy(true);
    EXPECT_EQ(dry.copied, 6); // NEW1, its aircraft.cfg, panel, panel.cfg; both's panel.cfg; gauge
    EXPECT_FALSE(fs::exists(cfs2 / "Aircraft/NEW1"));

    const CopySummary first = copy();
    EXPECT_EQ(first.copied, 6);
    EXPECT_EQ(first.existing, 3); // both, its aircraft file and its panel folder
    ASSERT_EQ(first.failures.size(), 2u);
    EXPECT_EQ(first.failures[0].path, "AIRCRAFT\\NEW1\\bad:name.txt");
    EXPECT_EQ(first.failures[0].problem, CopyProblem::UnsafeName);
    EXPECT_EQ(first.failures[1].path, "AIRCRAFT\\NEW1\\linked");
    EXPECT_EQ(first.failures[1].problem, CopyProblem::Link);

    EXPECT_EQ(readFile(cfs2 / "Aircraft/NEW1/aircraft.cfg"), "new");
    EXPECT_EQ(mtimeOf(cfs2 / "Aircraft/NEW1/aircraft.cfg"), 946684800);
    EXPECT_EQ(readFile(cfs2 / "Aircraft/NEW1/panel/panel.cfg"), "new panel");
    EXPECT_EQ(readFile(cfs2 / "Aircraft/both/Aircraft.CFG"), "second");
    EXPECT_EQ(readFile(cfs2 / "Aircraft/both/panel/panel.cfg"), "first panel");
    EXPECT_EQ(readFile(cfs2 / "Gauges/extra.gau"), "gauge");
    EXPECT_FALSE(fs::exists(cfs2 / "AIRCRAFT"));
    EXPECT_FALSE(fs::exists(cfs2 / "Aircraft/both/PANEL"));
    EXPECT_FALSE(fs::exists(cfs2 / "Aircraft/NEW1/.hidden"));
    EXPECT_EQ(std::distance(fs::directory_iterator(cfs2 / "Aircraft/NEW1"), {}), 2);
    EXPECT_FALSE(leftovers());

    const CopySummary second = copy();
    EXPECT_EQ(second.copied, 0);
    EXPECT_EQ(second.existing, 9);
    EXPECT_EQ(second.failures.size(), 2u);
#endif
}

TEST_F(CfsCopyTest, WhatCannotBeCopiedIsCountedAndNeverLeftHalfWritten) {
    VOKARI_POSIX_ONLY("file modes and the file-size limit");
#ifndef _WIN32
    writeFile(cfs1 / "Aircraft/Locked/aircraft.cfg", "a");
    writeFile(cfs1 / "Aircraft/Locked/model/m.mdl", "m");
    writeFile(cfs1 / "Aircraft/Big/big.bmp", std::string(64 * 1024, 'x'));
    writeFile(cfs1 / "Aircraft/Big/small.cfg", "small");
    writeFile(cfs1 / "Gauges/g.gau", "g"); // the second game has no Gauges folder
    fs::create_directories(cfs2 / "Aircraft/Locked");
    // Where no folder can be made read-only, the rest is still tried.
    const bool locked = lockFolder(cfs2 / "Aircraft/Locked", true);
    if (!locked)
        fs::remove_all(cfs1 / "Aircraft/Locked");

    // A file-size limit cuts the big file short while it is written.
    const CopySummary summary = [&] {
        test::FileSizeLimit limit(16 * 1024);
        return copy();
    }();
    lockFolder(cfs2 / "Aircraft/Locked", false);

    std::vector<std::string> failed;
    for (const auto& f : summary.failures)
        failed.push_back(f.path + " " + copyProblemText(f.problem, f.err));
    const std::string refused =
        copyProblemText(CopyProblem::System, ::geteuid() == 0 ? EPERM : EACCES);
    std::vector<std::string> expected{"AIRCRAFT\\Big\\big.bmp File too large"};
    if (locked)
        expected.insert(expected.end(),
                        {"AIRCRAFT\\Locked\\aircraft.cfg " + refused,
                         "AIRCRAFT\\Locked\\model " + refused,
                         "AIRCRAFT\\Locked\\model\\m.mdl its folder was not copied"});
    expected.push_back("GAUGES the second game has no such folder");
    EXPECT_EQ(failed, expected);
    // Named where the user finds them: here, where they were to go.
    EXPECT_EQ(summary.failures.front().hostPath, (cfs2 / "Aircraft/Big/big.bmp").string());
    EXPECT_EQ(summary.failures.back().hostPath, (cfs2 / "GAUGES").string());
    EXPECT_EQ(summary.copied, 2); // Big and small.cfg
    EXPECT_FALSE(fs::exists(cfs2 / "Aircraft/Big/big.bmp"));
    EXPECT_FALSE(fs::exists(cfs2 / "Gauges"));
    EXPECT_FALSE(leftovers());
    EXPECT_EQ(std::distance(fs::directory_iterator(cfs2 / "Aircraft/Locked"), {}), 0);
#endif
}

// More folders than one batch may hold open: a batch is on its way to the disk while the next
// is staged, and every entry is still told once, in order, failures among them.
TEST_F(CfsCopyTest, ManyBatchesAreToldInOrder) {
    for (int i = 0; i < 600; ++i)
        writeFile(cfs1 / "Gauges" / ("set" + std::to_string(i)) / "g.gau", std::to_string(i));
    fs::create_directories(cfs2 / "Gauges/set300/g.gau"); // a folder in the file's way
    std::vector<int32_t> counts;
    std::vector<std::string> failed;
    CopyOptions options;
    options.onEntry = [&](const CopyReport& r) {
        counts.push_back(r.count);
        if (r.outcome == CopyOutcome::Failed)
            failed.push_back(r.entry->relative);
    };
    const CopySummary summary = copyAll(
        collectCopyTables(test::winPath("C:\\CFS1\\"), test::winPath("C:\\CFS2\\")), options);
    ASSERT_EQ(counts.size(), 1200u);
    for (size_t i = 0; i < counts.size(); ++i)
        ASSERT_EQ(counts[i], static_cast<int32_t>(i + 1));
    EXPECT_EQ(failed, std::vector<std::string>{"set300\\g.gau"});
    EXPECT_EQ(summary.copied, 1198);
    EXPECT_EQ(readFile(cfs2 / "Gauges/set599/g.gau"), "599");
    EXPECT_FALSE(leftovers());
}

TEST_F(CfsCopyTest, CancelStopsAfterTheCurrentEntry) {
    writeFile(cfs1 / "Aircraft/A/a.cfg", "a");
    writeFile(cfs1 / "Aircraft/B/b.cfg", "b");
    fs::create_directories(cfs2 / "Aircraft");
    std::atomic<bool> cancel{false};
    CopyOptions options;
    options.cancel = &cancel;
    options.onEntry = [&](const CopyReport&) { cancel = true; };
    const CopySummary summary = copyAll(
        collectCopyTables(test::winPath("C:\\CFS1\\"), test::winPath("C:\\CFS2\\")), options);
    EXPECT_TRUE(summary.cancelled);
    EXPECT_EQ(summary.copied, 1);
    EXPECT_TRUE(fs::exists(cfs2 / "Aircraft/A"));
    EXPECT_FALSE(fs::exists(cfs2 / "Aircraft/B"));
}

TEST_F(CfsCopyTest, ASwitchedOffAircraftKeepsItsOwnFileEitherWay) {
    writeFile(cfs1 / "Aircraft/Typhoon/aircraft.cfg", "game 1's");
    writeFile(cfs1 / "Aircraft/Ki61/Aircraft.cfg.RST", "game 1's, switched off");
    writeFile(cfs1 / "Aircraft/Ki61/panel/aircraft.cfg", "not an aircraft's own file");
    writeFile(cfs2 / "Aircraft/Typhoon/aircraft.cfg.rst", "the player's");
    writeFile(cfs2 / "Aircraft/Ki61/aircraft.cfg", "the player's");
    fs::create_directories(cfs2 / "Aircraft/Ki61/panel");

    const CopySummary summary = copy();
    EXPECT_TRUE(summary.failures.empty());
    EXPECT_EQ(summary.copiedFiles, 1); // the panel's file only
    EXPECT_EQ(summary.existingFiles, 2);
    EXPECT_FALSE(fs::exists(cfs2 / "Aircraft/Typhoon/aircraft.cfg"));
    EXPECT_FALSE(fs::exists(cfs2 / "Aircraft/Ki61/Aircraft.cfg.RST"));
    EXPECT_EQ(readFile(cfs2 / "Aircraft/Typhoon/aircraft.cfg.rst"), "the player's");
}

// Names the second game's code page cannot spell stay behind; the copy reads and writes the
// others whole, on Windows through the wide-character API.
TEST_F(CfsCopyTest, NamesOutsideTheGamesCodePageAreNotCopied) {
    platform::setAnsiCodePage("CP932");
    const std::pair<const char*, CopyProblem> names[] = {
        {"caf\xC3\xA9.gau", CopyProblem::NotInCodePage},
        {"\xE2\x9C\x88.gau", CopyProblem::NotInCodePage},
        {"\xE9\x9B\xB6\xE6\x88\xA6.gau", CopyProblem::None}, // 零戦: CP932 spells it
    };
    for (const auto& [name, problem] : names)
        writeFile(cfs1 / "Gauges" / platform::pathFromUtf8(name), name);
    writeFile(cfs1 / "Gauges/boost.gau.bak", ""); // the first game's backups: left out
    writeFile(cfs1 / "Gauges/panel.cfg.ORG", "");
    fs::create_directories(cfs2 / "Gauges");

    std::map<std::string, CopyProblem> failed;
    for (const CopyFailure& f : copy().failures)
        failed[f.path] = f.problem;
    for (const auto& [name, problem] : names) {
        const std::string path = std::string("GAUGES\\") + name;
        const fs::path copied = cfs2 / "Gauges" / platform::pathFromUtf8(name);
        if (problem == CopyProblem::None) {
            EXPECT_FALSE(failed.count(path)) << name;
            EXPECT_EQ(readFile(copied), name);
        } else {
            EXPECT_EQ(failed[path], problem) << name;
            EXPECT_FALSE(fs::exists(copied)) << name;
        }
    }
    EXPECT_EQ(failed.size(), 2u);
    EXPECT_FALSE(fs::exists(cfs2 / "Gauges/boost.gau.bak"));
    EXPECT_FALSE(fs::exists(cfs2 / "Gauges/panel.cfg.ORG"));
}

TEST_F(CfsCopyTest, NamesWindowsCannotHoldAreNotCopied) {
    VOKARI_POSIX_ONLY("names a POSIX disk holds and Windows cannot");
    const std::pair<const char*, CopyProblem> names[] = {
        {"CON.gau", CopyProblem::DeviceName},   {"lpt1", CopyProblem::DeviceName},
        {"com10.gau", CopyProblem::None},       {"space.gau ", CopyProblem::DotOrSpaceAtEnd},
        {"dot.", CopyProblem::DotOrSpaceAtEnd},
    };
    for (const auto& [name, problem] : names)
        writeFile(cfs1 / "Gauges" / name, name);
    writeFile(cfs1 / "Gauges/A.gau", "");
    writeFile(cfs1 / "Gauges/a.gau", ""); // whichever is listed second is one too many
    fs::create_directories(cfs2 / "Gauges");

    std::map<std::string, CopyProblem> failed;
    for (const CopyFailure& f : copy().failures)
        failed[f.path] = f.problem;
    for (const auto& [name, problem] : names) {
        const std::string path = std::string("GAUGES\\") + name;
        if (problem == CopyProblem::None) {
            EXPECT_FALSE(failed.count(path)) << name;
            EXPECT_EQ(readFile(cfs2 / "Gauges" / name), name);
        } else {
            EXPECT_EQ(failed[path], problem) << name;
            EXPECT_FALSE(fs::exists(cfs2 / "Gauges" / name)) << name;
        }
    }
    EXPECT_EQ(fs::exists(cfs2 / "Gauges/A.gau") + fs::exists(cfs2 / "Gauges/a.gau"), 1);
    EXPECT_EQ(failed.count("GAUGES\\A.gau") + failed.count("GAUGES\\a.gau"), 1u);
    EXPECT_EQ(failed.size(), 5u);
}
