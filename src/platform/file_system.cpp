#include "platform/file_system.h"

#include "platform/change_observer.h"
#include "platform/error.h"
#include "platform/file_system_shared.h"
#include "platform/folder_listings.h"
#include "platform/host_paths.h"
#include "platform/text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

uint32_t attributesOf(const std::string& name, const struct stat& st, bool isLink) {
    uint32_t attributes = 0;
    if (isLink)
        attributes |= kAttrReparsePoint;
    if (S_ISDIR(st.st_mode))
        attributes |= kAttrDirectory;
    else
        attributes |= kAttrArchive;
    if (!(st.st_mode & S_IWUSR))
        attributes |= kAttrReadOnly;
    if (!name.empty() && name[0] == '.')
        attributes |= kAttrHidden;
    return attributes;
}

// Writes all of `bytes`. Returns 0 or the system's error number.
int writeAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

bool setFileModificationTime(int fd, int64_t unixTime) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(unixTime), 0}};
    return ::futimens(fd, times) == 0;
}

} // namespace

std::vector<DirEntry> listDirectory(std::string_view folder) {
    std::vector<DirEntry> entries;
    const std::string host = hostPathText(folder);
    std::vector<ListedName> listed;
    const bool fromListing = listedNames(host, listed);
    if (listingsActive() && !fromListing)
        return entries; // it could not be read
    DIR* dir = ::opendir(host.c_str());
    if (!dir)
        return entries;
    // Entries are looked at through the open folder: the path to it is walked once, not once
    // per entry (an aircraft folder holds thousands).
    const int dirFd = ::dirfd(dir);
    const auto look = [&](std::string_view view) {
        const std::string name(view);
        if (name.empty() || name[0] == '.' || !isWindowsName(name))
            return; // ".", "..", hidden entries and names no Windows path can hold
        struct stat st;
        if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return;
        const bool isLink = S_ISLNK(st.st_mode);
        if (isLink) {
            struct stat target;
            if (::fstatat(dirFd, name.c_str(), &target, 0) == 0)
                st.st_mode = (target.st_mode & S_IFMT) | (st.st_mode & ~S_IFMT);
            else
                st.st_mode = S_IFREG | S_IWUSR; // a dangling link is still an entry to remove
        } else if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) {
            return; // sockets, devices, pipes: no such thing on the games' drives
        }
        entries.push_back(DirEntry{name, attributesOf(name, st, isLink)});
    };
    if (fromListing) {
        for (const ListedName& item : listed)
            look(item.name);
    } else {
        while (const dirent* entry = ::readdir(dir))
            look(entry->d_name);
    }
    ::closedir(dir);
    sortDirEntries(entries);
    return entries;
}

std::optional<uint32_t> fileAttributes(std::string_view path) {
    const fs::path host = hostPath(path);
    struct stat st;
    if (::lstat(host.c_str(), &st) != 0)
        return std::nullopt;
    const bool isLink = S_ISLNK(st.st_mode);
    if (isLink) {
        struct stat target;
        if (::stat(host.c_str(), &target) == 0)
            st.st_mode = (target.st_mode & S_IFMT) | (st.st_mode & ~S_IFMT);
    }
    return attributesOf(host.filename().string(), st, isLink);
}

bool removeHostFile(const fs::path& host) {
    struct stat st;
    if (::lstat(host.c_str(), &st) != 0)
        return false;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR)) {
        errno = EROFS; // read-only, as Windows refuses it
        return false;
    }
    ChangeObserver* observer = changeObserver();
    if (observer)
        observer->beforeRemove(host);
    if (::unlink(host.c_str()) != 0) {
        const int err = errno;
        if (observer)
            observer->failed(host);
        errno = err;
        return false;
    }
    noteRemoved(host);
    if (observer)
        observer->made(host);
    return true;
}

