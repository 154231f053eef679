#include "platform/folder_lock_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace vokari::platform {

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
