#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

// What a window knows of a file it read, so that at saving it can tell whether someone else
// wrote the file since.
namespace vokari::platform {

struct FileFingerprint {
    bool exists = false;
    int64_t size = 0;
    int64_t mtimeNs = 0; // when it was last written, to the nanosecond
    uint64_t hash = 0;   // of the bytes
};

// The file at `path` (a Windows path) as it is now; a missing file gives `exists` false.
// Throws IoError when the file is there but cannot be read.
FileFingerprint fileFingerprint(std::string_view path);

// The hash a fingerprint holds, fed with a file's bytes in order: zlib's CRC-32 and Adler-32
// side by side, 64 bits that tell files apart (nobody forges them here).
class ContentHash {
public:
    ContentHash();
    void add(std::string_view bytes);
    uint64_t value() const;

private:
    unsigned long crc_;
    unsigned long adler_;
};

// The hash a fingerprint holds, of the host file `host`; 0 when it cannot be read.
uint64_t hashHostFile(const std::filesystem::path& host);

// The hash and modification time of what `host` is (a link followed): one open for both.
struct HashAndTime {
    uint64_t hash = 0;   // 0 for anything but a file
    int64_t mtimeNs = 0; // 0 when there is nothing
};
HashAndTime hashAndTime(const std::filesystem::path& host);

// True when the file no longer holds what `before` saw: it came, went, or its bytes differ.
// The bytes decide, not the time: timestamps may be too coarse to show a quick second write,
// and a file written again with the same bytes loses nothing when overwritten.
bool fileChangedSince(const FileFingerprint& before, std::string_view path);

} // namespace vokari::platform
