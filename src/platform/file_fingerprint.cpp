#include "platform/file_fingerprint.h"

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

namespace vokari::platform {
namespace {

// A 64-bit hash over bytes handed over in pieces of any size, eight bytes at a time; not a
// cryptographic one: it tells files apart, nobody is forging them.
class ByteHash {
public:
    void add(std::string_view bytes) {
        total_ += bytes.size();
        size_t i = 0;
        if (carried_ > 0) {
            while (carried_ < 8 && i < bytes.size())
                carry_[carried_++] = bytes[i++];
            if (carried_ < 8)
                return;
            mix(load(carry_));
            carried_ = 0;
        }
        for (; i + 8 <= bytes.size(); i += 8)
            mix(load(bytes.data() + i));
        while (i < bytes.size())
            carry_[carried_++] = bytes[i++];
    }

    uint64_t value() const {
        uint64_t tail = 0;
        std::memcpy(&tail, carry_, carried_);
        uint64_t h = state_ ^ (tail * kMultiplier1) ^ total_;
        // The finish of MurmurHash3: every input bit reaches every output bit.
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        h ^= h >> 33;
        return h;
    }

private:
    static constexpr uint64_t kMultiplier1 = 0x87C37B91114253D5ull;
    static constexpr uint64_t kMultiplier2 = 0x4CF5AD432745937Full;

    static uint64_t load(const char* at) {
        uint64_t word;
        std::memcpy(&word, at, 8);
        return word;
    }
    void mix(uint64_t word) {
        state_ = std::rotl(state_ ^ (word * kMultiplier1), 31) * kMultiplier2 + 0x52DCE729;
    }

    uint64_t state_ = 0x9E3779B97F4A7C15ull;
    uint64_t total_ = 0;
    char carry_[8] = {};
    size_t carried_ = 0;
};

} // namespace

FileFingerprint fileFingerprint(std::string_view path) {
    const std::filesystem::path host = hostPath(path);
    FileReader file;
    if (const int err = file.open(host)) {
        if (err == ENOENT || err == ENOTDIR)
            return {};
        throw IoError(FileAction::Read, host.string(), err);
    }
    FileFingerprint print;
    print.exists = true;
    // The time before the bytes: a write while they are read shows at the next look.
    if (const auto stamp = hostFileStamp(host))
        print.mtimeNs = stamp->mtimeNs;
    constexpr size_t kBlock = 256 * 1024;
    const auto block = std::make_unique<char[]>(kBlock);
    ByteHash hash;
    while (true) {
        const int64_t n = file.read(block.get(), kBlock);
        if (n < 0)
            throw IoError(FileAction::Read, host.string(), errno);
        if (n == 0)
            break;
        hash.add(std::string_view(block.get(), static_cast<size_t>(n)));
        print.size += n;
    }
    print.hash = hash.value();
    return print;
}

bool fileChangedSince(const FileFingerprint& before, std::string_view path) {
    const FileFingerprint now = fileFingerprint(path);
    return now.exists != before.exists || now.size != before.size || now.hash != before.hash;
}

} // namespace vokari::platform
