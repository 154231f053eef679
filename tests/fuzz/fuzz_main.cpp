#include "fuzz_targets.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// One libFuzzer program per target; the build names the target.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vokari::fuzz::Target* target = [] {
        const auto* found = vokari::fuzz::findTarget(VOKARI_FUZZ_TARGET);
        if (!found) {
            std::fprintf(stderr, "no fuzz target %s\n", VOKARI_FUZZ_TARGET);
            std::abort();
        }
        return found;
    }();
    target->run(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
