#include "platform/host_folder.h"

#include "platform/windows_api.h"

#include <windows.h>

namespace vokari::platform {

std::optional<bool> isFolderAt(const std::filesystem::path& host) {
    const DWORD attributes = ::GetFileAttributesW(host.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int makeHostFolder(const std::filesystem::path& host) {
    return ::CreateDirectoryW(host.c_str(), nullptr) ? 0 : lastErrno();
}

} // namespace vokari::platform
