#include "common/directory_tree.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::TempDir;
using vokari::test::writeFile;

TEST(DirectoryTree, EntriesOfAFolderComeBeforeThoseOfItsSubFolders) {
    TempDir dir;
    writeFile(dir / "root/b/inner.txt", "");
    writeFile(dir / "root/a/deep/x.txt", "");
    writeFile(dir / "root/z.txt", "");
    DirectoryEntryTable entries;
    const std::string root = (dir / "root").string() + "\\";
    collectDirectoryEntries(root, entries);
    std::vector<std::string> paths;
    for (const auto& e : entries)
        paths.push_back(e.path.substr(root.size()));
    EXPECT_EQ(paths, (std::vector<std::string>{"a", "b", "z.txt", "a\\deep", "a\\deep\\x.txt",
                                               "b\\inner.txt"}));
    EXPECT_TRUE(entries[0].attributes & 16);
    EXPECT_FALSE(entries[2].attributes & 16);
}

TEST(DirectoryTree, RemovesEverythingAndCountsWhatStays) {
    TempDir dir;
    writeFile(dir / "t1/a/b/c.txt", "");
    writeFile(dir / "t1/d.txt", "");
    EXPECT_EQ(removeDirectoryTree((dir / "t1").string() + "\\"), 0);
    EXPECT_FALSE(fs::exists(dir / "t1"));

    // a read-only file directly inside: file and folder stay, both counted
    writeFile(dir / "t2/ro.txt", "");
    test::makeReadOnly(dir / "t2/ro.txt");
    EXPECT_EQ(removeDirectoryTree((dir / "t2").string()), 2);
    EXPECT_TRUE(fs::exists(dir / "t2/ro.txt"));

    // one level deeper: the file, its sub-folder and the tree's own folder
    writeFile(dir / "t3/sub/ro.txt", "");
    writeFile(dir / "t3/other.txt", "");
    test::makeReadOnly(dir / "t3/sub/ro.txt");
    EXPECT_EQ(removeDirectoryTree((dir / "t3").string()), 3);
    EXPECT_FALSE(fs::exists(dir / "t3/other.txt"));

    EXPECT_EQ(removeDirectoryTree((dir / "missing").string()), 0);
}

TEST(DirectoryTree, LinksAreRemovedAsLinksNeverFollowed) {
    VOKARI_POSIX_ONLY("symbolic links");
    TempDir dir;
    writeFile(dir / "outside/precious.txt", "keep");
    writeFile(dir / "tree/file.txt", "");
    fs::create_symlink(dir / "outside", dir / "tree/link-to-folder");
    fs::create_symlink(dir / "outside/precious.txt", dir / "tree/link-to-file");
    fs::create_symlink(dir / "nowhere", dir / "tree/dangling");
    EXPECT_EQ(removeDirectoryTree((dir / "tree").string()), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "tree")));
    EXPECT_TRUE(fs::exists(dir / "outside/precious.txt"));

    // the tree itself given as a link
    fs::create_symlink(dir / "outside", dir / "alias");
    EXPECT_EQ(removeDirectoryTree((dir / "alias").string()), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "alias")));
    EXPECT_TRUE(fs::exists(dir / "outside/precious.txt"));
}

TEST(DirectoryTree, RemovesWhatTheDiskHoldsNeverAnotherFileOfTheSameName) {
    VOKARI_POSIX_ONLY("names Windows cannot hold");
    TempDir dir;
    // Names legal on Linux that a Windows path would read as "..\..\Good" or hide.
    writeFile(dir / "Aircraft/Good/aircraft.cfg", "good");
    writeFile(dir / "Aircraft/Bad/a\\..\\..\\Good/x.txt", "");
    writeFile(dir / "Aircraft/Bad/.DS_Store", "");
    writeFile(dir / "Aircraft/Bad/sub/.hidden", "");
    writeFile(dir / "Aircraft/Bad/what?*:.txt", "");
    EXPECT_EQ(removeDirectoryTree((dir / "Aircraft/Bad").string() + "\\"), 0);
    EXPECT_FALSE(fs::exists(dir / "Aircraft/Bad"));
    EXPECT_EQ(test::readFile(dir / "Aircraft/Good/aircraft.cfg"), "good");
}

TEST(DirectoryTree, AFileWhereTheFolderShouldBeIsLeft) {
    TempDir dir;
    writeFile(dir / "file.txt", "keep");
    EXPECT_EQ(removeDirectoryTree((dir / "file.txt").string()), 1);
    EXPECT_EQ(test::readFile(dir / "file.txt"), "keep");
}
