#pragma once

#include "platform/file_fingerprint.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// File services the tools use, on Windows paths (mapped through host_paths). Windows rules
// are kept where the tools rely on them: a read-only file cannot be deleted, hidden entries
// (a leading "." on POSIX, as in Wine) are not listed.
namespace vokari::platform {

inline constexpr uint32_t kAttrReadOnly = 1;
inline constexpr uint32_t kAttrHidden = 2;
inline constexpr uint32_t kAttrSystem = 4;
inline constexpr uint32_t kAttrDirectory = 16;
inline constexpr uint32_t kAttrArchive = 32;
// A symbolic link: never followed when deleting or walking trees.
inline constexpr uint32_t kAttrReparsePoint = 1024;

struct DirEntry {
    std::string name;
    uint32_t attributes = 0;
    bool isDirectory() const { return attributes & kAttrDirectory; }
    bool isLink() const { return attributes & kAttrReparsePoint; }
};

// Folders and normal files of `folder`, hidden ones and names a Windows path cannot hold (\ : *
// ? " < > | and control characters) left out, sorted by name without regard to
// case (NTFS order). A folder that cannot be read lists nothing.
std::vector<DirEntry> listDirectory(std::string_view folder);

// The attributes of one entry, or nothing when it does not exist.
std::optional<uint32_t> fileAttributes(std::string_view path);

bool isDirectory(std::string_view path);
bool isRegularFile(std::string_view path);

// Deletes a file or a symbolic link (never what it points to). False when it is read-only,
// missing, or the system refuses; errno then says which (EROFS: read-only).
bool deleteFile(std::string_view path);
// The same for a host path.
bool removeHostFile(const std::filesystem::path& host);

// Removes an empty folder. False when it is not empty or the system refuses.
bool removeFolder(std::string_view path);

// Deletes the host folder `host` and everything in it, hidden entries too. The tree is walked
// through open folders, entry by entry relative to them, so a name read from disk is never
// resolved again and no link is followed: links are removed as links, and a link in place of
// `host` only when it points to a folder. Read-only files stay, as Windows keeps them, unless
// `readOnly` says Go (a tree kept whole elsewhere first, or Vokari's own). Returns how many
// entries could not be deleted, `host` included; 0 when there was nothing, 1 when a file stands
// where the folder should be. `leftBehind`, when given, receives the host path of each of
// them. Throws only when out of memory.
enum class ReadOnlyFiles { Stay, Go };
long removeHostTree(const std::string& host, std::vector<std::string>* leftBehind = nullptr,
                    ReadOnlyFiles readOnly = ReadOnlyFiles::Stay);

// Creates the one folder `host` (not those above it), open to this user only. Returns 0 or the
// system's error number; EEXIST when the name is taken.
int createPrivateFolder(const std::filesystem::path& host);

// Creates a folder and the missing ones above it. Throws IoError.
void createDirectories(std::string_view path);

// The whole file as bytes. Throws IoError.
std::string readFileBytes(std::string_view path);
// 0 when the file `host` can be opened for reading, else the system's error number.
int readOpenError(const std::filesystem::path& host);

// The hidden name a file is written under before it takes its own: never listed as a game
// file, and known as ours when a killed run leaves it behind.
std::string stagingName();
// True for a name stagingName gives, or one an earlier version left ("NAME.vokari-XXXXXX").
bool isStagingName(std::string_view name);

// Removes the temporary files a killed run of ours left in the host folder `folder` (plain
// files only, never a link or folder, never this process's own) and returns how many. Call it
// only while holding the folder's lock, so a second Vokari's live files are never touched.
size_t removeLeftovers(const std::filesystem::path& folder);
#ifndef _WIN32
// The same for a folder already open.
size_t removeLeftoversAt(int folderFd);
#endif
// How many leftovers this process has removed so far, for reports.
size_t leftoversRemoved();

// What to do with a symbolic link at the name being replaced.
enum class LinkRule {
    // The player's own file: the file it points to is replaced in its own folder and the link
    // stays; a link to nothing is refused (ENOLINK).
    Follow,
    // Data from a package: the link itself is replaced by a regular file, its target untouched.
    Replace,
};

// Replaces (or creates) a file with `bytes`: written to a temporary file beside it and renamed
// over it, so the old file stays whole when anything fails. An existing file keeps its
// permissions; a read-only one is refused (EROFS); links are followed (LinkRule::Follow).
// Throws IoError.
void writeFileAtomic(std::string_view path, std::string_view bytes);

// The same for bytes that arrive in pieces (an archive entry being decoded): written to a
// temporary file beside `host`, which takes the place of `host` only on commit(). Dropped
// without commit, it leaves `host` as it was. Throws IoError.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path host, LinkRule links = LinkRule::Follow);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    // The modification time the file gets on commit (seconds since 1970, UTC).
    void setModificationTime(int64_t unixTime) { mtime_ = unixTime; }
    // Gives the file the permissions of the one it replaces (new files: 0666 less the umask),
    // flushes it to disk and renames it over the target.
    void commit();
    // The same in two steps, for callers replacing many files: finish() gives the permissions
    // and the time and closes the file, still under its temporary name; the caller flushes the
    // batch (flushFileSystems) before commit() renames it.
    void finish();
    const std::filesystem::path& path() const { return host_; }

private:
    [[noreturn]] void fail(int err);
    void close(bool flush);
    std::filesystem::path host_;
#ifdef _WIN32
    std::filesystem::path temp_;
    void* handle_ = nullptr; // a HANDLE, nullptr when closed
#else
    std::string temp_;
    int fd_ = -1;
    // Bytes written so far, and the first not yet sent on to the disk.
    int64_t bytesWritten_ = 0;
    int64_t writebackFrom_ = 0;
#endif
    bool committed_ = false;
    std::optional<int64_t> mtime_;
    // The bytes hashed as they are written, for the change journal, when it listens.
    std::optional<ContentHash> hash_;
    std::optional<HashAndTime> written_;
};

