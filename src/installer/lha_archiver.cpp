#include "installer/archiver.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <lhasa.h>
#include <vector>

// LHA through lhasa, which decodes every method of the era and skips self-extractor stubs.
// lhasa tidies names (backslashes, all-capitals, ".." folders); the listing must show them as
// packed, so the name is taken from the raw header and decoded from CP932 here.
namespace vokari {
namespace {

using namespace archive_detail;

// The file behind lhasa's input stream, buffered here so that skipping the data of small
// entries costs no system call, with what we need to tell a clean end from damage.
struct Source {
    platform::FileReader file;
    std::vector<char> buffer = std::vector<char>(1 << 16);
    size_t begin = 0; // unread bytes of the buffer: [begin, end)
    size_t end = 0;
    int64_t position = 0;     // of the next byte handed out
    int64_t headerStart = -1; // where the last header read began
    bool expectHeader = false;

    static int read(void* handle, void* out, size_t length) {
        auto* s = static_cast<Source*>(handle);
        if (s->expectHeader) {
            s->headerStart = s->position;
            s->expectHeader = false;
        }
        size_t done = 0;
        while (done < length) {
            if (s->begin == s->end) {
                const int64_t n = s->file.read(s->buffer.data(), s->buffer.size());
                if (n < 0)
                    return done > 0 ? static_cast<int>(done) : -1;
                if (n == 0)
                    break;
                s->begin = 0;
                s->end = static_cast<size_t>(n);
            }
            const size_t take = std::min(length - done, s->end - s->begin);
            std::memcpy(static_cast<char*>(out) + done, s->buffer.data() + s->begin, take);
            s->begin += take;
            done += take;
        }
        s->position += static_cast<int64_t>(done);
        return static_cast<int>(done);
    }
    static int skip(void* handle, size_t bytes) {
        auto* s = static_cast<Source*>(handle);
        const size_t buffered = s->end - s->begin;
        if (bytes <= buffered) {
            s->begin += bytes;
        } else {
            if (!s->file.skip(static_cast<int64_t>(bytes - buffered)))
                return 0;
            s->begin = s->end = 0;
        }
        s->position += static_cast<int64_t>(bytes);
        return 1;
    }
    static void close(void*) {}

    // A header that failed to read is the end when nothing, or the end mark 0, stood there.
    bool endedCleanly() const {
        if (headerStart < 0)
            return true;
        char c = 0;
        return file.readAt(&c, 1, headerStart) != 1 || c == 0;
    }
};

const LHAInputStreamType kSourceType = {&Source::read, &Source::skip, &Source::close};

class LhaHandle {
public:
    explicit LhaHandle(const std::string& host) {
        openError_ = source_.file.open(platform::pathFromUtf8(host));
        if (openError_)
            return;
        stream_ = lha_input_stream_new(&kSourceType, &source_);
        if (stream_)
            reader_ = lha_reader_new(stream_);
        if (reader_)
            lha_reader_set_dir_policy(reader_, LHA_READER_DIR_PLAIN);
    }
    ~LhaHandle() {
        if (reader_)
            lha_reader_free(reader_);
        if (stream_)
            lha_input_stream_free(stream_);
    }
    LhaHandle(const LhaHandle&) = delete;
    LhaHandle& operator=(const LhaHandle&) = delete;

    bool isOpen() const { return reader_ != nullptr; }
    int openError() const { return openError_; } // errno when the file did not open
    LHAReader* reader() { return reader_; }

