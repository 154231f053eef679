#include "platform/profile_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vokari::platform {

ProfileFile::~ProfileFile() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

FileState ProfileFile::open(const std::string& host, FileStamp& stamp, size_t& size) {
    const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        struct stat st;
        const bool isFile = err != ENOENT && err != ENOTDIR && ::stat(host.c_str(), &st) == 0 &&
                            !S_ISDIR(st.st_mode);
        return isFile ? FileState::Unreadable : FileState::Missing;
    }
    handle_ = fd;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))
        return FileState::Missing;
    // Offsets into a profile are 32 bits: nothing that large is a profile.
    if (!S_ISREG(st.st_mode) || st.st_size >= INT32_MAX)
        return FileState::Unreadable;
    stamp = FileStamp{static_cast<int64_t>(st.st_size),
                      static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                      static_cast<int64_t>(st.st_ino)};
    size = static_cast<size_t>(st.st_size);
    return FileState::Read;
}

ptrdiff_t ProfileFile::read(char* into, size_t room) {
    while (true) {
        const ssize_t n = ::read(static_cast<int>(handle_), into, room);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

} // namespace vokari::platform
