#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "platform/instance_lock.h"
#include "support/fixtures.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::TempDir;
using vokari::test::writeFile;

TEST(FileSystem, ListingSkipsHiddenAndSortsWithoutCase) {
    VOKARI_POSIX_ONLY("symbolic links and names Windows cannot hold");
    TempDir dir;
    writeFile(dir / "b.txt", "");
    writeFile(dir / "A.txt", "");
    writeFile(dir / ".hidden", "");
    fs::create_directories(dir / "Folder");
    writeFile(dir / "ro.txt", "");
    test::makeReadOnly(dir / "ro.txt");
    fs::create_symlink(dir / "Folder", dir / "link");
    for (const char* odd : {"a\\..\\b", "c:d", "*.txt", "e?", "f\"", "<g>", "h|i", "j\nk"})
        writeFile(dir / odd, ""); // no Windows path names them: never listed

    const auto entries = platform::listDirectory(dir.path().string());
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].name, "A.txt");
    EXPECT_EQ(entries[1].name, "b.txt");
    EXPECT_EQ(entries[2].name, "Folder");
    EXPECT_TRUE(entries[2].isDirectory());
    EXPECT_EQ(entries[3].name, "link");
    EXPECT_TRUE(entries[3].isLink());
    EXPECT_TRUE(entries[4].attributes & platform::kAttrReadOnly);
}

TEST(FileSystem, ReadOnlyFilesCannotBeDeleted) {
    TempDir dir;
    writeFile(dir / "ro.txt", "x");
    test::makeReadOnly(dir / "ro.txt");
    EXPECT_FALSE(platform::deleteFile((dir / "ro.txt").string()));
    EXPECT_TRUE(fs::exists(dir / "ro.txt"));
    EXPECT_FALSE(platform::deleteFile((dir / "missing").string()));
}

TEST(FileSystem, AtomicWriteCreatesAndReplaces) {
    TempDir dir;
    const std::string file = (dir / "f.bin").string();
    platform::writeFileAtomic(file, std::string("a\0b", 3));
    EXPECT_EQ(platform::readFileBytes(file), std::string("a\0b", 3));
    platform::writeFileAtomic(file, "new");
    EXPECT_EQ(platform::readFileBytes(file), "new");
    EXPECT_THROW(platform::writeFileAtomic((dir / "no/such/dir/f").string(), "x"), IoError);
    EXPECT_THROW(platform::readFileBytes((dir / "missing").string()), IoError);

    // A read-only file is refused, as Windows refuses it.
    test::makeReadOnly(file);
    EXPECT_THROW(platform::writeFileAtomic(file, "lost"), IoError);
    EXPECT_EQ(platform::readFileBytes(file), "new");
}

TEST(FileSystem, AtomicWriteGoesThroughTheUsersLinks) {
    VOKARI_POSIX_ONLY("symbolic links");
    TempDir dir;
    // A link the user made is written through and stays a link.
    writeFile(dir / "elsewhere/cfs2.cfg", "old");
    fs::create_symlink("elsewhere/cfs2.cfg", dir / "cfs2.cfg");
    platform::writeFileAtomic((dir / "cfs2.cfg").string(), "written");
    EXPECT_TRUE(fs::is_symlink(dir / "cfs2.cfg"));
    EXPECT_EQ(test::readFile(dir / "elsewhere/cfs2.cfg"), "written");
    // One that leads nowhere is refused: the write would create a file where it points.
    fs::create_symlink("elsewhere/none.cfg", dir / "none.cfg");
    EXPECT_THROW(platform::writeFileAtomic((dir / "none.cfg").string(), "x"), IoError);
    EXPECT_FALSE(fs::exists(dir / "elsewhere/none.cfg"));
}

TEST(FileSystem, NewFileIsNeverNamedOverALink) {
    VOKARI_POSIX_ONLY("symbolic links");
    TempDir dir;
    fs::create_symlink(dir / "elsewhere", dir / "planted");
    {
        platform::NewFileWriter planted(dir / "planted");
        planted.write("x");
        planted.finish(0);
        EXPECT_THROW(planted.commit(), IoError);
    }
    EXPECT_FALSE(fs::exists(dir / "elsewhere"));
    EXPECT_TRUE(fs::is_symlink(dir / "planted"));
}