bool removeFolder(std::string_view path) {
    const fs::path host = hostPath(path);
    struct stat st;
    if (::lstat(host.c_str(), &st) != 0)
        return false;
    const bool removed =
        S_ISLNK(st.st_mode) ? ::unlink(host.c_str()) == 0 : ::rmdir(host.c_str()) == 0;
    if (removed)
        noteRemoved(host);
    return removed;
}

namespace {

// Removes everything inside the open folder `dir` (the host folder `path`), entry by entry
// relative to it, so a name read from disk is never mapped again; links are removed as links.
// Returns what stays, and names it in `leftBehind` when given.
long removeContents(int dir, const std::string& path, std::vector<std::string>* leftBehind,
                    ReadOnlyFiles readOnly) {
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
    const auto stays = [&](const std::string& name) {
        ++failures;
        if (leftBehind)
            leftBehind->push_back(path + "/" + name);
    };
    for (const std::string& name : names) {
        struct stat st;
        if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                stays(name);
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            const int sub =
                ::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub < 0) {
                stays(name);
                continue;
            }
            const long inside = removeContents(sub, path + "/" + name, leftBehind, readOnly);
            ::close(sub);
            failures += inside;
            if (::unlinkat(dir, name.c_str(), AT_REMOVEDIR) != 0) {
                if (inside > 0)
                    ++failures; // named by what stays inside it
                else
                    stays(name);
            }
        } else if (readOnly == ReadOnlyFiles::Stay && S_ISREG(st.st_mode) &&
                   !(st.st_mode & S_IWUSR)) {
            stays(name); // read-only, as Windows refuses it
        } else if (::unlinkat(dir, name.c_str(), 0) != 0) {
            stays(name);
        }
    }
    return failures;
}

} // namespace

long removeTree(const std::string& host, std::vector<std::string>* leftBehind,
                ReadOnlyFiles readOnly) {
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
    long failures = removeContents(dir, host, leftBehind, readOnly);
    ::close(dir);
    if (::rmdir(host.c_str()) != 0) {
        if (failures == 0 && leftBehind)
            leftBehind->push_back(host);
        ++failures;
    }
    return failures;
}

int createPrivateFolder(const fs::path& host) {
    if (::mkdir(host.c_str(), 0700) != 0)
        return errno;
    noteAdded(host, HostKind::Folder);
    return 0;
}

int readOpenError(const fs::path& host) {
    const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

FileReader::~FileReader() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool FileReader::isOpen() const {
    return fd_ >= 0;
}

int FileReader::open(const fs::path& host) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    return fd_ < 0 ? errno : 0;
}

