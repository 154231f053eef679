#include "installer/archiver.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <cstring>
#include <fstream>
#include <optional>
#include <zlib.h>

// ZIP through libarchive's seekable reader, which finds the central directory from the end of
// the file and so also reads self-extracting .exe files. The listing reads that directory
// itself: it has every fact the installer shows (CRC, compressed size, method, DOS time and
// attributes, the name as stored) and costs one read, where libarchive's listing visits every
// local header. Entries come in libarchive's order (by local header offset), so the data pass
// finds them again by position. Archives the directory reader does not take (ZIP64) are
// listed through libarchive.
namespace vokari {
namespace {

using namespace archive_detail;

constexpr size_t kBlockSize = 65536;

struct CentralEntry {
    uint16_t madeBy = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t originalSize = 0;
    uint32_t externalAttributes = 0;
    uint32_t localOffset = 0;
    std::string rawName;
    std::string unicodeName; // Info-ZIP Unicode Path field, when it matches the stored name
};

uint32_t crc32Of(std::string_view data) {
    return static_cast<uint32_t>(
        ::crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

void readUnicodeName(CentralEntry& e, const unsigned char* extra, size_t length) {
    size_t pos = 0;
    while (pos + 4 <= length) {
        const uint16_t id = le16(extra + pos);
        const size_t size = le16(extra + pos + 2);
        if (pos + 4 + size > length)
            return;
        if (id == 0x7075 && size >= 5 && extra[pos + 4] == 1 &&
            le32(extra + pos + 5) == crc32Of(e.rawName))
            e.unicodeName.assign(reinterpret_cast<const char*>(extra + pos + 9), size - 5);
        pos += 4 + size;
    }
}

// The central directory in libarchive's reading order (by local header offset, the first of
// two entries sharing an offset kept). Nothing when the file has no directory this reader
// takes (no ZIP, or ZIP64).
std::optional<std::vector<CentralEntry>> readCentralDirectory(const std::string& host) {
    std::vector<CentralEntry> entries;
    std::ifstream in(platform::pathFromUtf8(host), std::ios::binary);
    if (!in)
        return std::nullopt;
    in.seekg(0, std::ios::end);
    const int64_t size = in.tellg();
    const int64_t tailSize = std::min<int64_t>(size, 65535 + 22);
    if (tailSize < 22)
        return std::nullopt;
    std::string tail(static_cast<size_t>(tailSize), '\0');
    in.seekg(size - tailSize);
    in.read(tail.data(), tailSize);
    const auto* t = reinterpret_cast<const unsigned char*>(tail.data());
    int64_t eocd = -1;
    for (int64_t i = tailSize - 22; i >= 0; --i) {
        if (le32(t + i) == 0x06054b50) {
            eocd = i;
            break;
        }
    }
    if (eocd < 0)
        return std::nullopt;
    const uint16_t count = le16(t + eocd + 10);
    const uint32_t cdSize = le32(t + eocd + 12);
    const uint32_t cdOffset = le32(t + eocd + 16);
    if (count == 0xFFFF || cdSize == 0xFFFFFFFF || cdOffset == 0xFFFFFFFF)
        return std::nullopt;
    // Bytes prepended to the archive (a self-extractor stub) shift every offset.
    const int64_t eocdPos = size - tailSize + eocd;
    const int64_t correction = eocdPos - (static_cast<int64_t>(cdOffset) + cdSize);
    if (correction < 0)
        return std::nullopt;
    std::string cd(cdSize, '\0');
    in.seekg(static_cast<int64_t>(cdOffset) + correction);
    if (!in.read(cd.data(), cdSize))
        return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(cd.data());
    size_t pos = 0;
    while (pos + 46 <= cd.size() && le32(p + pos) == 0x02014b50) {
        CentralEntry e;
        e.madeBy = le16(p + pos + 4);
        e.flags = le16(p + pos + 8);
        e.method = le16(p + pos + 10);
        e.dosTime = le16(p + pos + 12);
        e.dosDate = le16(p + pos + 14);
        e.crc = le32(p + pos + 16);
        e.compressedSize = le32(p + pos + 20);
        e.originalSize = le32(p + pos + 24);
        const size_t nameLength = le16(p + pos + 28);
        const size_t extraLength = le16(p + pos + 30);
        const size_t commentLength = le16(p + pos + 32);
        e.externalAttributes = le32(p + pos + 38);
        e.localOffset = le32(p + pos + 42);
        if (pos + 46 + nameLength > cd.size())
            break;
        if (e.compressedSize == 0xFFFFFFFF || e.originalSize == 0xFFFFFFFF ||
            e.localOffset == 0xFFFFFFFF)
            return std::nullopt; // sizes in a ZIP64 field
        e.rawName.assign(cd, pos + 46, nameLength);
        if (pos + 46 + nameLength + extraLength <= cd.size())
            readUnicodeName(e, p + pos + 46 + nameLength, extraLength);
        entries.push_back(std::move(e));
        pos += 46 + nameLength + extraLength + commentLength;
    }
    if (entries.size() != count)
        return std::nullopt; // a directory that does not add up: leave it to libarchive
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const CentralEntry& a, const CentralEntry& b) { return a.localOffset < b.localOffset; });
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const CentralEntry& a, const CentralEntry& b) {
                                  return a.localOffset == b.localOffset;
                              }),
                  entries.end());
    return entries;
}