// A file that does not exist yet, written under a hidden temporary name in its folder and
// named only when whole, never replacing anything that took the name meanwhile (a link
// included). Dropped before commit, it leaves nothing behind. Not flushed to the disk on its
// own: callers writing many files flush once per batch (flushFileSystems) before naming them.
// Throws IoError.
class NewFileWriter {
public:
    // Hashes what it writes for the journal when this thread has an observer.
    explicit NewFileWriter(std::filesystem::path host);
    // For another thread than the operation's: `hashed` says whether to hash.
    NewFileWriter(std::filesystem::path host, bool hashed);
    ~NewFileWriter();
    NewFileWriter(const NewFileWriter&) = delete;
    NewFileWriter& operator=(const NewFileWriter&) = delete;

    void write(std::string_view bytes);
    // Gives the file its modification time (seconds since 1970, UTC) and closes it, still
    // under its temporary name.
    void finish(int64_t unixTime);
    // Gives the finished file its name; EEXIST when the name was taken meanwhile.
    void commit();
    const std::filesystem::path& path() const { return host_; }

private:
    std::filesystem::path host_;
#ifdef _WIN32
    std::filesystem::path temp_;
    void* handle_ = nullptr; // a HANDLE, nullptr when closed
#else
    std::string temp_;
    int fd_ = -1;
#endif
    bool committed_ = false;
    std::optional<ContentHash> hash_; // as AtomicFileWriter's
    std::optional<HashAndTime> written_;
};

// Writes what was written in the file systems that hold `files` to the disk, each once, so
// that no name given afterwards can point at data a crash would lose. Throws IoError.
void flushFileSystems(const std::vector<std::filesystem::path>& files);

// A file read from its host path. Interrupted reads are tried again.
class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Returns 0 or the system's error number.
    int open(const std::filesystem::path& host);
    bool isOpen() const;
    // Up to `size` bytes from the position on: how many, 0 at the end, -1 on failure (errno
    // says why).
    int64_t read(void* buffer, size_t size);
    // The same from `offset`, the position left where it is.
    int64_t readAt(void* buffer, size_t size, int64_t offset) const;
    // Moves the position `bytes` on without reading; false on failure.
    bool skip(int64_t bytes);
    // The size, or -1 when the system cannot tell.
    int64_t size() const;
    // Hands the rest of the file to `consume` a block at a time: 0 at its end, or the
    // system's error number.
    int readBlocks(const std::function<void(std::string_view)>& consume);
    // What the open file is.
    struct Info {
        bool regular = false;
        int64_t mtimeNs = 0;
    };
    Info info() const;

private:
#ifdef _WIN32
    void* handle_ = nullptr; // a HANDLE, nullptr when closed
#else
    int fd_ = -1;
#endif
};

// Size and modification time to the nanosecond, for caches that must notice any change.
struct FileStamp {
    int64_t size = -1;
    int64_t mtimeNs = 0;
    int64_t inode = 0;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> fileStamp(std::string_view path);

// The same for a host path already mapped (hot paths map once).
std::string readHostFile(const std::filesystem::path& host);
// Hands the file to `consume` a block at a time, never holding it whole: a reader of a large
// file keeps its memory and the processor's cache for its own work. Throws IoError.
void readFileBlocks(std::string_view path, const std::function<void(std::string_view)>& consume);
std::optional<FileStamp> hostFileStamp(const std::filesystem::path& host);

// Matches a Windows file-name pattern (* and ?) without regard to case.
bool matchesPattern(std::string_view name, std::string_view pattern);

} // namespace vokari::platform
