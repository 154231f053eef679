#pragma once

#include <string_view>

// Entry points that feed bytes a stranger wrote to the readers, and check what must hold
// whatever the bytes: no crash, nothing written outside the game folder, a write that edits
// only its own line, a canonical layout that is a fixed point. Built into libFuzzer programs
// and into the test that replays the inputs kept under regressions/.
namespace vokari::fuzz {

struct Target {
    const char* name;
    void (*run)(std::string_view data);
};

// Every target, by name: profile, registry, qc, zip, lha, placement, aircraft.
const Target* findTarget(std::string_view name);
const Target* targetsBegin();
const Target* targetsEnd();

} // namespace vokari::fuzz
