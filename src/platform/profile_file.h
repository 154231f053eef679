#pragma once

#include "platform/file_system.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The system's side of reading a profile: opening the file, its stamp and its bytes. The
// reader and writer themselves are one for every system (profile.cpp); only it includes this.
namespace vokari::platform {

// A file's bytes, read without first clearing the memory they go to.
struct ProfileBytes {
    std::unique_ptr<char[]> data;
    size_t size = 0;
    std::string_view view() const { return {data.get(), size}; }
};

enum class FileState { Missing, Unreadable, Unchanged, Read };

// A profile open for reading; closed when it goes.
class ProfileFile {
public:
    ProfileFile() = default;
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    // Opens the host file `host` and tells its stamp and size from the open file: Read when it
    // is open; Missing for nothing there or a folder; Unreadable for a file that cannot be
    // opened, a pipe or device (never read), or one too large to be a profile.
    FileState open(const std::string& host, FileStamp& stamp, size_t& size);

    // Reads up to `room` bytes: how many, 0 at the end, -1 when the file cannot be read.
    ptrdiff_t read(char* into, size_t room);

private:
    intptr_t handle_ = -1; // a descriptor on POSIX, a HANDLE on Windows
};

} // namespace vokari::platform
