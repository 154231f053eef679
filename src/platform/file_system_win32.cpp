#include "platform/file_system.h"

#include "platform/change_observer.h"
#include "platform/error.h"
#include "platform/file_system_shared.h"
#include "platform/file_system_win32.h"
#include "platform/folder_listings.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/windows_api.h"

#include <algorithm>
#include <cerrno>
#include <windows.h>

namespace fs = std::filesystem;

namespace vokari::platform {

static_assert(kShareAll == (FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
static_assert(kAttrReadOnly == FILE_ATTRIBUTE_READONLY && kAttrHidden == FILE_ATTRIBUTE_HIDDEN &&
              kAttrSystem == FILE_ATTRIBUTE_SYSTEM && kAttrDirectory == FILE_ATTRIBUTE_DIRECTORY &&
              kAttrArchive == FILE_ATTRIBUTE_ARCHIVE &&
              kAttrReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT);

namespace {

HANDLE asHandle(void* handle) {
    return static_cast<HANDLE>(handle);
}

bool isLinkTag(DWORD tag) {
    return tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT;
}

// The kAttr* values of an entry: only links count as reparse points.
uint32_t attributesOf(const EntryInfo& info) {
    uint32_t attributes = info.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem |
                                             kAttrDirectory | kAttrArchive);
    if (info.isLink)
        attributes |= kAttrReparsePoint;
    return attributes;
}

// Writes all of `bytes`. Returns 0 or the system's error number.
int writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD size = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), size, &written, nullptr))
            return lastErrno();
        bytes.remove_prefix(written);
    }
    return 0;
}

bool setFileModificationTime(HANDLE file, int64_t unixTime) {
    const uint64_t time = fileTimeFromUnix(unixTime);
    FILETIME ft{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    return ::SetFileTime(file, nullptr, nullptr, &ft) != 0;
}

uint64_t fileTimeValue(const FILETIME& ft) {
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

} // namespace

std::optional<EntryInfo> entryInfo(const fs::path& host) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(host.c_str(), GetFileExInfoStandard, &data)) {
        lastErrno();
        return std::nullopt;
    }
    EntryInfo info{data.dwFileAttributes, false};
    if (info.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // Only the listing tells which kind of reparse point it is.
        WIN32_FIND_DATAW find;
        const HANDLE h = ::FindFirstFileExW(host.c_str(), FindExInfoBasic, &find,
                                            FindExSearchNameMatch, nullptr, 0);
        info.isLink = h == INVALID_HANDLE_VALUE || isLinkTag(find.dwReserved0);
        if (h != INVALID_HANDLE_VALUE)
            ::FindClose(h);
    }
    return info;
}

HostKind kindOfEntry(const EntryInfo& info) {
    return info.isLink                                  ? HostKind::Link
           : info.attributes & FILE_ATTRIBUTE_DIRECTORY ? HostKind::Folder
                                                        : HostKind::File;
}

bool isLinkHandle(void* handle) {
    FILE_ATTRIBUTE_TAG_INFO info;
    if (!::GetFileInformationByHandleEx(asHandle(handle), FileAttributeTagInfo, &info, sizeof info))
        return true; // not known: taken as a link, which is never followed
    return (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && isLinkTag(info.ReparseTag);
}

HostKind targetKind(const fs::path& host) {
    const HANDLE h = ::CreateFileW(host.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return HostKind::None;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = ::GetFileInformationByHandle(h, &info);
    ::CloseHandle(h);
    if (!known)
        return HostKind::None;
    return info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? HostKind::Folder : HostKind::File;
}

int forEachEntry(const fs::path& folder,
                 const std::function<void(std::wstring_view name, const EntryInfo& info)>& each) {
    std::wstring pattern = folder.native();
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data;
    const HANDLE h = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return 0; // a drive's root holds nothing, not even "." and ".."
        errno = errnoFromWin32(error);
        return errno;
    }
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const bool isReparse = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
        each(name, EntryInfo{data.dwFileAttributes, isReparse && isLinkTag(data.dwReserved0)});
    } while (::FindNextFileW(h, &data));
    const DWORD error = ::GetLastError();
    ::FindClose(h);
    if (error == ERROR_NO_MORE_FILES)
        return 0;
    errno = errnoFromWin32(error);
    return errno;
}

