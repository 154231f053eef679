#include "platform/instance_lock.h"

#include "platform/environment.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vokari::platform {

InstanceLock::InstanceLock(std::string name, std::filesystem::path folder)
    : file_((folder.empty() ? runtimeDirectory() : folder) /
            (name + "-" + std::to_string(::getuid()) + ".lock")) {}

InstanceLock::~InstanceLock() {
    release();
}

bool InstanceLock::tryAcquire() {
    if (fd_ >= 0)
        return true;
    const int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true; // no place for a lock file: better to run than to refuse forever
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool InstanceLock::held() const {
    return fd_ >= 0;
}

void InstanceLock::release() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace vokari::platform