std::string methodText(uint16_t method) {
    switch (method) {
    case 0:
        return "Stored";
    case 1:
        return "Shrunk";
    case 6:
        return "Implode";
    case 8:
        return "Deflated";
    case 9:
        return "Deflt64";
    case 12:
        return "BZip2";
    case 14:
        return "LZMA";
    case 93:
        return "Zstd";
    case 95:
        return "XZ";
    case 99:
        return "AES";
    default:
        return "M" + std::to_string(method);
    }
}

uint32_t dosAttributesOf(const CentralEntry& e) {
    const unsigned host = e.madeBy >> 8;
    if (host == 3) { // Unix: the mode sits in the high half
        const uint32_t mode = e.externalAttributes >> 16;
        uint32_t attributes = ((mode & 0170000) == 0040000) ? 16u : 32u;
        if (mode && !(mode & 0200))
            attributes |= 1;
        return attributes;
    }
    return e.externalAttributes & 0x3F;
}

struct ArchiveHandle {
    archive* a = archive_read_new();
    ~ArchiveHandle() { archive_read_free(a); }
};

std::string errorText(archive* a) {
    const char* text = archive_error_string(a);
    return text ? text : "unknown error";
}

// Opens with only the seekable ZIP reader; false when the file is no ZIP archive.
bool openZip(ArchiveHandle& h, const std::string& host, bool decodeNames) {
    archive_read_support_format_zip_seekable(h.a);
    if (decodeNames)
        archive_read_set_options(h.a, "zip:hdrcharset=CP932");
#ifdef _WIN32
    // The narrow call would read the name in the ANSI code page.
    return archive_read_open_filename_w(h.a, platform::pathFromUtf8(host).c_str(), kBlockSize) ==
           ARCHIVE_OK;
#else
    return archive_read_open_filename(h.a, host.c_str(), kBlockSize) == ARCHIVE_OK;
#endif
}

EntryType typeOf(archive_entry* entry) {
    if (archive_entry_hardlink(entry))
        return EntryType::Hardlink;
    switch (archive_entry_filetype(entry)) {
    case 0: // permission bits only (Python's zipfile and others): a plain file
    case AE_IFREG:
        return EntryType::File;
    case AE_IFDIR:
        return EntryType::Folder;
    case AE_IFLNK:
        return EntryType::Symlink;
    default:
        return EntryType::Device;
    }
}

class ZipReader : public ArchiveReader {
public:
    explicit ZipReader(const std::string& host) {
        if (!openZip(handle_, host, false))
            throw FormatError("cannot open " + host + ": " + errorText(handle_.a));
    }

    bool next(size_t& index) override {
        archive_entry* entry = nullptr;
        const int r = archive_read_next_header(handle_.a, &entry);
        if (r == ARCHIVE_EOF)
            return false;
        if (r < ARCHIVE_WARN)
            throw FormatError("damaged ZIP archive: " + errorText(handle_.a));
        current_ = entry;
        index = next_++;
        return true;
    }

    int64_t currentSize() const override {
        return current_ && archive_entry_size_is_set(current_) ? archive_entry_size(current_) : -1;
    }
    bool currentIsFile() const override { return current_ && typeOf(current_) == EntryType::File; }

    void readData(const DataSink& sink) override {
        char buffer[kBlockSize];
        while (true) {
            const la_ssize_t n = archive_read_data(handle_.a, buffer, sizeof buffer);
            if (n < 0)
                throw EntryError(errorText(handle_.a));
            if (n == 0)
                return;
            sink(buffer, static_cast<size_t>(n));
        }
    }

private:
    ArchiveHandle handle_;
    archive_entry* current_ = nullptr;
    size_t next_ = 0;
};