void* createStagingFile(const fs::path& folder, fs::path& temp) {
    while (true) {
        temp = folder / pathFromUtf8(stagingName());
        // Hidden until it takes its name, so no listing shows it.
        const HANDLE h =
            ::CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            return h;
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            errno = errnoFromWin32(error);
            return nullptr;
        }
    }
}

std::vector<DirEntry> listDirectory(std::string_view folder) {
    std::vector<DirEntry> entries;
    forEachEntry(hostPath(folder), [&](std::wstring_view wide, const EntryInfo& info) {
        if (info.attributes & FILE_ATTRIBUTE_HIDDEN)
            return; // our staging files among them
        std::string name = utf8FromWide(wide);
        if (!isWindowsName(name) || isStagingName(name))
            return;
        entries.push_back(DirEntry{std::move(name), attributesOf(info)});
    });
    sortDirEntries(entries);
    return entries;
}

std::optional<uint32_t> fileAttributes(std::string_view path) {
    const auto info = entryInfo(hostPath(path));
    if (!info)
        return std::nullopt;
    return attributesOf(*info);
}

bool removeHostFile(const fs::path& host) {
    const auto info = entryInfo(host);
    if (!info)
        return false;
    const bool isFolder = info->attributes & FILE_ATTRIBUTE_DIRECTORY;
    if (isFolder && !info->isLink) {
        errno = EISDIR;
        return false;
    }
    if (!info->isLink && (info->attributes & FILE_ATTRIBUTE_READONLY)) {
        errno = EROFS; // DeleteFileW would say only "access denied"
        return false;
    }
    ChangeObserver* observer = changeObserver();
    if (observer)
        observer->beforeRemove(host);
    // A link to a folder goes as a folder does, never what it leads to.
    if (!(isFolder ? ::RemoveDirectoryW(host.c_str()) : ::DeleteFileW(host.c_str()))) {
        const int err = lastErrno();
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
    const auto info = entryInfo(host);
    if (!info)
        return false;
    const bool isFileLink = info->isLink && !(info->attributes & FILE_ATTRIBUTE_DIRECTORY);
    const bool removed =
        isFileLink ? ::DeleteFileW(host.c_str()) : ::RemoveDirectoryW(host.c_str());
    if (!removed) {
        lastErrno();
        return false;
    }
    noteRemoved(host);
    return true;
}

namespace {

// Removes everything inside the folder `folder` (`text` in UTF-8). No reparse point is entered:
// links and junctions are removed as themselves. Returns what stays, and names it in
// `leftBehind` when given.
long removeContents(const fs::path& folder, const std::string& text,
                    std::vector<std::string>* leftBehind, ReadOnlyFiles readOnly) {
    struct Item {
        std::wstring name;
        DWORD attributes;
    };
    std::vector<Item> items;
    if (forEachEntry(folder, [&](std::wstring_view name, const EntryInfo& info) {
            items.push_back(Item{std::wstring(name), info.attributes});
        }) != 0)
        return 1;
    long failures = 0;
    const auto stays = [&](const std::wstring& name) {
        ++failures;
        if (leftBehind)
            leftBehind->push_back(text + "\\" + utf8FromWide(name));
    };
    // Gone meanwhile is as good as removed.
    const auto removed = [](BOOL ok) {
        const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
        return ok || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    };
    for (const Item& item : items) {
        const fs::path path = folder / item.name;
        const bool isFolder = item.attributes & FILE_ATTRIBUTE_DIRECTORY;
        if (item.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            if (!removed(isFolder ? ::RemoveDirectoryW(path.c_str()) : ::DeleteFileW(path.c_str())))
                stays(item.name);
        } else if (isFolder) {
            const long inside =
                removeContents(path, text + "\\" + utf8FromWide(item.name), leftBehind, readOnly);
            failures += inside;
            if (!removed(::RemoveDirectoryW(path.c_str()))) {
                if (inside > 0)
                    ++failures; // named by what stays inside it
                else
                    stays(item.name);
            }
        } else if ((item.attributes & FILE_ATTRIBUTE_READONLY) &&
                   (readOnly == ReadOnlyFiles::Stay ||
                    !::SetFileAttributesW(path.c_str(),
                                          item.attributes & ~FILE_ATTRIBUTE_READONLY))) {
            stays(item.name); // Windows keeps read-only files
        } else if (!removed(::DeleteFileW(path.c_str()))) {
            stays(item.name);
        }
    }
    return failures;
}

} // namespace

long removeTree(const std::string& host, std::vector<std::string>* leftBehind,
                ReadOnlyFiles readOnly) {
    const fs::path path = pathFromUtf8(host);
    const auto info = entryInfo(path);
    if (!info)
        return errno == ENOENT ? 0 : 1;
    const bool isFolder = info->attributes & FILE_ATTRIBUTE_DIRECTORY;
    if (info->attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A link in place of the folder: remove the link, never what it points to.
        if (!isFolder || targetKind(path) != HostKind::Folder)
            return 1;
        return ::RemoveDirectoryW(path.c_str()) ? 0 : 1;
    }
    if (!isFolder)
        return 1; // a file where a folder was expected is not what the user chose to delete
    long failures = removeContents(path, host, leftBehind, readOnly);
    if (!::RemoveDirectoryW(path.c_str())) {
        if (failures == 0 && leftBehind)
            leftBehind->push_back(host);
        ++failures;
    }
    return failures;
}

int createPrivateFolder(const fs::path& host) {
    // The folders asked for lie in the user's own profile (TEMP, LOCALAPPDATA), whose
    // permissions a new folder inherits.
    if (!::CreateDirectoryW(host.c_str(), nullptr))
        return lastErrno();
    noteAdded(host, HostKind::Folder);
    return 0;
}

int readOpenError(const fs::path& host) {
    const HANDLE h = ::CreateFileW(host.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return lastErrno();
    ::CloseHandle(h);
    return 0;
}

FileReader::~FileReader() {
    if (handle_)
        ::CloseHandle(asHandle(handle_));
}

bool FileReader::isOpen() const {
    return handle_ != nullptr;
}

int FileReader::open(const fs::path& host) {
    if (handle_)
        ::CloseHandle(asHandle(handle_));
    handle_ = nullptr;
    const HANDLE h = ::CreateFileW(host.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        int err = lastErrno();
        if (err == EACCES) {
            const DWORD attributes = ::GetFileAttributesW(host.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
                err = EISDIR; // a folder opens as no file does
        }
        errno = err;
        return err;
    }
    handle_ = h;
    return 0;
}

int64_t FileReader::read(void* buffer, size_t size) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    if (!::ReadFile(asHandle(handle_), buffer, want, &n, nullptr)) {
        if (::GetLastError() == ERROR_BROKEN_PIPE)
            return 0;
        lastErrno();
        return -1;
    }
    return n;
}

int64_t FileReader::readAt(void* buffer, size_t size, int64_t offset) const {
    // A read at an offset moves the position of a handle opened for plain reads: put it back.
    const HANDLE h = asHandle(handle_);
    LARGE_INTEGER position{};
    const LARGE_INTEGER zero{};
    if (!::SetFilePointerEx(h, zero, &position, FILE_CURRENT)) {
        lastErrno();
        return -1;
    }
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    const bool ok = ::ReadFile(h, buffer, want, &n, &at);
    const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
    ::SetFilePointerEx(h, position, nullptr, FILE_BEGIN);
    if (ok)
        return n;
    if (error == ERROR_HANDLE_EOF)
        return 0;
    errno = errnoFromWin32(error);
    return -1;
}

bool FileReader::skip(int64_t bytes) {
    LARGE_INTEGER distance;
    distance.QuadPart = bytes;
    return ::SetFilePointerEx(asHandle(handle_), distance, nullptr, FILE_CURRENT) != 0;
}

FileReader::Info FileReader::info() const {
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(asHandle(handle_), &info))
        return {};
    return {!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY),
            unixNsFromFileTime(fileTimeValue(info.ftLastWriteTime))};
}

