#pragma once

#include "platform/file_fingerprint.h"
#include "platform/folder_listings.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Walking host folder trees through open folders, and copying one file between them without
// ever replacing what is there. Names are taken as they are on disk, and no link below the
// folder first opened is ever followed. A copy first goes to a hidden temporary name beside its
// target (stage) and takes its name only when whole (commit), so a failed or interrupted copy
// never leaves a partial file under the real name.
namespace vokari::platform {

struct HostEntry {
    std::string name;
    HostKind kind = HostKind::None;
};

// An open folder, closed with its last owner.
class FolderHandle {
public:
    // Opens `hostPath` as a folder (a link to a folder is followed only here, at the top).
    // Nothing when it cannot be opened; `err` then holds the system's error number.
    static std::shared_ptr<FolderHandle> open(const std::string& hostPath, int& err);
    // Opens the folder `name` inside this one, never through a link.
    std::shared_ptr<FolderHandle> openChild(const std::string& name, int& err) const;
    // The entries, in name order without regard to case; hidden ones (a leading ".") only
    // with `hidden`. With `leftovers`, temporary files a killed run of ours left here are
    // removed on the way and counted (only while holding the folder's lock). Returns 0 or the
    // system's error number. Within a ListingScope it is read once under its path.
    int list(std::vector<HostEntry>& entries, size_t* leftovers = nullptr,
             bool hidden = false) const;
    // What `name` is, the link itself for a link; None when there is nothing.
    HostKind kindOf(const std::string& name) const;
    // What a link `name` leads to (None when nothing); the entry itself when it is no link.
    HostKind targetKindOf(const std::string& name) const;
    // Creates the folder `name`. Returns 0 or the system's error number.
    int makeFolder(const std::string& name) const;
#ifdef _WIN32
    // The folder open as a HANDLE, which keeps it from being renamed or removed meanwhile; the
    // names in it are reached through its path.
    FolderHandle(void* handle, std::filesystem::path path);
#else
    FolderHandle(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
#endif
    ~FolderHandle();
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    // The host path it was opened by.
    const std::filesystem::path& path() const {
        return path_;
    }
#ifndef _WIN32
    int fd() const {
        return fd_;
    }
#endif

private:
#ifdef _WIN32
    void* handle_;
#else
    int fd_;
#endif
    std::filesystem::path path_;
};

// A file copied under its temporary name, waiting for commit.
struct StagedCopy {
    std::shared_ptr<FolderHandle> folder;
    std::string tempName;
    std::string name;
    int64_t size = 0;
    bool sourceFailed = false; // the failure was the source's: it could not be opened
#ifdef _WIN32
    uint32_t attributes = 0; // what the file gets with its name (it is hidden until then)
#endif
    // What was written, hashed on the way when an observer was there to be told of it.
    std::optional<HashAndTime> written;
};

// Copies the plain file `name` of `source` (never through a link) to a temporary name in
// `target`, with the source's permissions and access and modification times. Returns 0, or
// the system's error number; on failure nothing is left behind.
int stageCopy(const FolderHandle& source, const std::string& name,
              const std::shared_ptr<FolderHandle>& target, StagedCopy& staged);

// Writes what was staged in the file systems that hold `targets` to the disk, each once, so
// that no name committed afterwards can point at data a crash would lose. Returns 0 or the
// system's error number.
int flushStaged(const std::vector<const FolderHandle*>& targets);

// Gives a staged copy its name unless that name is taken. Returns 0 when committed, EEXIST
// when the name was taken (the temporary is removed), or another error number.
int commitCopy(const StagedCopy& staged);

// Removes a staged copy that will not be committed.
void discardCopy(const StagedCopy& staged);

// Copies the file `source` (a link to it followed) byte for byte, with its permissions and
// times, to a temporary name in `target`, to be named `name` by commitCopy once the caller has
// flushed it (flushStaged). Returns 0 or the system's error number; on failure nothing is left.
int stageFileCopy(const std::filesystem::path& source, const std::shared_ptr<FolderHandle>& target,
                  const std::string& name, StagedCopy& staged);

// Copies the file `source` (a link to it followed) byte for byte, with its permissions and
// times, to `target`, which must not exist: staged, flushed to the disk (unless `flush` is
// false) and named only when whole, never through a link at `target`. Returns 0, EEXIST when
// `target` is taken, or another error number.
int copyFileExact(const std::filesystem::path& source, const std::filesystem::path& target,
                  bool flush = true);

// Puts the kept copy `source` (a file or a link, taken as it is) back at `target`, bytes,
// permissions and dates, replacing what is there (a link itself, never through it): staged,
// flushed and renamed into place. Throws IoError.
void restoreFileExact(const std::filesystem::path& source, const std::filesystem::path& target);

// Copies the file `source` (a link to it followed) byte for byte with its permissions and
// times to `name` in the open folder `folder`, named only when whole and never replacing; not
// flushed (a store that is written to in bulk). Returns 0 or the system's error number.
int copyFileInto(const std::filesystem::path& source, const FolderHandle& folder,
                 const std::string& name);

// Keeps the file `source` in `folder` as `name` for a caller about to replace or remove it
// (with the folder's lock held): as a second name for the same file when it has no other and
// `folder` is on its disk, so nothing is copied and the kept name is its only one once the
// caller's change is made; else as copyFileInto copies it. Returns 0 or the system's error
// number.
int keepFileInto(const std::filesystem::path& source, const FolderHandle& folder,
                 const std::string& name);

enum class BackupResult { Made, Kept, NoOriginal };

// The one-time backup of the player's file `original` at `backup` (".bak", ".org"): made as
// an exact copy when missing, kept when it is a file (or a link to one). A backup name that is
// a link to nothing (ENOLINK) or a folder (EISDIR) is refused: the file must then be left
// alone. Throws IoError.
BackupResult makeBackup(const std::filesystem::path& original, const std::filesystem::path& backup);

} // namespace vokari::platform