TEST(FileSystem, NewFileIsStagedUntilWhole) {
    TempDir dir;
    {
        platform::NewFileWriter dropped(dir / "dropped");
        dropped.write("x");
    }
    platform::NewFileWriter file(dir / "kept");
    file.write("abc");
    file.finish(1000000000);
    EXPECT_FALSE(fs::exists(dir / "kept")); // nothing under the real name until whole
    file.commit();
    EXPECT_EQ(test::readFile(dir / "kept"), "abc");
    struct stat st;
    ASSERT_EQ(::stat((dir / "kept").string().c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, 1000000000);
    // Neither the dropped file nor a temporary is left.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, std::vector<std::string>{"kept"});
}

TEST(FileSystem, PatternsMatchLikeWindows) {
    EXPECT_TRUE(platform::matchesPattern("Aircraft.CFG", "aircraft.cfg"));
    EXPECT_TRUE(platform::matchesPattern("anything", "*.*"));
    EXPECT_TRUE(platform::matchesPattern("p51d.zip", "*.zip"));
    EXPECT_TRUE(platform::matchesPattern("p51d.zip", "p5?d.*"));
    EXPECT_FALSE(platform::matchesPattern("p51d.zip", "*.lzh"));
    EXPECT_FALSE(platform::matchesPattern("abc", "abcd"));
}

TEST(CodePage, RoundTripAndUndecodableBytes) {
    const std::string text = "スピットファイア Mk I ｼｽﾃﾑ";
    EXPECT_EQ(platform::ansiToUtf8(platform::utf8ToAnsi(text)), text);
    EXPECT_EQ(platform::utf8ToAnsi("ア"), "\x83\x41");
    EXPECT_EQ(platform::ansiToUtf8("a\xff"
                                   "b"),
              "a\xef\xbf\xbd"
              "b");
    EXPECT_FALSE(platform::isValidAnsi("a\xff"));
    EXPECT_THROW(platform::utf8ToAnsi("🚀"), ArgumentError);
}

// Characters are kept once converted: a second conversion, and one after the code page has
// changed and changed back, give what the converter gives.
TEST(CodePage, RepeatedConversionsAndAnotherCodePage) {
    struct Restore {
        std::string codePage = platform::ansiCodePage();
        ~Restore() { platform::setAnsiCodePage(codePage); }
    } restore;
    const std::string text = "零式艦上戦闘機 ｶﾀｶﾅ";
    const std::string bytes = platform::utf8ToAnsi(text);
    EXPECT_EQ(platform::utf8ToAnsi(text), bytes);
    EXPECT_EQ(platform::ansiToUtf8(bytes), text);
    EXPECT_EQ(platform::ansiToUtf8(bytes), text);
    EXPECT_THROW(platform::utf8ToAnsi("零🚀"), ArgumentError);
    EXPECT_EQ(platform::ansiToUtf8("\x83\x41\x83"), "ア\xef\xbf\xbd"); // a lead byte cut off
    platform::setAnsiCodePage("CP1252");
    EXPECT_EQ(platform::utf8ToAnsi("é"), "\xe9");
    EXPECT_THROW(platform::utf8ToAnsi("零"), ArgumentError);
    platform::setAnsiCodePage(restore.codePage);
    EXPECT_EQ(platform::utf8ToAnsi(text), bytes);
    EXPECT_EQ(platform::ansiToUtf8(bytes), text);
}

TEST(InstanceLock, SecondHolderIsRefusedUntilReleased) {
    TempDir dir;
    platform::InstanceLock first("vokari", dir.path());
    platform::InstanceLock second("vokari", dir.path());
    EXPECT_TRUE(first.tryAcquire());
    EXPECT_FALSE(second.tryAcquire());
    first.release();
    EXPECT_TRUE(second.tryAcquire());
}

// Another process holding a folder makes this one wait, then give up naming the folder; the
// same folder reached through a link is the same lock, and a holder that ends frees it.
TEST(FolderLock, AnotherProcessHoldsTheFolderUntilItEnds) {
    VOKARI_POSIX_ONLY("fork, signals and links");
#ifndef _WIN32
    TempDir dir;
    fs::create_directories(dir.path() / "game");
    fs::create_directory_symlink(dir.path() / "game", dir.path() / "alias");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const platform::FolderLock held(dir.path() / "game");
        (void)!::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    try {
        const platform::FolderLock second(dir.path() / "alias/", std::chrono::milliseconds(50));
        ADD_FAILURE() << "taken twice";
    } catch (const LockError& e) {
        EXPECT_NE(std::string(e.what()).find((dir.path() / "game").string()), std::string::npos)
            << e.what();
    }
    {
        const platform::FolderLock inProcess(dir.path() / "other", std::chrono::milliseconds(50));
        const platform::FolderLock again(dir.path() / "other", std::chrono::milliseconds(50));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_NO_THROW(platform::FolderLock(dir.path() / "game", std::chrono::milliseconds(500)));
    ::close(ready[0]);
    ::close(ready[1]);
#endif
}

#ifdef _WIN32
// A mutex is owned by a thread, which may take it again: another thread of the program is
// refused all the same.
TEST(InstanceLock, WindowsAnotherThreadIsRefusedToo) {
    TempDir dir;
    const auto takenInAnotherThread = [&] {
        bool taken = false;
        std::thread([&] {
            platform::InstanceLock other("vokari", dir.path());
            taken = other.tryAcquire();
        }).join();
        return taken;
    };
    platform::InstanceLock first("vokari", dir.path());
    ASSERT_TRUE(first.tryAcquire());
    EXPECT_FALSE(takenInAnotherThread());
    first.release();
    EXPECT_TRUE(takenInAnotherThread());
}
#endif
