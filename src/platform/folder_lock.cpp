#include "platform/folder_lock.h"

#include "platform/environment.h"
#include "platform/error.h"
#include "platform/folder_lock_file.h"
#include "platform/path_text.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

struct Held {
    LockFileHandle file = kNoLockFile;
    int count = 0;
};

std::mutex& heldMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, Held>& held() {
    static std::map<std::string, Held> locks;
    return locks;
}

// A stable name for a text, the same in every process and run (std::hash need not be): FNV-1a.
std::string stableName(const std::string& text) {
    uint64_t hash = 1469598103934665603ULL;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    char name[24];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return name;
}

fs::path lockFileFor(const std::string& key) {
    const std::string name = stableName(key) + ".lock";
    const fs::path folder = runtimeDirectory() / pathFromUtf8("vokari-locks-" + currentUserId());
    // Someone else's folder in a shared temporary folder must not decide our locks.
    ensurePrivateDirectory(folder);
    return folder / name;
}

} // namespace

std::string folderKey(const fs::path& folder) {
    return stableName(canonicalFolder(folder));
}

std::chrono::milliseconds FolderLock::defaultWait() {
    if (const char* text = std::getenv("VOKARI_LOCK_WAIT_MS"))
        return std::chrono::milliseconds(std::strtol(text, nullptr, 10));
    return std::chrono::milliseconds(5000);
}

FolderLock::FolderLock(const fs::path& folder, std::chrono::milliseconds wait)
    : key_(canonicalFolder(folder)) {
    std::lock_guard guard(heldMutex());
    Held& entry = held()[key_];
    if (entry.count > 0) {
        ++entry.count;
        return;
    }
    const fs::path file = lockFileFor(key_);
    int err = 0;
    const LockFileHandle handle = openLockFile(file, err);
    if (handle == kNoLockFile) {
        held().erase(key_);
        throw IoError(FileAction::Use, utf8Of(file), err);
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        const LockAttempt attempt = tryLockFile(handle);
        if (attempt == LockAttempt::Taken)
            break;
        if (attempt == LockAttempt::Failed || std::chrono::steady_clock::now() >= deadline) {
            closeLockFile(handle);
            held().erase(key_);
            throw LockError(key_);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    entry = Held{handle, 1};
}

FolderLock::~FolderLock() {
    std::lock_guard guard(heldMutex());
    const auto it = held().find(key_);
    if (it == held().end() || --it->second.count > 0)
        return;
    closeLockFile(it->second.file); // closing the last handle of the open file drops its lock
    held().erase(it);
}

} // namespace vokari::platform
