#include "platform/path_text.h"
#include "platform/process.h"
#include "support/fixtures.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::TempDir;

#ifdef _WIN32
// A program named without its extension is found with one of PATHEXT's, a batch file runs in
// the command interpreter, and its arguments arrive as given, Japanese and spaces included.
TEST(WindowsProcess, BatchFileFoundByPathextRunsWithItsArguments) {
    TempDir dir;
    const fs::path folder = dir.path() / L"ツール";
    fs::create_directories(folder);
    std::ofstream(folder / L"write.cmd") << "@echo %~1> \"%~2\"\r\n";
    const auto program = platform::findProgramOnPath(platform::utf8Of(folder / L"write"));
    ASSERT_TRUE(program);
    EXPECT_EQ(program->filename(), fs::path(L"write.cmd"));
    EXPECT_TRUE(platform::isExecutable(*program));
    EXPECT_FALSE(platform::findProgramOnPath(platform::utf8Of(folder / L"none")));

    const fs::path out = folder / L"出力 1.txt";
    const int pid = platform::startChild(*program, {"hello", platform::utf8Of(out)});
    ASSERT_NE(pid, 0);
    while (!platform::childEnded(pid))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::string line;
    std::getline(std::ifstream(out), line);
    EXPECT_EQ(line, "hello");
    EXPECT_FALSE(platform::startDetached(folder / L"none.exe", {}));
}
#endif
