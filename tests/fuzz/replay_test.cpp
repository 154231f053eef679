#include "fuzz_targets.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace fs = std::filesystem;

// Every input kept from fuzzing goes through its target again; a broken invariant aborts.
TEST(FuzzRegressions, EveryKeptInputPasses) {
    const fs::path root = VOKARI_FUZZ_REGRESSIONS;
    size_t replayed = 0;
    for (const auto& folder : fs::directory_iterator(root)) {
        if (!folder.is_directory())
            continue;
        const auto* target = vokari::fuzz::findTarget(folder.path().filename().string());
        ASSERT_NE(target, nullptr) << "no target for " << folder.path();
        for (const auto& input : fs::directory_iterator(folder.path())) {
            std::ifstream in(input.path(), std::ios::binary);
            const std::string data(std::istreambuf_iterator<char>(in), {});
            // A broken invariant aborts: say first which input it was.
            std::fprintf(stderr, "replaying %s\n", input.path().string().c_str());
            target->run(data);
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0u);
}
