#include "installer/execute.h"
#include "support/fixtures.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace vokari {
namespace {

TEST(Execute, SplitsTheCommandLineAfterAnExistingFileOnly) {
    test::TestPrefix prefix;
    test::writeFile(prefix.driveC() / "Tools" / "my viewer.exe", "program");
    const std::string viewer = test::winPath("C:\\Tools\\my viewer.exe");
    std::string file;
    std::string parameters;
    splitCommandLine(viewer + " -a b", file, parameters);
    EXPECT_EQ(file, viewer);
    EXPECT_EQ(parameters, "-a b");
    // A bare program name stays whole, and so does a line beginning with a space.
    for (const std::string& whole : {"NOTEPAD " + viewer, " " + viewer + " x"}) {
        splitCommandLine(whole, file, parameters);
        EXPECT_EQ(file, whole);
        EXPECT_EQ(parameters, "");
    }
    EXPECT_EQ(commandWords(" a  \"b c\"\td"), (std::vector<std::string>{"a", "b c", "d"}));
}

TEST(Execute, OpensFilesWithTheDesktopFirstThenStartsTheCommandLine) {
    VOKARI_POSIX_ONLY("the desktop's opener (xdg-open) and shell scripts on PATH");
    test::TestPrefix prefix;
    const fs::path bin = prefix.root() / "bin";
    const fs::path seen = prefix.root() / "seen";
    test::writeFile(bin / "xdg-open", "#!/bin/sh\necho \"opened $1\" > " + seen.string() + "\n");
    test::writeFile(bin / "viewer", "#!/bin/sh\necho \"viewer $1\" > " + seen.string() + "\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    fs::permissions(bin / "viewer", fs::perms::owner_all);
    test::ScopedEnv path("PATH", bin.string() + ":/usr/bin:/bin");
    test::writeFile(prefix.driveC() / "work" / "photo.jpg", "jpg");

    Execute executor;
    EXPECT_TRUE(executor.shellX("C:\\work\\photo.jpg", 1, 0, true));
    EXPECT_EQ(test::readFile(seen),
              "opened " + (prefix.driveC() / "work" / "photo.jpg").string() + "\n");
    // No such file: the line is started as it stands.
    EXPECT_TRUE(executor.shellX("viewer C:\\work\\photo.jpg", 1, 0, true));
    EXPECT_EQ(test::readFile(seen), "viewer C:\\work\\photo.jpg\n");
    EXPECT_FALSE(executor.shellX("no-such-program C:\\work\\photo.jpg", 1, 0, false));
}

TEST(Execute, ADocumentIsNotOpenedWhenTheOpenerFindsNoProgramOrThereIsNone) {
    VOKARI_POSIX_ONLY("the desktop's opener (xdg-open) and shell scripts on PATH");
    test::TestPrefix prefix;
    const fs::path bin = prefix.root() / "bin";
    test::ScopedEnv path("PATH", bin.string() + ":/usr/bin:/bin");
    test::writeFile(prefix.driveC() / "work" / "photo.jpg", "jpg");
    Execute executor;
    int pumped = 0;
    executor.setEventPump([&pumped] { ++pumped; });
    // What the opener says of the file: xdg-open's 3 and 4 are "no program" and "it failed".
    for (const auto& [script, opened] :
         {std::pair{"exit 0", true}, std::pair{"exit 3", false}, std::pair{"exit 4", false},
          std::pair{"sleep 0.3; exit 3", false}}) {
        test::writeFile(bin / "xdg-open", std::string("#!/bin/sh\n") + script + "\n");
        fs::permissions(bin / "xdg-open", fs::perms::owner_all);
        EXPECT_EQ(executor.shellX("C:\\work\\photo.jpg", 1, 0, false), opened) << script;
    }
    EXPECT_GT(pumped, 0) << "the window stays responsive while the opener decides";
    fs::remove(bin / "xdg-open");
    EXPECT_FALSE(executor.shellX("C:\\work\\photo.jpg", 1, 0, false));
}

} // namespace
} // namespace vokari
