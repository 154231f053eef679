#pragma once

#include <filesystem>

// The demo games: a Wine-style prefix with both games installed, built from the repository's
// demo/ folder, kept in the user's data folder between runs.
namespace vokari {

// Where the demo's source files are: VOKARI_DEMO_SOURCE, else share/vokari/demo beside the
// installed program, else the source tree's demo/ folder.
std::filesystem::path demoSourceDirectory();

// The demo prefix ($XDG_DATA_HOME/vokari/demo): copied from the source on first use (or afresh
// when `reset`), with its dosdevices links. Throws IoError.
std::filesystem::path prepareDemoPrefix(bool reset);

// Prepares the demo prefix and makes it the prefix every lookup uses.
std::filesystem::path useDemoPrefix(bool reset);

} // namespace vokari
