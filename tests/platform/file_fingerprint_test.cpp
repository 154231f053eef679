#include "platform/file_fingerprint.h"
#include "support/fixtures.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::TempDir;
using vokari::test::writeFile;

// The bytes decide: the time alone neither shows nor hides a change.
TEST(FileFingerprint, TellsWhetherTheBytesChanged) {
    TempDir dir;
    const fs::path host = dir / "cfs2.cfg";
    const std::string path = host.string();
    const platform::FileFingerprint missing = platform::fileFingerprint(path);
    EXPECT_FALSE(missing.exists);
    EXPECT_FALSE(platform::fileChangedSince(missing, path));

    const std::string bytes(300 * 1024 + 5, 'a'); // more than one block, and a tail
    writeFile(host, bytes);
    EXPECT_TRUE(platform::fileChangedSince(missing, path));
    const platform::FileFingerprint read = platform::fileFingerprint(path);
    EXPECT_TRUE(read.exists);
    EXPECT_EQ(read.size, static_cast<int64_t>(bytes.size()));
    EXPECT_NE(read.mtimeNs, 0);

    const auto time = fs::last_write_time(host);
    fs::last_write_time(host, time + std::chrono::seconds(5));
    EXPECT_FALSE(platform::fileChangedSince(read, path)) << "written again, the same bytes";
    std::string other = bytes;
    other[200 * 1024] = 'b';
    writeFile(host, other);
    fs::last_write_time(host, time);
    EXPECT_TRUE(platform::fileChangedSince(read, path)) << "one byte, the same size and time";
    writeFile(host, bytes + "x");
    EXPECT_TRUE(platform::fileChangedSince(read, path));
    fs::remove(host);
    EXPECT_TRUE(platform::fileChangedSince(read, path));
}
