#include "platform/file_copy.h"

#include "platform/change_observer.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/file_system_shared.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vokari::platform {
namespace {

// Copies from the position of `from` to its end. With `hash`, the bytes pass through here and
// are hashed on the way: cheaper than reading the copy again for the change journal. `size` is
// what the file held when opened: a short answer once that much is copied is its end, without a
// further call to be told so.
int copyBytes(int from, int to, ContentHash* hash, int64_t size) {
    bool plain = hash != nullptr;
    int64_t copied = 0;
    constexpr size_t kRange = size_t(1) << 30;
    char buffer[128 * 1024];
    while (true) {
        if (!plain) {
            const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, kRange, 0);
            if (n > 0) {
                copied += n;
                if (static_cast<size_t>(n) < kRange && copied >= size)
                    return 0;
                continue;
            }
            if (n == 0)
                return 0;
            if (errno == EINTR)
                continue;
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
                return errno;
            plain = true; // file systems that cannot copy between themselves
        }
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n == 0)
            return 0;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (hash)
            hash->add(std::string_view(buffer, static_cast<size_t>(n)));
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            done += w;
        }
        copied += n;
        if (static_cast<size_t>(n) < sizeof buffer && copied >= size)
            return 0;
    }
}

HostKind kindOfMode(mode_t mode) {
    return S_ISDIR(mode)   ? HostKind::Folder
           : S_ISREG(mode) ? HostKind::File
           : S_ISLNK(mode) ? HostKind::Link
                           : HostKind::Other;
}

} // namespace

std::shared_ptr<FolderHandle> FolderHandle::open(const std::string& hostPath, int& err) {
    const int fd = ::open(hostPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    err = fd < 0 ? errno : 0;
    return fd < 0 ? nullptr : std::make_shared<FolderHandle>(fd, hostPath);
}

std::shared_ptr<FolderHandle> FolderHandle::openChild(const std::string& name, int& err) const {
    const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    err = fd < 0 ? errno : 0;
    return fd < 0 ? nullptr : std::make_shared<FolderHandle>(fd, path_ / name);
}

int FolderHandle::list(std::vector<HostEntry>& entries, size_t* leftovers, bool hidden) const {
    std::vector<ListedName> listed;
    if (listFolderAt(fd_, path_.native(), leftovers != nullptr, leftovers) &&
        listedNames(path_.native(), listed)) {
        for (const ListedName& item : listed)
            if (hidden || item.name[0] != '.')
                entries.push_back(HostEntry{std::string(item.name), item.kind});
        sortHostEntries(entries);
        return 0;
    }
    const int fd = ::dup(fd_);
    DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        const int err = errno;
        if (fd >= 0)
            ::close(fd);
        return err;
    }
    ::rewinddir(dir); // the duplicate shares its position with earlier listings
    errno = 0;
    bool sawLeftover = false;
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.') {
            const std::string_view name = e->d_name;
            if (isStagingName(name)) {
                sawLeftover |= leftovers != nullptr;
                continue;
            }
            if (!hidden || name == "." || name == "..")
                continue;
        }
        HostKind kind = e->d_type == DT_DIR   ? HostKind::Folder
                        : e->d_type == DT_REG ? HostKind::File
                        : e->d_type == DT_LNK ? HostKind::Link
                                              : HostKind::Other;
        if (e->d_type == DT_UNKNOWN)
            kind = kindOf(e->d_name);
        if (kind != HostKind::None)
            entries.push_back(HostEntry{e->d_name, kind});
    }
    const int err = errno;
    ::closedir(dir);
    if (sawLeftover)
        *leftovers += removeLeftoversAt(fd_);
    sortHostEntries(entries);
    return err;
}

HostKind FolderHandle::kindOf(const std::string& name) const {
    struct stat st;
    if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return HostKind::None;
    return kindOfMode(st.st_mode);
}

HostKind FolderHandle::targetKindOf(const std::string& name) const {
    struct stat st;
    if (::fstatat(fd_, name.c_str(), &st, 0) != 0)
        return HostKind::None;
    return kindOfMode(st.st_mode);
}

