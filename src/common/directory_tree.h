#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vokari {

// One file or folder met by collectDirectoryEntries.
struct DirectoryEntry {
    std::string path;        // full Windows path
    uint32_t attributes = 0; // platform::kAttr* bits; 16 = folder
};
using DirectoryEntryTable = std::vector<DirectoryEntry>;

// Appends every entry under `folder` (ending in a backslash): first all entries of the folder
// in listing order, then, sub-folder by sub-folder, their entries, recursively. Hidden entries
// are not listed; links to folders are listed but not entered.
void collectDirectoryEntries(std::string_view folder, DirectoryEntryTable& entries);

// Deletes `folder` (with or without trailing backslash) and everything in it, hidden entries
// too. Returns how many entries could not be deleted, the folder itself included, so anything
// but 0 means the tree is not gone; a missing folder gives 0. The tree is walked on the host
// folder itself, never through names mapped back from the disk. A symbolic link to a folder is
// removed as a link: nothing outside the tree is touched. A file, or a link to one, where the
// folder should be is refused (1). `leftBehind`, when given, receives the host path of each
// entry that stays. Never throws.
int16_t removeDirectoryTree(std::string_view folder,
                            std::vector<std::string>* leftBehind = nullptr);

} // namespace vokari
