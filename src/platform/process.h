#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vokari::platform {

// The folders of PATH in order (an empty entry is the current folder); /usr/bin and /bin when
// PATH is unset.
std::vector<std::filesystem::path> pathFolders();

// The full path of an executable named `name` in the folders of PATH.
std::optional<std::filesystem::path> findProgramOnPath(const std::string& name);

// Starts a program detached from this one (it outlives us and leaves no zombie). False when it
// could not be started.
bool startDetached(const std::filesystem::path& program, const std::vector<std::string>& args);

// Starts the desktop's system-information program, if one is installed.
bool startSystemInfoProgram();

} // namespace vokari::platform
