#include "support/archive_builders.h"

#include <array>
#include <zlib.h>

namespace vokari::test {
namespace {

void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

uint16_t crc16Of(const std::string& data) {
    uint16_t crc = 0;
    for (unsigned char c : data) {
        crc ^= c;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

} // namespace

uint32_t crc32Of(const std::string& data) {
    return static_cast<uint32_t>(
        ::crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string rawDeflate(const std::string& data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string buildZip(const std::vector<ZipItem>& items, uint16_t extraCount) {
    std::string out;
    std::string central;
    for (const ZipItem& item : items) {
        const uint32_t offset = static_cast<uint32_t>(out.size());
        const uint16_t flags = item.utf8 ? 0x800 : 0;
        const uint32_t crc = crc32Of(item.data);
        // The fields the local header and the central directory both carry, stored as is.
        auto putRecord = [&](std::string& to, uint32_t recordCrc) {
            put16(to, flags);
            put16(to, item.method);
            put16(to, item.dosTime);
            put16(to, item.dosDate);
            put32(to, recordCrc);
            put32(to, static_cast<uint32_t>(item.data.size()));
            put32(to, item.declaredSize.value_or(static_cast<uint32_t>(item.data.size())));
            put16(to, static_cast<uint32_t>(item.name.size()));
        };
        put32(out, 0x04034b50);
        put16(out, 20);
        putRecord(out, crc);
        put16(out, 0);
        out += item.name;
        out += item.data;

        put32(central, 0x02014b50);
        put16(central, item.unixMode ? (3 << 8) | 20 : 20);
        put16(central, 20);
        putRecord(central, item.centralCrc.value_or(crc));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, item.unixMode ? (item.unixMode << 16) : item.dosAttributes);
        put32(central, offset);
        central += item.name;
    }
    const uint32_t centralOffset = static_cast<uint32_t>(out.size());
    out += central;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<uint32_t>(items.size() + extraCount));
    put16(out, static_cast<uint32_t>(items.size() + extraCount));
    put32(out, static_cast<uint32_t>(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

std::string buildLha(const std::vector<LhaItem>& items) {
    std::string out;
    for (const LhaItem& item : items) {
        const uint16_t crc = static_cast<uint16_t>(crc16Of(item.data) ^ (item.badCrc ? 1 : 0));
        const uint32_t size = static_cast<uint32_t>(item.data.size());
        std::string h;
        if (item.level == 0) {
            h += item.method.substr(0, 5);
            put32(h, size);
            put32(h, size);
            put16(h, (13 << 11) | (45 << 5) | 10);
            put16(h, (20 << 9) | (5 << 5) | 17);
            h += static_cast<char>(0x20);
            h += static_cast<char>(0);
            h += static_cast<char>(item.name.size());
            h += item.name;
            put16(h, crc);
            unsigned sum = 0;
            for (unsigned char c : h)
                sum += c;
            out += static_cast<char>(h.size());
            out += static_cast<char>(sum & 0xFF);
            out += h;
        } else {
            std::string ext;
            auto addExt = [&](char type, const std::string& data) {
                put16(ext, static_cast<uint32_t>(1 + data.size() + 2)); // size of this one
                ext += type;
                ext += data;
            };
            addExt(0x01, item.name);
            if (!item.folder.empty())
                addExt(0x02, item.folder);
            if (item.unixMode) {
                std::string mode;
                put16(mode, item.unixMode);
                addExt(0x50, mode);
            }
            put16(ext, 0);
            // The size fields chain: the base header ends with the first one.
            std::string base = item.method.substr(0, 5);
            put32(base, size);
            put32(base, size);
            put32(base, 958562710); // 2000-05-17 local-ish
            base += static_cast<char>(0x20);
            base += static_cast<char>(2);
            put16(base, crc);
            base += 'M';
            const uint32_t total = static_cast<uint32_t>(2 + base.size() + ext.size());
            put16(out, total);
            out += base;
            out += ext;
        }
        out += item.data;
    }
    out += '\0';
    return out;
}

std::string exeStub(size_t size) {
    std::string stub = "MZ";
    stub.resize(size, '\x90');
    return stub;
}

} // namespace vokari::test
