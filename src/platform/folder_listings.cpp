#include "platform/folder_listings.h"

#include "platform/file_system.h"
#include "platform/listing_table.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vokari::platform {

using namespace listing_table;

namespace {

HostKind kindOfMode(mode_t mode) {
    return S_ISDIR(mode)   ? HostKind::Folder
           : S_ISREG(mode) ? HostKind::File
           : S_ISLNK(mode) ? HostKind::Link
                           : HostKind::Other;
}

HostKind kindAt(int dirFd, const char* name, int flags) {
    struct stat st;
    return ::fstatat(dirFd, name, &st, flags) == 0 ? kindOfMode(st.st_mode) : HostKind::None;
}

// Reads the folder open as `fd` into `listing`.
void readFolder(Listing& listing, int fd) {
    const int copy = ::dup(fd);
    DIR* dir = copy < 0 ? nullptr : ::fdopendir(copy);
    if (!dir) {
        if (copy >= 0)
            ::close(copy);
        return;
    }
    ::rewinddir(dir);
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..")
            continue;
        if (isStagingName(name)) {
            listing.sawLeftovers(); // ours, or a killed run's: never a name a lookup asks for
            continue;
        }
        HostKind kind = e->d_type == DT_DIR       ? HostKind::Folder
                        : e->d_type == DT_REG     ? HostKind::File
                        : e->d_type == DT_LNK     ? HostKind::Link
                        : e->d_type == DT_UNKNOWN ? kindAt(fd, e->d_name, AT_SYMLINK_NOFOLLOW)
                                                  : HostKind::Other;
        if (kind == HostKind::None)
            continue; // gone meanwhile
        listing.add(std::string(name), kind,
                    kind == HostKind::Link ? kindAt(fd, e->d_name, 0) : kind);
    }
    ::closedir(dir);
    listing.markRead();
}

Listing& listingAt(std::string_view folder, bool sweep, size_t* leftovers, int openFd) {
    const std::string_view key = folderKey(folder);
    auto& folders = current()->folders;
    auto it = folders.find(key);
    if (it == folders.end()) {
        it = folders.emplace(std::string(key), std::make_unique<Listing>()).first;
        const int fd = openFd >= 0 ? openFd
                                   : ::open(key.empty() ? "." : it->first.c_str(),
                                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            readFolder(*it->second, fd);
            if (sweep && it->second->hasLeftovers()) {
                const size_t removed = removeLeftoversAt(fd);
                if (leftovers)
                    *leftovers += removed;
                it->second->sweptLeftovers();
            }
            if (fd != openFd)
                ::close(fd);
        }
        return *it->second;
    }
    Listing& found = *it->second;
    if (sweep && found.hasLeftovers()) {
        const size_t removed = removeLeftovers(std::filesystem::path(it->first));
        if (leftovers)
            *leftovers += removed;
        found.sweptLeftovers();
    }
    return found;
}

} // namespace

namespace listing_table {

Listing& listing(std::string_view folder, bool sweep, size_t* leftovers) {
    return listingAt(folder, sweep, leftovers, -1);
}

HostKind linkTargetKind(const std::filesystem::path& host) {
    struct stat st;
    return ::stat(host.c_str(), &st) == 0 ? kindOfMode(st.st_mode) : HostKind::None;
}

} // namespace listing_table

bool listFolderAt(int fd, std::string_view folder, bool sweep, size_t* leftovers) {
    return current() && listingAt(folder, sweep, leftovers, fd).isRead();
}

} // namespace vokari::platform
