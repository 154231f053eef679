#include "platform/host_folder.h"

#include <cerrno>
#include <sys/stat.h>

namespace vokari::platform {

std::optional<bool> isFolderAt(const std::filesystem::path& host) {
    struct stat st;
    if (::stat(host.c_str(), &st) != 0)
        return std::nullopt;
    return S_ISDIR(st.st_mode);
}

int makeHostFolder(const std::filesystem::path& host) {
    return ::mkdir(host.c_str(), 0777) == 0 ? 0 : errno;
}

} // namespace vokari::platform
