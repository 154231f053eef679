#include "platform/error.h"
#include "platform/write_behind.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>

using namespace vokari;

// Blocks arrive in order; a failed write reaches the caller, and nothing after it is written.
TEST(WriteBehind, WritesInOrderAndPassesOnAFailure) {
    std::string written;
    {
        platform::WriteBehind writing([&written](std::string_view block) { written += block; });
        for (int i = 0; i < 100; ++i)
            writing.put(std::to_string(i) + ",");
        writing.finish();
    }
    std::string expected;
    for (int i = 0; i < 100; ++i)
        expected += std::to_string(i) + ",";
    EXPECT_EQ(written, expected);

    written.clear();
    platform::WriteBehind failing([&written](std::string_view block) {
        if (block == "3")
            throw IoError(FileAction::Write, "cfs2.cfg", ENOSPC);
        written += block;
    });
    EXPECT_THROW(
        {
            for (int i = 0; i < 1000; ++i)
                failing.put(std::to_string(i));
            failing.finish();
        },
        IoError);
    EXPECT_EQ(written, "012");
    EXPECT_THROW(failing.finish(), IoError) << "asked again";
}
