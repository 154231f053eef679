#pragma once

#include "platform/error.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The two archiver libraries behind one interface: ZIP on libarchive, LHA on lhasa. Both list
// an archive's entries with the facts the installer shows and read entry data in one pass;
// neither ever writes to the disk itself.
namespace vokari {

// Values as the installer stores them (archiveFileType): 0 none, 1 ZIP, 2 LHA.
enum class ArchiveKind : int16_t { None = 0, Zip = 1, Lha = 2 };

// Nameless: the name is empty, or nothing is left of it before its first zero byte; such an
// entry is listed under a stand-in and never unpacked.
enum class EntryType { File, Folder, Symlink, Hardlink, Device, Nameless };

// One listed entry.
struct ArchiveRecord {
    std::string path;          // UTF-8, "/" between folders, a folder ends in "/"
    uint32_t originalSize = 0; // uncompressed
    uint32_t compressedSize = 0;
    uint32_t crc = 0;     // CRC-32 for ZIP, CRC-16 for LHA
    bool crcKnown = true; // false when the listing had none to give
    int16_t ratio = 0;    // compressed / original, per mille
    uint16_t dosDate = 0; // local date and time in MS-DOS form
    uint16_t dosTime = 0;
    std::string attributes; // "RHSDA" with "-" for a flag not set
    std::string method;     // "Deflated", "-lh5-", ...
    EntryType type = EntryType::File;
    size_t index = 0; // position in reading order; how extraction finds it again
};

// A file that holds no archive of the kind looked for; `kind` None: neither a ZIP nor an LHA
// archive (a self-extracting file).
class NotAnArchiveError : public FormatError {
public:
    explicit NotAnArchiveError(ArchiveKind kind);
    ArchiveKind kind() const { return kind_; }

private:
    ArchiveKind kind_;
};

// Reading an entry's data failed; the text says why.
class EntryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using DataSink = std::function<void(const char* data, size_t size)>;

// One pass over an archive, entry by entry in reading order.
class ArchiveReader {
public:
    virtual ~ArchiveReader() = default;
    // Moves to the next entry; false at the end. Throws FormatError when the archive is
    // damaged.
    virtual bool next(size_t& index) = 0;
    // What the library says of the current entry, to check it is the one listed: its size
    // (-1 when unknown) and whether it is a plain file.
    virtual int64_t currentSize() const = 0;
    virtual bool currentIsFile() const = 0;
    // Streams the current entry's data into `sink`. Throws EntryError when it cannot be
    // decoded or fails its check sum.
    virtual void readData(const DataSink& sink) = 0;
};

class Archiver {
public:
    virtual ~Archiver() = default;
    virtual ArchiveKind kind() const = 0;
    // Lists `archivePath` (Windows or host path). False, with nothing listed, when the file
    // cannot be opened as this kind of archive. Throws FormatError when it is damaged after
    // the first entry.
    virtual bool list(std::string_view archivePath, std::vector<ArchiveRecord>& records) const = 0;
    // Opens a pass over the archive. Throws IoError or FormatError.
    virtual std::unique_ptr<ArchiveReader> open(std::string_view archivePath) const = 0;
};

// The archiver of a kind; throws ArgumentError for ArchiveKind::None.
const Archiver& archiverFor(ArchiveKind kind);

// Shared by both archivers.
namespace archive_detail {
// "RHSDA" text of MS-DOS attribute bits.
std::string attributeText(uint32_t dosAttributes);
// MS-DOS date and time of a time stamp, in local time.
void dosDateTime(int64_t unixTime, uint16_t& dosDate, uint16_t& dosTime);
int16_t ratioPerMille(uint64_t compressed, uint64_t original);
// Backslashes (old Windows packers) separate folders too.
std::string slashSeparators(std::string path);
// A name as stored, up to its first zero byte.
std::string upToZeroByte(std::string name);
// Once path and type are set: a folder's path ends in "/"; an entry without a name becomes
// Nameless, listed as "(entry N has no name)".
void finishRecordPath(ArchiveRecord& record);
// Little-endian fields of the archives' headers.
inline uint16_t le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
} // namespace archive_detail

} // namespace vokari
