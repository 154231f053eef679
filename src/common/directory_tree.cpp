#include "common/directory_tree.h"

#include "common/file_helpers.h"
#include "platform/file_system.h"

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

int16_t removeDirectoryTree(std::string_view folder) {
    int failures = 0;
    try {
        std::string root(folder);
        while (root.size() > 1 && (root.back() == '\\' || root.back() == '/'))
            root.pop_back();
        const auto rootAttributes = platform::fileAttributes(root);
        if (!rootAttributes)
            return 0;
        if (*rootAttributes & platform::kAttrReparsePoint ||
            !(*rootAttributes & platform::kAttrDirectory)) {
            // A link (or a file) in place of the folder: remove it, never what it points to.
            platform::deleteFile(root);
            return 0;
        }
        DirectoryEntryTable entries;
        collectDirectoryEntries(root + "\\", entries);
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            const bool isFolder = (it->attributes & platform::kAttrDirectory) &&
                                  !(it->attributes & platform::kAttrReparsePoint);
            const bool removed =
                isFolder ? platform::removeFolder(it->path) : platform::deleteFile(it->path);
            if (!removed)
                ++failures;
        }
        platform::removeFolder(root);
        return static_cast<int16_t>(std::min(failures, int(std::numeric_limits<int16_t>::max())));
    } catch (...) {
        // Out of memory or the like: the tree is not gone, so never report success.
        return static_cast<int16_t>(std::max(failures, 1));
    }
}

} // namespace vokari
