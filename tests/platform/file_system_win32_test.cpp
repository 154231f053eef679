// The Windows side of the file layer: names in UTF-16, attributes from the file system.
#include <gtest/gtest.h>

#ifdef _WIN32

#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/folder_listings.h"
#include "platform/path_text.h"
#include "support/fixtures.h"

#include <cerrno>
#include <windows.h>

namespace fs = std::filesystem;
using namespace vokari;
using namespace vokari::platform;
using vokari::test::TempDir;

namespace {

std::string text(const fs::path& path) {
    return utf8Of(path);
}

void setAttributes(const std::string& path, DWORD attributes) {
    ASSERT_TRUE(::SetFileAttributesW(pathFromUtf8(path).c_str(), attributes));
}

} // namespace

TEST(WindowsFiles, NamesOutsideTheCodePage) {
    TempDir dir;
    // A Japanese aircraft folder, and a file whose name CP932 cannot hold.
    const std::string folder = text(dir.path()) + "\\Aircraft\\零式艦上戦闘機";
    const std::string name = "Łódź-\xF0\x9F\x9B\xA9.cfg";
    createDirectories(folder);
    writeFileAtomic(folder + "\\" + name, "[fltsim.0]");
    writeFileAtomic(folder + "\\aircraft.cfg", "");

    const auto entries = listDirectory(folder);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "aircraft.cfg");
    EXPECT_EQ(entries[1].name, name);
    EXPECT_EQ(readFileBytes(folder + "\\" + name), "[fltsim.0]");
    EXPECT_EQ(listDirectory(text(dir.path()) + "\\Aircraft")[0].name, "零式艦上戦闘機");

    int err = 0;
    const auto top = FolderHandle::open(text(dir.path() / L"Aircraft"), err);
    ASSERT_TRUE(top);
    const auto plane = top->openChild("零式艦上戦闘機", err);
    ASSERT_TRUE(plane);
    EXPECT_EQ(plane->kindOf(name), HostKind::File);
    ASSERT_EQ(plane->makeFolder("panel"), 0);
    const auto panel = plane->openChild("panel", err);
    StagedCopy staged;
    ASSERT_EQ(stageCopy(*plane, name, panel, staged), 0);
    ASSERT_EQ(commitCopy(staged), 0);
    EXPECT_EQ(readFileBytes(folder + "\\panel\\" + name), "[fltsim.0]");

    ListingScope scope;
    const auto found = findListed(folder, "AIRCRAFT.CFG");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, "aircraft.cfg");
    // One folder however its path is spelled.
    writeFileAtomic(folder + "\\later.cfg", "");
    EXPECT_TRUE(findListed(text(dir.path()) + "/aircraft/零式艦上戦闘機/", "later.cfg"));
}

TEST(WindowsFiles, HiddenAndReadOnlyAttributes) {
    TempDir dir;
    const std::string folder = text(dir.path());
    const std::string hidden = folder + "\\hidden.txt";
    const std::string readOnly = folder + "\\readonly.txt";
    writeFileAtomic(hidden, "h");
    writeFileAtomic(readOnly, "r");
    setAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
    setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);

    // A file being written is hidden until it takes its name.
    AtomicFileWriter staged(pathFromUtf8(folder + "\\new.txt"));
    staged.write("n");
    const auto entries = listDirectory(folder);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "readonly.txt");
    EXPECT_EQ(entries[0].attributes & (kAttrReadOnly | kAttrHidden), kAttrReadOnly);
    staged.commit();
    EXPECT_EQ(listDirectory(folder).size(), 2u);

    writeFileAtomic(hidden, "h2"); // stays hidden
    EXPECT_TRUE(*fileAttributes(hidden) & kAttrHidden);
    EXPECT_EQ(readFileBytes(hidden), "h2");

    errno = 0;
    EXPECT_FALSE(deleteFile(readOnly));
    EXPECT_EQ(errno, EROFS);
    try {
        writeFileAtomic(readOnly, "x");
        ADD_FAILURE();
    } catch (const IoError& e) {
        EXPECT_EQ(e.errorNumber(), EROFS);
    }
    // A copy keeps the attribute; a tree keeps the file.
    ASSERT_EQ(copyFileExact(pathFromUtf8(readOnly), pathFromUtf8(folder + "\\copy.txt")), 0);
    EXPECT_TRUE(*fileAttributes(folder + "\\copy.txt") & kAttrReadOnly);
    std::vector<std::string> left;
    fs::create_directories(dir.path() / L"tree");
    ASSERT_EQ(copyFileExact(pathFromUtf8(readOnly), dir.path() / L"tree" / L"kept.txt"), 0);
    writeFileAtomic(folder + "\\tree\\gone.txt", "");
    EXPECT_EQ(removeHostTree(folder + "\\tree", &left), 2);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0], folder + "\\tree\\kept.txt");
    setAttributes(folder + "\\tree\\kept.txt", FILE_ATTRIBUTE_NORMAL);
    setAttributes(folder + "\\copy.txt", FILE_ATTRIBUTE_NORMAL);
    setAttributes(readOnly, FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFiles, NewFilesAndLeftovers) {
    TempDir dir;
    const std::string folder = text(dir.path());
    NewFileWriter first(pathFromUtf8(folder + "\\pkg.txt"));
    NewFileWriter second(pathFromUtf8(folder + "\\pkg.txt"));
    first.write("1");
    second.write("2");
    first.finish(1000000000);
    second.finish(1000000000);
    first.commit();
    try {
        second.commit();
        ADD_FAILURE();
    } catch (const IoError& e) {
        EXPECT_EQ(e.errorNumber(), EEXIST);
    }
    EXPECT_EQ(readFileBytes(folder + "\\pkg.txt"), "1");
    EXPECT_EQ(fileStamp(folder + "\\pkg.txt")->mtimeNs, 1000000000ll * 1000000000);

    // Another run's staging file goes; this run's stays.
    writeFileAtomic(folder + "\\.vokari-999999-1", "");
    AtomicFileWriter live(pathFromUtf8(folder + "\\live.txt"));
    live.write("x");
    EXPECT_EQ(removeLeftovers(dir.path()), 1u);
    live.commit();
    EXPECT_EQ(readFileBytes(folder + "\\live.txt"), "x");

    // A read at an offset leaves the position where it was.
    FileReader reader;
    writeFileAtomic(folder + "\\digits.txt", "0123456789");
    ASSERT_EQ(reader.open(pathFromUtf8(folder + "\\digits.txt")), 0);
    char c[3] = {};
    EXPECT_EQ(reader.read(c, 2), 2);
    EXPECT_EQ(reader.readAt(c, 3, 5), 3);
    EXPECT_EQ(std::string(c, 3), "567");
    EXPECT_EQ(reader.read(c, 2), 2);
    EXPECT_EQ(std::string(c, 2), "23");
    EXPECT_EQ(reader.open(dir.path()), EISDIR);
}

#endif
