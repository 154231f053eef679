#include "platform/stdio_file.h"

namespace vokari::platform {

std::FILE* openStdioFile(const std::filesystem::path& host, const char* mode) {
    return std::fopen(host.c_str(), mode);
}

} // namespace vokari::platform
