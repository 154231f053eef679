#include "common/file_helpers.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::readFile;
using vokari::test::TempDir;
using vokari::test::writeFile;

TEST(PathStrings, SplitPath) {
    std::string folder, name;
    splitPath("a\\b\\c.txt", folder, name);
    EXPECT_EQ(folder, "a\\b\\");
    EXPECT_EQ(name, "c.txt");
    splitPath("a/b/c.txt", folder, name, "/"); // joined by backslashes whatever the separator
    EXPECT_EQ(folder, "a\\b\\");
    EXPECT_EQ(name, "c.txt");
    splitPath("c.txt", folder, name);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(name, "c.txt");
    splitPath("x\\y\\", folder, name);
    EXPECT_EQ(folder, "x\\y\\");
    EXPECT_EQ(name, "");
    splitPath("", folder, name);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(name, "");
}

TEST(PathStrings, ElementsParentsAndExtensions) {
    EXPECT_EQ(lastPathElement("a\\b\\c"), "c");
    EXPECT_EQ(lastPathElement("abc"), "abc");
    EXPECT_EQ(lastPathElement("a/b", "/"), "b");
    EXPECT_EQ(lastPathElement(""), "");
    EXPECT_EQ(parentPath("a\\b\\c"), "a\\b");
    EXPECT_EQ(parentPath("a\\b\\"), "a\\b");
    EXPECT_EQ(parentPath("spitfire\\sound"), "spitfire");
    EXPECT_EQ(parentPath("spitfire"), "");
    EXPECT_EQ(parentPath(""), "");
    EXPECT_EQ(fileExtension("dir.old\\readme"), "old\\readme");
    EXPECT_EQ(fileExtension("p51d.ZIP"), "ZIP");
    EXPECT_EQ(fileExtension("noext"), "");
    EXPECT_EQ(fileExtension(""), "");
    EXPECT_EQ(removeExtension("archive.tar.gz"), "archive.tar");
    EXPECT_EQ(removeExtension("name."), "name.");
    EXPECT_EQ(removeExtension("plain"), "plain");
}

TEST(PathStrings, AbbreviatePath) {
    EXPECT_EQ(abbreviatePath("ab\\cd\\ef\\file.txt", 10), "...\\file.txt");
    EXPECT_EQ(abbreviatePath("ab\\cd\\ef\\file.txt", 20), "ab\\cd\\ef\\file.txt");
    EXPECT_EQ(abbreviatePath("ab\\cd\\ef\\file.txt", 16), "ab\\cd\\...\\file.txt");
    EXPECT_EQ(abbreviatePath("a\\averyveryverylongname.txt", 5), "...\\averyveryverylongname.txt");
    EXPECT_EQ(abbreviatePath("averyveryverylongname.txt", 5), "averyveryverylongname.txt");
    EXPECT_EQ(abbreviatePath("a/b/c", 3, "/"), "...\\c");
    EXPECT_EQ(abbreviatePath("", 10), "");
}

TEST(Files, FileExistsCountsNormalFilesOnly) {
    TempDir dir;
    writeFile(dir / "Aircraft.CFG", "x");
    writeFile(dir / ".hidden.cfg", "x");
    test::makeHidden(dir / ".hidden.cfg");
    fs::create_directories(dir / "panel");
    const std::string root = dir.path().string() + "\\";
    EXPECT_TRUE(fileExists(root + "aircraft.cfg"));
    EXPECT_FALSE(fileExists(root + "aircraft.cfg.rst"));
    EXPECT_FALSE(fileExists(root + "panel"));
    EXPECT_FALSE(fileExists(root + ".hidden.cfg"));
    EXPECT_TRUE(fileExists(root + "*.cfg"));
    EXPECT_FALSE(fileExists(root + "*.zip"));
    EXPECT_FALSE(fileExists(root + "pan*")); // only a folder matches
    EXPECT_FALSE(fileExists(""));
}

TEST(Files, CopyTextFileEndsEveryLineWithCrLf) {
    TempDir dir;
    writeFile(dir / "src.cfg", "a\r\nb\nc\rd");
    copyTextFile((dir / "src.cfg").string(), (dir / "dst.cfg").string());
    EXPECT_EQ(readFile(dir / "dst.cfg"), "a\r\nb\r\nc\r\nd\r\n");

    writeFile(dir / "blank.cfg", "x\r\n\r\n");
    copyTextFile((dir / "blank.cfg").string(), (dir / "dst.cfg").string());
    EXPECT_EQ(readFile(dir / "dst.cfg"), "x\r\n\r\n");

    // no source: nothing happens, an existing target stays
    copyTextFile((dir / "missing").string(), (dir / "dst.cfg").string());
    EXPECT_EQ(readFile(dir / "dst.cfg"), "x\r\n\r\n");

    // CP932 bytes whose second byte is a backslash or a line-feed-free byte pass unchanged
    const std::string sjisBytes = "\x83\x5c\x83\x74\x83\x67\r\n";
    writeFile(dir / "sjis.cfg", sjisBytes);
    copyTextFile((dir / "sjis.cfg").string(), (dir / "out.cfg").string());
    EXPECT_EQ(readFile(dir / "out.cfg"), sjisBytes);
}

TEST(Files, FindFileInTree) {
    TempDir dir;
    writeFile(dir / "a/b/Target.GAU", "x");
    writeFile(dir / "c/other.gau", "x");
    const std::string found = findFileInTree("target.gau", dir.path().string());
    EXPECT_EQ(found, dir.path().string() + "\\a\\b\\Target.GAU");
    EXPECT_EQ(findFileInTree("none.gau", dir.path().string()), "");
}

TEST(Files, FindFileInTreeNeverFollowsLinks) {
    VOKARI_POSIX_ONLY("symbolic links");
    TempDir dir;
    fs::create_symlink(dir.path(), dir / "loop");
    EXPECT_EQ(findFileInTree("none.gau", dir.path().string()), "");
    writeFile(dir / "a/Target.GAU", "x");
    EXPECT_EQ(findFileInTree("target.gau", dir.path().string()),
              dir.path().string() + "\\a\\Target.GAU");
}
