#include "platform/folder_lock.h"

#include "platform/environment.h"
#include "platform/error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

struct Held {
    int fd = -1;
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
    const fs::path folder = runtimeDirectory() / ("vokari-locks-" + std::to_string(::getuid()));
    std::error_code ec;
    fs::create_directories(folder.parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw IoError(FileAction::CreateFolder, folder.string(), errno);
    struct stat st;
    // Someone else's folder in a shared temporary folder must not decide our locks.
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        throw IoError(FileAction::Use, folder.string(), EPERM);
    return folder / name;
}

bool tryLock(int fd) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

} // namespace

std::string canonicalFolder(const fs::path& folder) {
    std::error_code ec;
    fs::path real = fs::weakly_canonical(folder, ec);
    if (ec)
        real = fs::absolute(folder, ec).lexically_normal();
    std::string key = real.string();
    while (key.size() > 1 && key.back() == '/')
        key.pop_back();
    return key;
}

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
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        held().erase(key_);
        throw IoError(FileAction::Use, file.string(), errno);
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!tryLock(fd)) {
        if ((errno != EAGAIN && errno != EACCES) || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            held().erase(key_);
            throw LockError(key_);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    entry = Held{fd, 1};
}

FolderLock::~FolderLock() {
    std::lock_guard guard(heldMutex());
    const auto it = held().find(key_);
    if (it == held().end() || --it->second.count > 0)
        return;
    ::close(it->second.fd); // closing the last descriptor of the open file drops its lock
    held().erase(it);
}

} // namespace vokari::platform
