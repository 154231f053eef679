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

// Deletes `folder` (with or without trailing backslash) and everything in it. Returns how many
// files and sub-folders could not be deleted; the folder itself is not counted. A symbolic
// link is removed as a link: nothing outside the tree is touched. Never throws.
int16_t removeDirectoryTree(std::string_view folder);

} // namespace vokari
