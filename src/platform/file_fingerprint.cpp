#include "platform/file_fingerprint.h"

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>
#include <zlib.h>

namespace vokari::platform {
ContentHash::ContentHash() : crc_(::crc32(0, nullptr, 0)), adler_(::adler32(0, nullptr, 0)) {}

void ContentHash::add(std::string_view bytes) {
    const auto* data = reinterpret_cast<const Bytef*>(bytes.data());
    crc_ = ::crc32_z(crc_, data, bytes.size());
    adler_ = ::adler32_z(adler_, data, bytes.size());
}

uint64_t ContentHash::value() const {
    return (static_cast<uint64_t>(crc_) << 32) | (adler_ & 0xFFFFFFFF);
}

FileFingerprint fileFingerprint(std::string_view path) {
    const std::filesystem::path host = hostPath(path);
    FileReader file;
    if (const int err = file.open(host)) {
        if (err == ENOENT || err == ENOTDIR)
            return {};
        throw IoError(FileAction::Read, utf8Of(host), err);
    }
    FileFingerprint print;
    print.exists = true;
    // The time before the bytes: a write while they are read shows at the next look.
    if (const auto stamp = hostFileStamp(host))
        print.mtimeNs = stamp->mtimeNs;
    ContentHash hash;
    if (const int err = file.readBlocks([&](std::string_view block) {
            hash.add(block);
            print.size += static_cast<int64_t>(block.size());
        }))
        throw IoError(FileAction::Read, utf8Of(host), err);
    print.hash = hash.value();
    return print;
}

uint64_t hashHostFile(const std::filesystem::path& host) {
    FileReader file;
    if (file.open(host) != 0)
        return 0;
    ContentHash hash;
    file.readBlocks([&hash](std::string_view block) { hash.add(block); });
    return hash.value();
}

HashAndTime hashAndTime(const std::filesystem::path& host) {
    HashAndTime result;
    FileReader file;
    if (file.open(host) != 0) {
        if (const auto stamp = hostFileStamp(host)) // a folder
            result.mtimeNs = stamp->mtimeNs;
        return result;
    }
    const FileReader::Info info = file.info();
    result.mtimeNs = info.mtimeNs;
    if (!info.regular)
        return result;
    ContentHash hash;
    file.readBlocks([&hash](std::string_view block) { hash.add(block); });
    result.hash = hash.value();
    return result;
}

bool fileChangedSince(const FileFingerprint& before, std::string_view path) {
    const FileFingerprint now = fileFingerprint(path);
    return now.exists != before.exists || now.size != before.size || now.hash != before.hash;
}

} // namespace vokari::platform