    LHAFileHeader* next() {
        source_.expectHeader = true;
        LHAFileHeader* header = lha_reader_next_file(reader_);
        source_.expectHeader = false;
        return header;
    }
    bool endedCleanly() { return source_.endedCleanly(); }

private:
    Source source_;
    LHAInputStream* stream_ = nullptr;
    LHAReader* reader_ = nullptr;
    int openError_ = 0;
};

// The extended headers of a level 1, 2 or 3 header: type byte and data.
template <typename Visit> void visitExtendedHeaders(const LHAFileHeader& h, Visit visit) {
    size_t offset;
    size_t fieldSize = 2;
    switch (h.header_level) {
    case 1:
        offset = h.raw_data[0];
        break;
    case 2:
        offset = 24;
        break;
    case 3:
        offset = 28;
        fieldSize = 4;
        break;
    default:
        return;
    }
    while (offset + fieldSize <= h.raw_data_len) {
        const size_t length =
            fieldSize == 4 ? le32(h.raw_data + offset) : le16(h.raw_data + offset);
        if (length < fieldSize + 1 || offset + length + fieldSize > h.raw_data_len)
            break;
        const uint8_t* ext = h.raw_data + offset + fieldSize;
        visit(ext[0], ext + 1, length - fieldSize - 1);
        offset += length;
    }
}

std::string separatorsFromFF(std::string bytes) {
    for (char& c : bytes)
        if (static_cast<unsigned char>(c) == 0xFF)
            c = '/';
    return bytes;
}

// Path as packed (CP932 bytes, "/" between folders), DOS attributes and DOS time stamp.
struct RawFacts {
    std::string path;
    uint32_t dosAttributes = 32;
    bool haveDosStamp = false;
    uint16_t dosDate = 0;
    uint16_t dosTime = 0;
};

RawFacts rawFacts(const LHAFileHeader& h) {
    RawFacts facts;
    std::string name;
    std::string folder;
    bool haveName = false;
    if (h.header_level <= 1 && h.raw_data_len >= 22) {
        const size_t length = h.raw_data[21];
        if (22 + length <= h.raw_data_len) {
            name.assign(reinterpret_cast<const char*>(h.raw_data + 22), length);
            haveName = true;
        }
        facts.dosAttributes = h.raw_data[19];
        facts.dosTime = le16(h.raw_data + 15);
        facts.dosDate = le16(h.raw_data + 17);
        facts.haveDosStamp = true;
    }
    visitExtendedHeaders(h, [&](uint8_t type, const uint8_t* data, size_t length) {
        const std::string text(reinterpret_cast<const char*>(data), length);
        if (type == 0x01) {
            name = text;
            haveName = true;
        } else if (type == 0x02) {
            folder = text;
        } else if (type == 0x40 && length >= 2) {
            facts.dosAttributes = le16(data);
        }
    });
    if (!haveName && h.filename)
        name = h.filename;
    folder = separatorsFromFF(std::move(folder));
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    facts.path = folder + separatorsFromFF(std::move(name));
    return facts;
}

bool isDirectoryMethod(const LHAFileHeader& h) {
    return std::string_view(h.compress_method) == LHA_COMPRESS_TYPE_DIR;
}

ArchiveRecord recordOf(const LHAFileHeader& h, size_t index) {
    ArchiveRecord record;
    record.index = index;
    const RawFacts facts = rawFacts(h);
    record.path = slashSeparators(platform::ansiToUtf8(upToZeroByte(facts.path)));
    if (isDirectoryMethod(h)) {
        record.type = h.symlink_target ? EntryType::Symlink : EntryType::Folder;
        if (record.type == EntryType::Symlink) {
            // lhasa split "name|target"; the listing shows the link's own name
            const size_t bar = record.path.find('|');
            if (bar != std::string::npos)
                record.path.erase(bar);
        }
    }
    finishRecordPath(record);
    record.originalSize = static_cast<uint32_t>(h.length);
    record.compressedSize = static_cast<uint32_t>(h.compressed_length);
    record.ratio = ratioPerMille(h.compressed_length, h.length);
    record.crc = h.crc;
    record.method = h.compress_method;
    if (facts.haveDosStamp) {
        record.dosDate = facts.dosDate;
        record.dosTime = facts.dosTime;
    } else {
        dosDateTime(h.timestamp, record.dosDate, record.dosTime);
    }
    record.attributes = attributeText(record.type == EntryType::Folder ? (facts.dosAttributes | 16)
                                                                       : facts.dosAttributes);
    return record;
}

// CRC-16 as LHA computes it (polynomial 0xA001, reflected).
class Crc16 {
public:
    void add(const char* data, size_t size) {
        static const std::array<uint16_t, 256> table = [] {
            std::array<uint16_t, 256> t{};
            for (unsigned i = 0; i < 256; ++i) {
                uint16_t r = static_cast<uint16_t>(i);
                for (int j = 0; j < 8; ++j)
                    r = (r & 1) ? static_cast<uint16_t>((r >> 1) ^ 0xA001)
                                : static_cast<uint16_t>(r >> 1);
                t[i] = r;
            }
            return t;
        }();
        for (size_t i = 0; i < size; ++i)
            value_ = static_cast<uint16_t>(table[(value_ ^ static_cast<uint8_t>(data[i])) & 0xFF] ^
                                           (value_ >> 8));
    }
    uint16_t value() const { return value_; }

private:
    uint16_t value_ = 0;
};

class LhaReader : public ArchiveReader {
public:
    explicit LhaReader(const std::string& host) : handle_(host) {
        if (!handle_.isOpen())
            throw IoError(FileAction::Read, host, handle_.openError());
    }

    bool next(size_t& index) override {
        current_ = handle_.next();
        if (!current_) {
            if (!handle_.endedCleanly())
                throw FormatError("damaged LHA archive");
            return false;
        }
        index = next_++;
        return true;
    }

    int64_t currentSize() const override {
        return current_ ? static_cast<int64_t>(current_->length) : -1;
    }
    bool currentIsFile() const override { return current_ && !isDirectoryMethod(*current_); }

    void readData(const DataSink& sink) override {
        if (!current_)
            throw EntryError("no entry");
        Crc16 crc;
        size_t total = 0;
        char buffer[65536];
        while (true) {
            const size_t n = lha_reader_read(handle_.reader(), buffer, sizeof buffer);
            if (n == 0)
                break;
            crc.add(buffer, n);
            sink(buffer, n);
            total += n;
        }
        if (total != current_->length) {
            if (total == 0 && !lha_decoder_for_name(current_->compress_method))
                throw EntryError(std::string("cannot decode the method ") +
                                 current_->compress_method);
            throw EntryError("data ends early (" + std::to_string(total) + " of " +
                             std::to_string(current_->length) + " bytes)");
        }
        if (crc.value() != current_->crc)
            throw EntryError("CRC error");
    }

private:
    LhaHandle handle_;
    LHAFileHeader* current_ = nullptr;
    size_t next_ = 0;
};

class LhaArchiver : public Archiver {
public:
    ArchiveKind kind() const override { return ArchiveKind::Lha; }

    bool list(std::string_view archivePath, std::vector<ArchiveRecord>& records) const override {
        records.clear();
        LhaHandle handle(platform::utf8Of(platform::hostPath(archivePath)));
        if (!handle.isOpen())
            return false;
        while (LHAFileHeader* header = handle.next())
            records.push_back(recordOf(*header, records.size()));
        if (records.empty())
            return false;
        if (!handle.endedCleanly())
            throw FormatError("damaged LHA archive after " + std::to_string(records.size()) +
                              " entries");
        return true;
    }

    std::unique_ptr<ArchiveReader> open(std::string_view archivePath) const override {
        return std::make_unique<LhaReader>(platform::utf8Of(platform::hostPath(archivePath)));
    }
};

} // namespace

const Archiver& lhaArchiver() {
    static const LhaArchiver instance;
    return instance;
}

} // namespace vokari
