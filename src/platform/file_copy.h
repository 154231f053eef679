#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Walking host folder trees through open folders, and copying one file between them without
// ever replacing what is there. Names are taken as they are on disk, and no link below the
// folder first opened is ever followed. A copy first goes to a hidden temporary name beside its
// target (stage) and takes its name only when whole (commit), so a failed or interrupted copy
// never leaves a partial file under the real name.
namespace vokari::platform {

enum class HostKind { None, File, Folder, Link, Other };

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
    // The entries, hidden ones (a leading ".") left out, in name order without regard to case.
    // Returns 0 or the system's error number.
    int list(std::vector<HostEntry>& entries) const;
    // What `name` is, the link itself for a link; None when there is nothing.
    HostKind kindOf(const std::string& name) const;
    // Creates the folder `name`. Returns 0 or the system's error number.
    int makeFolder(const std::string& name) const;
    explicit FolderHandle(int fd) : fd_(fd) {}
    ~FolderHandle();
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// A file copied under its temporary name, waiting for commit.
struct StagedCopy {
    std::shared_ptr<FolderHandle> folder;
    std::string tempName;
    std::string name;
    int64_t size = 0;
    bool sourceFailed = false; // the failure was the source's: it could not be opened
};

// Copies the plain file `name` of `source` (never through a link) to a temporary name in
// `target`, with the source's permissions and access and modification times. Returns 0, or
// the system's error number; on failure nothing is left behind.
int stageCopy(const FolderHandle& source, const std::string& name,
              const std::shared_ptr<FolderHandle>& target, StagedCopy& staged);

// Writes what was staged in the target's file system to the disk, so that no name committed
// afterwards can point at data a crash would lose. Returns 0 or the system's error number.
int flushStaged(const FolderHandle& target);

// Gives a staged copy its name unless that name is taken. Returns 0 when committed, EEXIST
// when the name was taken (the temporary is removed), or another error number.
int commitCopy(const StagedCopy& staged);

// Removes a staged copy that will not be committed.
void discardCopy(const StagedCopy& staged);

} // namespace vokari::platform
