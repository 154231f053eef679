#include "installer/new_file_worker.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace vokari;

// Files are written in the order given; one that cannot be made fails alone, and what is not
// named is gone with its job.
TEST(NewFileWorker, WritesEachFileAloneAndNamesNone) {
    test::TempDir dir;
    fs::create_directories(dir / "game");
    std::shared_ptr<NewFileWorker::Job> first;
    std::shared_ptr<NewFileWorker::Job> dropped;
    {
        NewFileWorker worker;
        first = worker.post(dir / "game/a.cfg", "aaa", 946684800, true);
        const auto missing = worker.post(dir / "nowhere/b.cfg", "bbb", 0, false);
        dropped = worker.post(dir / "game/c.cfg", "ccc", 0, false);
        worker.wait(*dropped);
        ASSERT_TRUE(first->done && missing->done);
        EXPECT_TRUE(first->file && !first->failure);
        EXPECT_TRUE(!missing->file && missing->failure);
        EXPECT_FALSE(fs::exists(dir / "game/a.cfg")); // under a temporary name until named
        first->file->commit();
    }
    EXPECT_EQ(test::readFile(dir / "game/a.cfg"), "aaa");
    dropped.reset();
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "game"), {}), 1);
}