bool isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t length = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// Names without the UTF-8 flag are CP932, unless the packer added a matching UTF-8 copy.
std::string decodedName(const CentralEntry& e) {
    if ((e.flags & 0x800) && isValidUtf8(e.rawName))
        return e.rawName;
    if (!e.unicodeName.empty() && isValidUtf8(e.unicodeName))
        return e.unicodeName;
    return platform::ansiToUtf8(e.rawName);
}

// As libarchive tells them: the Unix mode when made on Unix, else the DOS folder bit or a
// name ending in "/".
EntryType typeOf(const CentralEntry& e, const std::string& name) {
    const unsigned host = e.madeBy >> 8;
    const uint32_t mode = e.externalAttributes >> 16;
    if ((host == 3 || host == 19) && mode != 0 && (name.empty() || name.back() != '/')) {
        switch (mode & 0170000) {
        case 0: // permission bits only (Python's zipfile and others)
        case 0100000:
            return EntryType::File;
        case 0040000:
            return EntryType::Folder;
        case 0120000:
            return EntryType::Symlink;
        default:
            return EntryType::Device;
        }
    }
    if ((!name.empty() && name.back() == '/') || (host != 3 && (e.externalAttributes & 0x10)))
        return EntryType::Folder;
    return EntryType::File;
}

ArchiveRecord recordOf(const CentralEntry& e, size_t index) {
    ArchiveRecord record;
    record.index = index;
    record.path = slashSeparators(upToZeroByte(decodedName(e)));
    record.type = typeOf(e, record.path);
    finishRecordPath(record);
    record.originalSize = e.originalSize;
    record.compressedSize = e.compressedSize;
    record.ratio = ratioPerMille(e.compressedSize, e.originalSize);
    record.crc = e.crc;
    record.method = methodText(e.method);
    record.dosDate = e.dosDate;
    record.dosTime = e.dosTime;
    record.attributes =
        attributeText(dosAttributesOf(e) | (record.type == EntryType::Folder ? 16 : 0));
    return record;
}

class ZipArchiver : public Archiver {
public:
    ArchiveKind kind() const override { return ArchiveKind::Zip; }

    bool list(std::string_view archivePath, std::vector<ArchiveRecord>& records) const override {
        records.clear();
        const std::string host = platform::utf8Of(platform::hostPath(archivePath));
        if (const auto central = readCentralDirectory(host)) {
            records.reserve(central->size());
            for (const CentralEntry& e : *central)
                records.push_back(recordOf(e, records.size()));
            return true;
        }
        return listThroughLibarchive(host, records);
    }

    std::unique_ptr<ArchiveReader> open(std::string_view archivePath) const override {
        return std::make_unique<ZipReader>(platform::utf8Of(platform::hostPath(archivePath)));
    }

private:
    static bool listThroughLibarchive(const std::string& host,
                                      std::vector<ArchiveRecord>& records) {
        const platform::ThreadUtf8Locale utf8;
        ArchiveHandle h;
        if (!openZip(h, host, true))
            return false;
        archive_entry* entry = nullptr;
        while (true) {
            const int r = archive_read_next_header(h.a, &entry);
            if (r == ARCHIVE_EOF)
                break;
            if (r < ARCHIVE_WARN) {
                if (records.empty())
                    return false; // no ZIP archive, or one whose directory cannot be read
                throw FormatError("damaged ZIP archive after " + std::to_string(records.size()) +
                                  " entries: " + errorText(h.a));
            }
            ArchiveRecord record;
            record.index = records.size();
            record.type = typeOf(entry);
            // UTF-8 whatever the C library's locale: Windows' has none for UTF-8.
            const char* name = archive_entry_pathname_utf8(entry);
            // A name that does not decode keeps its place in the list.
            record.path = slashSeparators(name ? name : "?" + std::to_string(record.index));
            finishRecordPath(record);
            record.originalSize = static_cast<uint32_t>(archive_entry_size(entry));
            record.crcKnown = false; // libarchive checks the data itself
            dosDateTime(archive_entry_mtime(entry), record.dosDate, record.dosTime);
            record.attributes = attributeText(record.type == EntryType::Folder ? 16 : 32);
            records.push_back(std::move(record));
        }
        return true;
    }
};

} // namespace

const Archiver& zipArchiver() {
    static const ZipArchiver instance;
    return instance;
}

} // namespace vokari
