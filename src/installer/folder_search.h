#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Reading the game folder for the directory picker and the file finder. Names that cannot
// stand in a Windows path (a "\", ":" or control character, possible on Linux) are left out;
// links to folders are shown but not entered, so no tree is read twice or without end.
namespace vokari {

struct FolderNode {
    std::string name;
    std::vector<FolderNode> children;
};

// The folders below `root` (a Windows path ending in a backslash), each with its own, in
// listing order. A folder that cannot be read has none.
std::vector<FolderNode> readFolderTree(std::string_view root);

// Every file named `fileName` (without regard to case) in the tree under `root`, as paths
// relative to the root: the root's own as bare names, one in AIRCRAFT\P51 as
// AIRCRAFT\P51\ + name. A folder's hits come before those of its sub-folders. `visiting` is
// told each folder (relative, ending in a backslash; empty for the root) before it is searched.
std::vector<std::string>
findFilesByName(std::string_view root, std::string_view fileName,
                const std::function<void(const std::string&)>& visiting = {});

} // namespace vokari
