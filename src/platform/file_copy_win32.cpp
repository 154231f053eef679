#include "platform/file_copy.h"

#include "platform/change_observer.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/file_system_shared.h"
#include "platform/file_system_win32.h"
#include "platform/path_text.h"
#include "platform/windows_api.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <windows.h>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

HANDLE asHandle(void* handle) {
    return static_cast<HANDLE>(handle);
}

int copyBytes(HANDLE from, HANDLE to) {
    constexpr DWORD kBlock = 1024 * 1024;
    const auto buffer = std::make_unique<char[]>(kBlock);
    while (true) {
        DWORD n = 0;
        if (!::ReadFile(from, buffer.get(), kBlock, &n, nullptr))
            return lastErrno();
        if (n == 0)
            return 0;
        for (DWORD done = 0; done < n;) {
            DWORD written = 0;
            if (!::WriteFile(to, buffer.get() + done, n - done, &written, nullptr))
                return lastErrno();
            done += written;
        }
    }
}

// Opens a file to copy from; with `follow` false a link is opened as itself (and refused).
HANDLE openSource(const fs::path& path, bool follow) {
    // Folders open too, to be refused as no plain file rather than as access denied.
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN |
                        (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                   flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        lastErrno();
    return h;
}

// Copies the plain file open as `from` (closed here) with its attributes and times to a new
// hidden temporary name in `folder`, given in `tempName`; the attributes it is to have once
// named go to `attributes`. With `flush`, it is on the disk before this returns: Windows lets
// only administrators flush a whole volume, so a batch is flushed file by file. Returns 0 or the
// system's error number; on failure nothing is left behind. `sourceFailed` tells whether the
// source was at fault (not a plain file, or unreadable).
int stageOpenFile(HANDLE from, const fs::path& folder, std::string& tempName, int64_t& size,
                  bool& sourceFailed, uint32_t& attributes, bool flush) {
    sourceFailed = true;
    if (from == INVALID_HANDLE_VALUE)
        return errno;
    BY_HANDLE_FILE_INFORMATION info;
    int err = ::GetFileInformationByHandle(from, &info) ? 0 : lastErrno();
    if (!err && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && isLinkHandle(from))
        err = ELOOP; // a link opened as itself, as a POSIX open refuses to follow one
    else if (!err && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        err = EINVAL; // not a plain file
    if (err) {
        ::CloseHandle(from);
        return err;
    }
    sourceFailed = false;
    size =
        static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    attributes = info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                          FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    if (attributes == 0)
        attributes = FILE_ATTRIBUTE_NORMAL;
    fs::path temp;
    const HANDLE out = asHandle(createStagingFile(folder, temp));
    if (!out) {
        err = errno;
        ::CloseHandle(from);
        return err;
    }
    tempName = utf8Of(temp.filename());
    err = copyBytes(from, out);
    if (!err && !::SetFileTime(out, nullptr, &info.ftLastAccessTime, &info.ftLastWriteTime))
        err = lastErrno();
    if (!err && flush && !::FlushFileBuffers(out))
        err = lastErrno();
    if (!::CloseHandle(out) && !err)
        err = lastErrno();
    ::CloseHandle(from);
    if (err)
        ::DeleteFileW(temp.c_str());
    return err;
}

int stageSource(const fs::path& source, const std::shared_ptr<FolderHandle>& target,
                const std::string& name, StagedCopy& staged, bool flush) {
    // The source is the player's file: a link to it is followed.
    staged.folder = target;
    staged.name = name;
    return stageOpenFile(openSource(source, true), target->path(), staged.tempName, staged.size,
                         staged.sourceFailed, staged.attributes, flush);
}

// Removes a staging file, read-only or not.
void removeStaged(const fs::path& temp) {
    ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(temp.c_str());
}

// Gives the staged `temp` its attributes and the name `target` unless that name is taken.
int nameStaged(const fs::path& temp, uint32_t attributes, const fs::path& target) {
    if (!::SetFileAttributesW(temp.c_str(), attributes) ||
        !::MoveFileExW(temp.c_str(), target.c_str(), 0))
        return lastErrno();
    return 0;
}

// A folder open here cannot be renamed, removed or swapped for a link until it is closed: the
// paths through it keep naming what was opened, as names relative to a folder open on POSIX do.
constexpr DWORD kFolderShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

} // namespace

FolderHandle::FolderHandle(void* handle, fs::path path) : handle_(handle), path_(std::move(path)) {}

std::shared_ptr<FolderHandle> FolderHandle::open(const std::string& hostPath, int& err) {
    fs::path path = pathFromUtf8(hostPath);
    const HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kFolderShare, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        err = lastErrno();
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(h, &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::CloseHandle(h);
        err = ENOTDIR;
        return nullptr;
    }
    err = 0;
    return std::make_shared<FolderHandle>(h, std::move(path));
}

std::shared_ptr<FolderHandle> FolderHandle::openChild(const std::string& name, int& err) const {
    fs::path path = path_ / pathFromUtf8(name);
    const auto entry = entryInfo(path);
    if (!entry) {
        err = errno;
        return nullptr;
    }
    if (entry->isLink) {
        err = ELOOP; // never through a link
        return nullptr;
    }
    const HANDLE h =
        ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kFolderShare, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        err = lastErrno();
        return nullptr;
    }
    // It may have been swapped for something else since it was looked at.
    BY_HANDLE_FILE_INFORMATION info;
    err = ::GetFileInformationByHandle(h, &info) ? 0 : lastErrno();
    if (!err && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && isLinkHandle(h))
        err = ELOOP;
    else if (!err && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        err = ENOTDIR;
    if (err) {
        ::CloseHandle(h);
        return nullptr;
    }
    err = 0;
    return std::make_shared<FolderHandle>(h, std::move(path));
}

int FolderHandle::list(std::vector<HostEntry>& entries, size_t* leftovers, bool hidden) const {
    // The file system keeps which entries are hidden, the listings do not: read from it.
    bool sawLeftover = false;
    const int err = forEachEntry(path_, [&](std::wstring_view wide, const EntryInfo& info) {
        std::string name = utf8FromWide(wide);
        if (isStagingName(name)) {
            sawLeftover |= leftovers != nullptr;
            return;
        }
        if (!hidden && (info.attributes & FILE_ATTRIBUTE_HIDDEN))
            return;
        entries.push_back(HostEntry{std::move(name), kindOfEntry(info)});
    });
    if (sawLeftover)
        *leftovers += removeLeftovers(path_);
    sortHostEntries(entries);
    return err;
}

HostKind FolderHandle::kindOf(const std::string& name) const {
    const auto info = entryInfo(path_ / pathFromUtf8(name));
    return info ? kindOfEntry(*info) : HostKind::None;
}

HostKind FolderHandle::targetKindOf(const std::string& name) const {
    return targetKind(path_ / pathFromUtf8(name));
}

int FolderHandle::makeFolder(const std::string& name) const {
    const fs::path path = path_ / pathFromUtf8(name);
    ChangeObserver* observer = changeObserver();
    if (observer)
        observer->beforeAddFolder(path);
    const int err = ::CreateDirectoryW(path.c_str(), nullptr) ? 0 : lastErrno();
    if (!err)
        noteAdded(path, HostKind::Folder);
    tellObserver(observer, path, err);
    return err;
}

FolderHandle::~FolderHandle() {
    ::CloseHandle(asHandle(handle_));
}

int stageCopy(const FolderHandle& source, const std::string& name,
              const std::shared_ptr<FolderHandle>& target, StagedCopy& staged) {
    staged.folder = target;
    staged.name = name;
    return stageOpenFile(openSource(source.path() / pathFromUtf8(name), false), target->path(),
                         staged.tempName, staged.size, staged.sourceFailed, staged.attributes,
                         true);
}

int flushStaged(const std::vector<const FolderHandle*>&) {
    return 0; // each staged copy was flushed as it was made (stageOpenFile)
}

int commitCopy(const StagedCopy& staged) {
    const fs::path& folder = staged.folder->path();
    const fs::path target = folder / pathFromUtf8(staged.name);
    ChangeObserver* observer = changeObserver();
    if (observer)
        observer->beforeAdd(target);
    const int err = nameStaged(folder / pathFromUtf8(staged.tempName), staged.attributes, target);
    if (err)
        discardCopy(staged);
    else
        noteAdded(target, HostKind::File);
    tellObserver(observer, target, err);
    return err;
}

void discardCopy(const StagedCopy& staged) {
    removeStaged(staged.folder->path() / pathFromUtf8(staged.tempName));
}

int stageFileCopy(const fs::path& source, const std::shared_ptr<FolderHandle>& target,
                  const std::string& name, StagedCopy& staged) {
    return stageSource(source, target, name, staged, true);
}

int copyFileExact(const fs::path& source, const fs::path& target, bool flush) {
    int err = 0;
    const auto to = FolderHandle::open(utf8Of(target.parent_path()), err);
    if (!to)
        return err;
    StagedCopy staged;
    if ((err = stageSource(source, to, utf8Of(target.filename()), staged, flush)))
        return err;
    return commitCopy(staged);
}

int copyFileInto(const fs::path& source, const FolderHandle& folder, const std::string& name) {
    std::string temp;
    int64_t size = 0;
    bool sourceFailed = false;
    uint32_t attributes = 0;
    if (const int err = stageOpenFile(openSource(source, true), folder.path(), temp, size,
                                      sourceFailed, attributes, false))
        return err;
    const fs::path target = folder.path() / pathFromUtf8(name);
    const fs::path staged = folder.path() / pathFromUtf8(temp);
    if (const int err = nameStaged(staged, attributes, target)) {
        removeStaged(staged);
        return err;
    }
    noteAdded(target, HostKind::File);
    return 0;
}

int keepFileInto(const fs::path& source, const FolderHandle& folder, const std::string& name) {
    return copyFileInto(source, folder, name);
}

void restoreFileExact(const fs::path& source, const fs::path& target) {
    int err = 0;
    const auto to = FolderHandle::open(utf8Of(target.parent_path()), err);
    if (!to)
        throw IoError(FileAction::Write, utf8Of(target), err);
    // A kept link is put back as the file it leads to: making links takes a privilege most
    // Windows users lack.
    StagedCopy staged;
    if ((err = stageSource(source, to, utf8Of(target.filename()), staged, true)))
        throw IoError(FileAction::Write, utf8Of(target), err);
    const fs::path temp = to->path() / pathFromUtf8(staged.tempName);
    const auto existing = entryInfo(target);
    ChangeObserver* observer = changeObserver();
    if (observer) {
        if (existing)
            observer->beforeReplace(target);
        else
            observer->beforeAdd(target);
    }
    // A read-only file in the way is replaced, as a rename replaces it on POSIX.
    const bool wasReadOnly =
        existing && !existing->isLink && (existing->attributes & FILE_ATTRIBUTE_READONLY);
    if (wasReadOnly)
        ::SetFileAttributesW(target.c_str(), existing->attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!::SetFileAttributesW(temp.c_str(), staged.attributes) ||
        !::MoveFileExW(temp.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        err = lastErrno();
        if (wasReadOnly)
            ::SetFileAttributesW(target.c_str(), existing->attributes);
        removeStaged(temp);
        if (observer)
            observer->failed(target);
        throw IoError(FileAction::Write, utf8Of(target), err);
    }
    noteAdded(target, to->kindOf(utf8Of(target.filename())));
    if (observer)
        observer->made(target);
}

} // namespace vokari::platform
