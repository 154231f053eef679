#pragma once

#include <filesystem>
#include <optional>

// The system calls behind createFoldersObserved (change_observer.cpp), which is one for every
// system.
namespace vokari::platform {

// Whether what is at `host` (links followed) is a folder; nothing when nothing is there or the
// system cannot tell.
std::optional<bool> isFolderAt(const std::filesystem::path& host);

// Creates the one folder `host`: 0 or the system's error number (EEXIST when the name is
// taken).
int makeHostFolder(const std::filesystem::path& host);

} // namespace vokari::platform
