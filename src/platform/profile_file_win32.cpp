#include "platform/profile_file.h"

#include "platform/windows_api.h"

#include <windows.h>

namespace vokari::platform {

ProfileFile::~ProfileFile() {
    if (handle_ != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

FileState ProfileFile::open(const std::string& host, FileStamp& stamp, size_t& size) {
    const std::wstring path = wideFromUtf8(host);
    // Shared as Windows' own profile functions share it: a game may hold its file open.
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        // A folder cannot be opened this way: it counts as missing, as on POSIX.
        const bool isFile = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
                            attributes != INVALID_FILE_ATTRIBUTES &&
                            !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        return isFile ? FileState::Unreadable : FileState::Missing;
    }
    handle_ = reinterpret_cast<intptr_t>(file);
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileState::Missing;
    const uint64_t bytes = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    // Offsets into a profile are 32 bits: nothing that large is a profile.
    if (::GetFileType(file) != FILE_TYPE_DISK || bytes >= INT32_MAX)
        return FileState::Unreadable;
    // 100-nanosecond steps since 1601.
    const int64_t written = static_cast<int64_t>(
        (uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) | info.ftLastWriteTime.dwLowDateTime);
    constexpr int64_t kFrom1601To1970 = 116444736000000000;
    stamp =
        FileStamp{static_cast<int64_t>(bytes), (written - kFrom1601To1970) * 100,
                  static_cast<int64_t>((uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow)};
    size = static_cast<size_t>(bytes);
    return FileState::Read;
}

ptrdiff_t ProfileFile::read(char* into, size_t room) {
    DWORD done = 0;
    const DWORD ask = room > 0x40000000 ? 0x40000000 : static_cast<DWORD>(room);
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), into, ask, &done, nullptr))
        return -1;
    return static_cast<ptrdiff_t>(done);
}

} // namespace vokari::platform
