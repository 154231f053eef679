#include "platform/stdio_file.h"
#include "platform/windows_api.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

namespace vokari::platform {

std::FILE* openStdioFile(const std::filesystem::path& host, const char* mode) {
    std::string rest(mode);
    const size_t x = rest.find('x');
    if (x == std::string::npos)
        return ::_wfopen(host.c_str(), wideFromUtf8(rest).c_str());
    // The C runtime has no "x": a new file is created by the system, then handed to stdio.
    rest.erase(x, 1);
    const HANDLE file = ::CreateFileW(host.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        lastErrno();
        return nullptr;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = ::_fdopen(fd, rest.c_str());
    if (!stream)
        ::_close(fd);
    return stream;
}

} // namespace vokari::platform