int64_t FileReader::size() const {
    LARGE_INTEGER size;
    return ::GetFileSizeEx(asHandle(handle_), &size) ? size.QuadPart : -1;
}

size_t removeLeftovers(const fs::path& folder) {
    // Our own are live: another folder of this run may be this one under another name.
    const std::string own = ownStagingPrefix();
    std::vector<std::wstring> found;
    forEachEntry(folder, [&](std::wstring_view wide, const EntryInfo& info) {
        if (info.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            return; // plain files only
        const std::string name = utf8FromWide(wide);
        if (isStagingName(name) && !name.starts_with(own))
            found.emplace_back(wide);
    });
    size_t removed = 0;
    for (const std::wstring& name : found) {
        const fs::path path = folder / name;
        // A copy of a read-only file is read-only from just before it would have been named.
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (::DeleteFileW(path.c_str()))
            ++removed;
    }
    countLeftoversRemoved(removed);
    return removed;
}

NewFileWriter::NewFileWriter(fs::path host) : NewFileWriter(std::move(host), false) {}

// The journal reads a new file back here rather than hashing it on the way.
NewFileWriter::NewFileWriter(fs::path host, bool) : host_(std::move(host)) {
    handle_ = createStagingFile(host_.parent_path(), temp_);
    if (!handle_)
        throw IoError(FileAction::Write, utf8Of(host_), errno);
}

NewFileWriter::~NewFileWriter() {
    if (handle_)
        ::CloseHandle(asHandle(handle_));
    if (!committed_ && !temp_.empty())
        ::DeleteFileW(temp_.c_str());
}

void NewFileWriter::write(std::string_view bytes) {
    if (const int err = writeAll(asHandle(handle_), bytes))
        throw IoError(FileAction::Write, utf8Of(host_), err);
}

void NewFileWriter::finish(int64_t unixTime) {
    const HANDLE h = asHandle(handle_);
    // The time is a convenience where the system allows it; the data is what counts. Windows
    // has no flush of a whole file system for a user: each file is flushed here, and
    // flushFileSystems has nothing left to do.
    setFileModificationTime(h, unixTime);
    int err = ::FlushFileBuffers(h) ? 0 : lastErrno();
    if (!::CloseHandle(h) && !err)
        err = lastErrno();
    handle_ = nullptr;
    if (err)
        throw IoError(FileAction::Write, utf8Of(host_), err);
}

void NewFileWriter::commit() {
    if (handle_)
        throw IoError(FileAction::Write, utf8Of(host_), EBADF); // not finished
    ChangeObserver* observer = changeObserver();
    if (observer)
        observer->beforeAdd(host_);
    // Without MOVEFILE_REPLACE_EXISTING the name is taken only where nothing is, a link
    // included.
    if (!::SetFileAttributesW(temp_.c_str(), FILE_ATTRIBUTE_ARCHIVE) ||
        !::MoveFileExW(temp_.c_str(), host_.c_str(), 0)) {
        const int err = lastErrno();
        if (observer)
            observer->failed(host_);
        throw IoError(FileAction::Write, utf8Of(host_), err);
    }
    committed_ = true;
    noteAdded(host_, HostKind::File);
    if (observer)
        observer->made(host_);
}

void flushFileSystems(const std::vector<fs::path>&) {
    // Each staged file was flushed when finished (NewFileWriter::finish,
    // AtomicFileWriter::finish): Windows lets only administrators flush a whole volume.
}

namespace {

// The file a link leads to (the path itself when it is no link): a game file the user linked
// elsewhere is replaced where it lives, and the link stays. A link to nothing is refused:
// writing would create a file wherever it points.
fs::path linkTarget(const fs::path& start) {
    const auto info = entryInfo(start);
    if (!info || !info->isLink)
        return start;
    const HANDLE h = ::CreateFileW(start.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const int err = lastErrno();
        throw IoError(FileAction::Write, utf8Of(start), err == ENOENT ? ENOLINK : err);
    }
    std::wstring target(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(h, target.data(), static_cast<DWORD>(target.size()),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n >= target.size()) {
        target.resize(n + 1);
        n = ::GetFinalPathNameByHandleW(h, target.data(), static_cast<DWORD>(target.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    const int err = n == 0 || n >= target.size() ? lastErrno() : 0;
    ::CloseHandle(h);
    if (err)
        throw IoError(FileAction::Write, utf8Of(start), err);
    target.resize(n);
    // "\\?\C:\..." names the same file as "C:\...", which messages show better.
    if (target.starts_with(L"\\\\?\\UNC\\"))
        target.replace(0, 8, L"\\\\");
    else if (target.starts_with(L"\\\\?\\") && target.size() > 5 && target[5] == L':')
        target.erase(0, 4);
    return fs::path(target);
}

} // namespace

AtomicFileWriter::AtomicFileWriter(fs::path host, LinkRule links)
    : host_(links == LinkRule::Follow ? linkTarget(host) : std::move(host)) {
    if (const auto info = entryInfo(host_); info && !info->isLink) {
        if (info->attributes & FILE_ATTRIBUTE_DIRECTORY)
            throw IoError(FileAction::Write, utf8Of(host_), EISDIR);
        if (info->attributes & FILE_ATTRIBUTE_READONLY)
            throw IoError(FileAction::Write, utf8Of(host_), EROFS);
    }
    handle_ = createStagingFile(host_.parent_path(), temp_);
    if (!handle_)
        throw IoError(FileAction::Write, utf8Of(host_), errno);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (handle_)
        ::CloseHandle(asHandle(handle_));
    if (!committed_ && !temp_.empty())
        ::DeleteFileW(temp_.c_str());
}

void AtomicFileWriter::fail(int err) {
    throw IoError(FileAction::Write, utf8Of(host_), err);
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (const int err = writeAll(asHandle(handle_), bytes))
        fail(err);
}

void AtomicFileWriter::close(bool flush) {
    const HANDLE h = asHandle(handle_);
    if ((mtime_ && !setFileModificationTime(h, *mtime_)) || (flush && !::FlushFileBuffers(h)))
        fail(lastErrno());
    const bool closed = ::CloseHandle(h);
    handle_ = nullptr;
    if (!closed)
        fail(lastErrno());
}

void AtomicFileWriter::finish() {
    close(true); // no flush of a whole file system for a user: see flushFileSystems
}

void AtomicFileWriter::commit() {
    if (handle_)
        close(true);
    const auto existing = entryInfo(host_);
    ChangeObserver* observer = changeObserver();
    if (observer) {
        if (existing)
            observer->beforeReplace(host_);
        else
            observer->beforeAdd(host_);
    }
    // The file keeps whether it was hidden or a system file; it is no longer hidden for being
    // staged.
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    if (existing && !existing->isLink)
        attributes |= existing->attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if (!::SetFileAttributesW(temp_.c_str(), attributes) ||
        !::MoveFileExW(temp_.c_str(), host_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        int err = lastErrno();
        const DWORD now = ::GetFileAttributesW(host_.c_str());
        if (err == EACCES && now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_READONLY))
            err = EROFS; // made read-only meanwhile
        if (observer)
            observer->failed(host_);
        fail(err);
    }
    committed_ = true;
    noteAdded(host_, HostKind::File);
    if (observer)
        observer->made(host_);
}

std::optional<FileStamp> hostFileStamp(const fs::path& host) {
    const HANDLE h = ::CreateFileW(host.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = ::GetFileInformationByHandle(h, &info);
    ::CloseHandle(h);
    if (!known)
        return std::nullopt;
    return FileStamp{
        static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow),
        unixNsFromFileTime(fileTimeValue(info.ftLastWriteTime)),
        static_cast<int64_t>((static_cast<uint64_t>(info.nFileIndexHigh) << 32) |
                             info.nFileIndexLow)};
}

} // namespace vokari::platform