int FolderHandle::makeFolder(const std::string& name) const {
    ChangeObserver* observer = changeObserver();
    if (observer)
        observer->beforeAddFolder(path_ / name);
    const int err = ::mkdirat(fd_, name.c_str(), 0777) == 0 ? 0 : errno;
    if (!err)
        noteAdded(path_ / name, HostKind::Folder);
    tellObserver(observer, path_ / name, err);
    return err;
}

FolderHandle::~FolderHandle() {
    ::close(fd_);
}

namespace {

// Copies the plain file open as `from` (closed here) with its permissions and times to a new
// temporary name in the folder `to`, given in `tempName`. Returns 0 or the system's error
// number; on failure nothing is left behind. `sourceFailed` tells whether the source was at
// fault (not a plain file, or unreadable). With `written`, the copy's hash and time are kept there.
int stageOpenFile(int from, int to, std::string& tempName, int64_t& size, bool& sourceFailed,
                  std::optional<HashAndTime>* written) {
    sourceFailed = true;
    if (from < 0)
        return errno;
    struct stat st;
    if (::fstat(from, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = ::fstat(from, &st) != 0 ? errno : EINVAL; // EINVAL: not a plain file
        ::close(from);
        return err;
    }
    sourceFailed = false;
    size = st.st_size;
    int out = -1;
    do {
        tempName = stagingName();
        out = ::openat(to, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       st.st_mode & 0777);
    } while (out < 0 && errno == EEXIST);
    if (out < 0) {
        const int err = errno;
        ::close(from);
        return err;
    }
    ContentHash hash;
    int err = copyBytes(from, out, written ? &hash : nullptr, size);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (!err && ::futimens(out, times) != 0)
        err = errno;
    // The time as the copy's file system keeps it, which may be coarser than the source's.
    struct stat made;
    if (!err && written && ::fstat(out, &made) == 0)
        *written =
            HashAndTime{hash.value(), static_cast<int64_t>(made.st_mtim.tv_sec) * 1000000000 +
                                          made.st_mtim.tv_nsec};
    if (::close(out) != 0 && !err)
        err = errno;
    ::close(from);
    if (err)
        ::unlinkat(to, tempName.c_str(), 0);
    return err;
}

} // namespace

int stageCopy(const FolderHandle& source, const std::string& name,
              const std::shared_ptr<FolderHandle>& target, StagedCopy& staged) {
    // O_NONBLOCK: a pipe swapped in under the name must not hang the copy.
    const int from = ::openat(source.fd(), name.c_str(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    staged.folder = target;
    staged.name = name;
    return stageOpenFile(from, target->fd(), staged.tempName, staged.size, staged.sourceFailed,
                         changeObserver() ? &staged.written : nullptr);
}

int flushStaged(const std::vector<const FolderHandle*>& targets) {
    std::vector<std::filesystem::path> inFolders; // what flushFileSystems takes: a name in each
    for (const FolderHandle* target : targets)
        inFolders.push_back(target->path() / "");
    try {
        flushFileSystems(inFolders);
    } catch (const IoError& e) {
        return e.errorNumber() ? e.errorNumber() : EIO;
    }
    return 0;
}

int commitCopy(const StagedCopy& staged) {
    const int fd = staged.folder->fd();
    ChangeObserver* observer = changeObserver();
    const std::filesystem::path target = staged.folder->path() / staged.name;
    if (observer)
        observer->beforeAdd(target);
    int err = 0;
    if (::renameat2(fd, staged.tempName.c_str(), fd, staged.name.c_str(), RENAME_NOREPLACE) != 0) {
        err = errno;
        if (err == EINVAL || err == ENOSYS) {
            // File systems without the no-replace rename: a hard link refuses a taken name too.
            err =
                ::linkat(fd, staged.tempName.c_str(), fd, staged.name.c_str(), 0) == 0 ? 0 : errno;
        }
        discardCopy(staged);
    }
    if (!err)
        noteAdded(target, HostKind::File);
    tellObserver(observer, target, err, staged.written);
    return err;
}

void discardCopy(const StagedCopy& staged) {
    ::unlinkat(staged.folder->fd(), staged.tempName.c_str(), 0);
}

namespace {

// The folder of `path` opened, and the last part of it.
std::shared_ptr<FolderHandle> openParent(const std::filesystem::path& path, int& err) {
    return FolderHandle::open(path.parent_path().string(), err);
}

} // namespace

int stageFileCopy(const std::filesystem::path& source, const std::shared_ptr<FolderHandle>& target,
                  const std::string& name, StagedCopy& staged) {
    // The source is the player's file: a link to it is followed.
    const int from = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    staged.folder = target;
    staged.name = name;
    return stageOpenFile(from, target->fd(), staged.tempName, staged.size, staged.sourceFailed,
                         changeObserver() ? &staged.written : nullptr);
}

int copyFileExact(const std::filesystem::path& source, const std::filesystem::path& target,
                  bool flush) {
    int err = 0;
    const auto to = openParent(target, err);
    if (!to)
        return err;
    StagedCopy staged;
    if ((err = stageFileCopy(source, to, target.filename().string(), staged)))
        return err;
    if (flush) {
        const int fd = ::openat(to->fd(), staged.tempName.c_str(), O_RDONLY | O_CLOEXEC);
        err = fd < 0 || ::fsync(fd) != 0 ? errno : 0;
        if (fd >= 0)
            ::close(fd);
    }
    if (err) {
        discardCopy(staged);
        return err;
    }
    return commitCopy(staged);
}

int copyFileInto(const std::filesystem::path& source, const FolderHandle& folder,
                 const std::string& name) {
    const int from = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    std::string temp;
    int64_t size = 0;
    bool sourceFailed = false;
    if (const int err = stageOpenFile(from, folder.fd(), temp, size, sourceFailed, nullptr))
        return err;
    if (::renameat2(folder.fd(), temp.c_str(), folder.fd(), name.c_str(), RENAME_NOREPLACE) == 0) {
        noteAdded(folder.path() / name, HostKind::File);
        return 0;
    }
    const int err = errno;
    ::unlinkat(folder.fd(), temp.c_str(), 0);
    return err;
}

int keepFileInto(const std::filesystem::path& source, const FolderHandle& folder,
                 const std::string& name) {
    // A file with another name too could still change under that one after the caller's
    // change, and its kept copy with it: such a file is copied.
    struct stat st;
    if (::lstat(source.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1) {
        if (::linkat(AT_FDCWD, source.c_str(), folder.fd(), name.c_str(), 0) == 0) {
            noteAdded(folder.path() / name, HostKind::File);
            return 0;
        }
        if (errno == EEXIST)
            return errno;
        // Another disk, or a file system without hard links: copied.
    }
    return copyFileInto(source, folder, name);
}

void restoreFileExact(const std::filesystem::path& source, const std::filesystem::path& target) {
    int err = 0;
    const auto from = openParent(source, err);
    const auto to = from ? openParent(target, err) : nullptr;
    if (!to)
        throw IoError(FileAction::Write, target.string(), err);
    StagedCopy staged;
    if (from->kindOf(source.filename().string()) == HostKind::Link) {
        std::error_code ec;
        const std::filesystem::path link = std::filesystem::read_symlink(source, ec);
        if (ec)
            throw IoError(FileAction::Read, source.string(), ec.value());
        staged.folder = to;
        do {
            staged.tempName = stagingName();
            err = ::symlinkat(link.c_str(), to->fd(), staged.tempName.c_str()) == 0 ? 0 : errno;
        } while (err == EEXIST);
    } else {
        err = stageCopy(*from, source.filename().string(), to, staged);
        if (!err) {
            const int fd = ::openat(to->fd(), staged.tempName.c_str(), O_RDONLY | O_CLOEXEC);
            err = fd < 0 || ::fsync(fd) != 0 ? errno : 0;
            if (fd >= 0)
                ::close(fd);
        }
    }
    if (err) {
        if (!staged.tempName.empty() && staged.folder)
            discardCopy(staged);
        throw IoError(FileAction::Write, target.string(), err);
    }
    ChangeObserver* observer = changeObserver();
    const std::string name = target.filename().string();
    if (observer) {
        if (to->kindOf(name) != HostKind::None)
            observer->beforeReplace(target);
        else
            observer->beforeAdd(target);
    }
    if (::renameat(to->fd(), staged.tempName.c_str(), to->fd(), name.c_str()) != 0) {
        err = errno;
        discardCopy(staged);
        if (observer)
            observer->failed(target);
        throw IoError(FileAction::Write, target.string(), err);
    }
    noteAdded(target, to->kindOf(name));
    tellObserver(observer, target, 0, staged.written);
}

} // namespace vokari::platform
