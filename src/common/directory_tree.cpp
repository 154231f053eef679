#include "common/directory_tree.h"

#include "common/file_helpers.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"

#include <algorithm>
#include <limits>

namespace vokari {

void collectDirectoryEntries(std::string_view folder, DirectoryEntryTable& entries) {
    std::vector<std::string> subFolders;
    for (const auto& entry : platform::listDirectory(folder)) {
        std::string full = joinPath(folder, entry.name);
        if (entry.isDirectory() && !entry.isLink())
            subFolders.push_back(full);
        entries.push_back(DirectoryEntry{std::move(full), entry.attributes});
    }
    for (const auto& sub : subFolders)
        collectDirectoryEntries(sub + "\\", entries);
}

int16_t removeDirectoryTree(std::string_view folder, std::vector<std::string>* leftBehind) {
    try {
        std::string root(folder);
        while (root.size() > 1 && (root.back() == '\\' || root.back() == '/'))
            root.pop_back();
        const long failures = platform::removeHostTree(platform::hostPathText(root), leftBehind);
        return static_cast<int16_t>(std::min(failures, long(std::numeric_limits<int16_t>::max())));
    } catch (...) {
        // Out of memory or the like: the tree is not gone, so never report success.
        return 1;
    }
}

} // namespace vokari
