#include "platform/folder_lock_file.h"

#include "platform/folder_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace vokari::platform {

std::string canonicalFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path real = std::filesystem::weakly_canonical(folder, ec);
    if (ec)
        real = std::filesystem::absolute(folder, ec).lexically_normal();
    std::string key = real.string();
    while (key.size() > 1 && key.back() == '/')
        key.pop_back();
    return key;
}

LockFileHandle openLockFile(const std::filesystem::path& file, int& err) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    err = fd < 0 ? errno : 0;
    return fd < 0 ? kNoLockFile : fd;
}

LockAttempt tryLockFile(LockFileHandle file) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(static_cast<int>(file), F_OFD_SETLK, &lock) == 0)
        return LockAttempt::Taken;
    return errno == EAGAIN || errno == EACCES ? LockAttempt::HeldElsewhere : LockAttempt::Failed;
}

void closeLockFile(LockFileHandle file) {
    ::close(static_cast<int>(file));
}

} // namespace vokari::platform