int64_t FileReader::read(void* buffer, size_t size) {
    while (true) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

int64_t FileReader::readAt(void* buffer, size_t size, int64_t offset) const {
    while (true) {
        const ssize_t n = ::pread(fd_, buffer, size, static_cast<off_t>(offset));
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool FileReader::skip(int64_t bytes) {
    return ::lseek(fd_, static_cast<off_t>(bytes), SEEK_CUR) >= 0;
}

FileReader::Info FileReader::info() const {
    struct stat st;
    if (::fstat(fd_, &st) != 0)
        return {};
    return {S_ISREG(st.st_mode),
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

int64_t FileReader::size() const {
    struct stat st;
    return ::fstat(fd_, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

namespace {

// Creates a staging file in `folder`, open for writing, with `mode` before the umask: by
// default readable by this user only until it is given its final permissions.
int createStagingFile(const fs::path& folder, std::string& temp, mode_t mode = 0600) {
    while (true) {
        temp = (folder / stagingName()).string();
        const int fd =
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
}

// Read once: umask can only be read by setting it, which is no thing to do each file while
// another thread may create one.
mode_t newFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return 0666 & ~mask;
    }();
    return mode;
}

// Gives `temp` the name `target` unless that name is taken (a dangling link counts).
int renameNoReplace(const std::string& temp, const fs::path& target) {
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
        // File systems without the no-replace rename: a hard link refuses a taken name too.
        err = ::link(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
        if (err == 0)
            ::unlink(temp.c_str());
    }
    return err;
}

} // namespace

namespace {

// The hash of what was written to the open `fd` and its time as its file system keeps it.
std::optional<HashAndTime> writtenFile(const std::optional<ContentHash>& hash, int fd) {
    struct stat st;
    if (!hash || ::fstat(fd, &st) != 0)
        return std::nullopt;
    return HashAndTime{hash->value(),
                       static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

} // namespace

size_t removeLeftoversAt(int folderFd) {
    const int listing = ::dup(folderFd);
    DIR* stream = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!stream) {
        if (listing >= 0)
            ::close(listing);
        return 0;
    }
    ::rewinddir(stream);
    // Our own are live: another folder of this run may be this one under another name.
    const std::string own = ownStagingPrefix();
    std::vector<std::string> found;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (isStagingName(name) && !name.starts_with(own))
            found.emplace_back(name);
    }
    ::closedir(stream);
    size_t removed = 0;
    for (const std::string& name : found) {
        struct stat st;
        if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && ::unlinkat(folderFd, name.c_str(), 0) == 0)
            ++removed;
    }
    countLeftoversRemoved(removed);
    return removed;
}

size_t removeLeftovers(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const size_t removed = removeLeftoversAt(fd);
    ::close(fd);
    return removed;
}

NewFileWriter::NewFileWriter(fs::path host)
    : NewFileWriter(std::move(host), changeObserver() != nullptr) {}

NewFileWriter::NewFileWriter(fs::path host, bool hashed) : host_(std::move(host)) {
    // Made with the mode a new file gets: the umask (or the folder's default ACL) decides.
    fd_ = createStagingFile(host_.parent_path(), temp_, 0666);
    if (fd_ < 0)
        throw IoError(FileAction::Write, host_.string(), errno);
    if (hashed)
        hash_.emplace();
}

NewFileWriter::~NewFileWriter() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_)
        ::unlink(temp_.c_str());
}

void NewFileWriter::write(std::string_view bytes) {
    if (const int err = writeAll(fd_, bytes))
        throw IoError(FileAction::Write, host_.string(), err);
    if (hash_)
        hash_->add(bytes);
}

void NewFileWriter::finish(int64_t unixTime) {
    // The time is a convenience where the system allows it; the data is what counts.
    setFileModificationTime(fd_, unixTime);
    written_ = writtenFile(hash_, fd_);
    const int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0)
        throw IoError(FileAction::Write, host_.string(), errno);
}

void NewFileWriter::commit() {
    if (fd_ >= 0)
        throw IoError(FileAction::Write, host_.string(), EBADF); // not finished
    ChangeObserver* observer = changeObserver();
    if (observer)
        observer->beforeAdd(host_);
    if (const int err = renameNoReplace(temp_, host_)) {
        if (observer)
            observer->failed(host_);
        throw IoError(FileAction::Write, host_.string(), err);
    }
    committed_ = true;
    noteAdded(host_, HostKind::File);
    tellObserver(observer, host_, 0, written_);
}

void flushFileSystems(const std::vector<fs::path>& files) {
    std::vector<dev_t> done;
    const fs::path* previous = nullptr;
    for (const fs::path& file : files) {
        // A batch holds the files of a folder one after another: its disk is known already.
        if (previous && previous->parent_path() == file.parent_path())
            continue;
        previous = &file;
        const int fd = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat st;
        int rc = fd < 0 || ::fstat(fd, &st) != 0 ? -1 : 0;
        if (rc == 0 && std::find(done.begin(), done.end(), st.st_dev) == done.end()) {
            rc = ::syncfs(fd);
            done.push_back(st.st_dev);
        }
        const int err = errno;
        if (fd >= 0)
            ::close(fd);
        if (rc != 0)
            throw IoError(FileAction::Write, file.string(), err);
    }
}

namespace {

// The file a chain of symbolic links ends at (the path itself when it is no link): a game file
// the user linked elsewhere is replaced where it lives, and the link stays. A chain that ends
// at nothing is refused: writing would create a file wherever it points.
fs::path linkTarget(const fs::path& start) {
    fs::path path = start;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) {
            if (path != start)
                throw IoError(FileAction::Write, start.string(), ENOLINK);
            return path;
        }
        if (!S_ISLNK(st.st_mode))
            return path;
        std::error_code ec;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec)
            throw IoError(FileAction::Write, path.string(), ec.value());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    throw IoError(FileAction::Write, start.string(), ELOOP);
}

// A large file written block by block starts each few megabytes on their way to the disk, so
// that the flush on commit finds most of it written rather than all of it still to write.
constexpr int64_t kWritebackStep = int64_t{4} << 20;

} // namespace

