#include "common/directory_tree.h"

#include "common/file_helpers.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

// Removes everything inside the open folder `dir`, entry by entry relative to it, so a name
// read from disk is never mapped again; links are removed as links. Returns what stays.
long removeContents(int dir) {
    std::vector<std::string> names;
    {
        const int listing = ::dup(dir);
        DIR* stream = listing < 0 ? nullptr : ::fdopendir(listing);
        if (!stream) {
            if (listing >= 0)
                ::close(listing);
            return 1;
        }
        while (const dirent* entry = ::readdir(stream)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..")
                names.emplace_back(name);
        }
        ::closedir(stream);
    }
    long failures = 0;
    for (const std::string& name : names) {
        struct stat st;
        if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                ++failures;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            const int sub =
                ::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub < 0) {
                ++failures;
                continue;
            }
            failures += removeContents(sub);
            ::close(sub);
            if (::unlinkat(dir, name.c_str(), AT_REMOVEDIR) != 0)
                ++failures;
        } else if (S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)) {
            ++failures; // read-only, as Windows refuses it
        } else if (::unlinkat(dir, name.c_str(), 0) != 0) {
            ++failures;
        }
    }
    return failures;
}

} // namespace

int16_t removeDirectoryTree(std::string_view folder) {
    long failures = 0;
    try {
        std::string root(folder);
        while (root.size() > 1 && (root.back() == '\\' || root.back() == '/'))
            root.pop_back();
        const std::string host = platform::hostPathText(root);
        struct stat st;
        if (::lstat(host.c_str(), &st) != 0)
            return errno == ENOENT ? 0 : 1;
        if (S_ISLNK(st.st_mode)) {
            // A link in place of the folder: remove the link, never what it points to.
            struct stat target;
            if (::stat(host.c_str(), &target) != 0 || !S_ISDIR(target.st_mode))
                return 1;
            return ::unlink(host.c_str()) == 0 ? 0 : 1;
        }
        if (!S_ISDIR(st.st_mode))
            return 1; // a file where a folder was expected is not what the user chose to delete
        const int dir = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (dir < 0)
            return 1;
        failures = removeContents(dir);
        ::close(dir);
        if (::rmdir(host.c_str()) != 0)
            ++failures;
        return static_cast<int16_t>(std::min(failures, long(std::numeric_limits<int16_t>::max())));
    } catch (...) {
        // Out of memory or the like: the tree is not gone, so never report success.
        return static_cast<int16_t>(
            std::clamp(failures, 1L, long(std::numeric_limits<int16_t>::max())));
    }
}

} // namespace vokari
