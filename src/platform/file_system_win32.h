#pragma once

// What the Windows side of the file layer (file_system, file_copy, folder_listings) shares,
// implemented in file_system_win32.cpp. Used by platform/ only.
#ifdef _WIN32

#include "platform/folder_listings.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace vokari::platform {

// Shared by every open of ours: nobody else is kept from reading, writing or renaming.
inline constexpr unsigned long kShareAll = 0x7; // FILE_SHARE_READ | _WRITE | _DELETE

// An entry as the file system tells it, a link taken as itself.
struct EntryInfo {
    uint32_t attributes = 0; // FILE_ATTRIBUTE_*, of which the kAttr* values are a part
    bool isLink = false;     // a symbolic link or junction, not any other reparse point
};

// The entry `host` itself (never what a link leads to); nothing when it is not there (errno
// says why).
std::optional<EntryInfo> entryInfo(const std::filesystem::path& host);
// What an entry is: Link for a link, else Folder or File.
HostKind kindOfEntry(const EntryInfo& info);
// Whether the file or folder open as `handle` is a link (opened as itself); other reparse
// points (a file kept in the cloud, say) are no links.
bool isLinkHandle(void* handle);
// What `host` leads to, links followed; None when nothing.
HostKind targetKind(const std::filesystem::path& host);

// Calls `each` with every entry of `folder` but "." and "..", hidden ones too. Returns 0 or the
// error number that ended the listing.
int forEachEntry(const std::filesystem::path& folder,
                 const std::function<void(std::wstring_view name, const EntryInfo& info)>& each);

// Creates a hidden staging file in `folder`, open for writing; its path in `temp`. Returns the
// HANDLE, or nullptr (errno says why).
void* createStagingFile(const std::filesystem::path& folder, std::filesystem::path& temp);

// Times as Windows keeps them (100 ns since 1601) to and from the Unix epoch.
inline constexpr int64_t kFileTimeUnixEpoch = 116444736000000000;
inline int64_t unixNsFromFileTime(uint64_t fileTime) {
    return (static_cast<int64_t>(fileTime) - kFileTimeUnixEpoch) * 100;
}
inline uint64_t fileTimeFromUnix(int64_t unixTime) {
    return static_cast<uint64_t>(unixTime * 10000000 + kFileTimeUnixEpoch);
}

} // namespace vokari::platform

#endif