AtomicFileWriter::AtomicFileWriter(fs::path host, LinkRule links)
    : host_(links == LinkRule::Follow ? linkTarget(host) : std::move(host)) {
    struct stat st;
    if (::lstat(host_.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        if (S_ISDIR(st.st_mode))
            throw IoError(FileAction::Write, host_.string(), EISDIR);
        // Windows refuses to replace a read-only file; a rename would not.
        if (!(st.st_mode & S_IWUSR))
            throw IoError(FileAction::Write, host_.string(), EROFS);
    }
    fd_ = createStagingFile(host_.parent_path(), temp_);
    if (fd_ < 0)
        throw IoError(FileAction::Write, host_.string(), errno);
    if (changeObserver())
        hash_.emplace();
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_)
        ::unlink(temp_.c_str());
}

void AtomicFileWriter::fail(int err) {
    throw IoError(FileAction::Write, host_.string(), err);
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (const int err = writeAll(fd_, bytes))
        fail(err);
    bytesWritten_ += static_cast<int64_t>(bytes.size());
#ifdef __linux__
    if (bytesWritten_ - writebackFrom_ >= kWritebackStep) {
        // Only a hint: the flush on commit still waits for every byte, and reports failures.
        ::sync_file_range(fd_, writebackFrom_, bytesWritten_ - writebackFrom_,
                          SYNC_FILE_RANGE_WRITE);
        writebackFrom_ = bytesWritten_;
    }
#endif
    if (hash_)
        hash_->add(bytes);
}

void AtomicFileWriter::close(bool flush) {
    mode_t mode = newFileMode();
    struct stat st;
    if (::lstat(host_.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        mode = st.st_mode & 07777;
    if (::fchmod(fd_, mode) != 0 || (mtime_ && !setFileModificationTime(fd_, *mtime_)) ||
        (flush && ::fsync(fd_) != 0))
        fail(errno);
    written_ = writtenFile(hash_, fd_);
    const int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0)
        fail(errno);
}

void AtomicFileWriter::finish() {
    close(false);
}

void AtomicFileWriter::commit() {
    if (fd_ >= 0)
        close(true);
    struct stat st;
    ChangeObserver* observer = changeObserver();
    if (observer) {
        if (::lstat(host_.c_str(), &st) == 0)
            observer->beforeReplace(host_);
        else
            observer->beforeAdd(host_);
    }
    if (::rename(temp_.c_str(), host_.c_str()) != 0) {
        const int err = errno;
        if (observer)
            observer->failed(host_);
        fail(err);
    }
    committed_ = true;
    noteAdded(host_, HostKind::File);
    tellObserver(observer, host_, 0, written_);
}

std::optional<FileStamp> hostFileStamp(const fs::path& host) {
    struct stat st;
    if (::stat(host.c_str(), &st) != 0)
        return std::nullopt;
    return FileStamp{static_cast<int64_t>(st.st_size),
                     static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     static_cast<int64_t>(st.st_ino)};
}

} // namespace vokari::platform
