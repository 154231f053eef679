#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// Keeps two Vokari processes (a window and the command line, or two of either) from working
// on the same folder at once. A file replaced by renaming a staged copy over it cannot carry a
// lock of its own, so the lock lives on a separate, stable file in the user's runtime folder,
// named after the folder it guards. The system drops it when the process ends, however it
// ends. Within one process the lock is shared: taking it again while held only counts.
namespace vokari::platform {

// The folder as one spelling: the same folder reached through a link or "..", or named with a
// trailing slash (on Windows also in another case), gives the same text.
std::string canonicalFolder(const std::filesystem::path& folder);

// A name for the folder, the same in every process and run: sixteen hexadecimal digits.
std::string folderKey(const std::filesystem::path& folder);

class FolderLock {
public:
    // Takes the lock for the host folder `folder`, waiting up to `wait` for another process
    // to let go. Throws LockError when it does not.
    explicit FolderLock(const std::filesystem::path& folder,
                        std::chrono::milliseconds wait = defaultWait());
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // How long a second process waits: a few seconds, or VOKARI_LOCK_WAIT_MS.
    static std::chrono::milliseconds defaultWait();

private:
    std::string key_;
};

} // namespace vokari::platform
