#include "installer/archiver.h"

#include "platform/error.h"
#include "platform/local_time.h"

#include <ctime>

namespace vokari {

NotAnArchiveError::NotAnArchiveError(ArchiveKind kind)
    : FormatError(kind == ArchiveKind::Zip   ? "cannot be opened as a ZIP archive"
                  : kind == ArchiveKind::Lha ? "cannot be opened as a LHA archive"
                                             : "no ZIP or LHA archive found in the file"),
      kind_(kind) {}

const Archiver& zipArchiver();
const Archiver& lhaArchiver();

const Archiver& archiverFor(ArchiveKind kind) {
    switch (kind) {
    case ArchiveKind::Zip:
        return zipArchiver();
    case ArchiveKind::Lha:
        return lhaArchiver();
    default:
        throw ArgumentError("no archiver for this archive type");
    }
}

namespace archive_detail {

std::string attributeText(uint32_t dosAttributes) {
    static constexpr struct {
        uint32_t bit;
        char letter;
    } flags[] = {{1, 'R'}, {2, 'H'}, {4, 'S'}, {16, 'D'}, {32, 'A'}};
    std::string text;
    for (const auto& f : flags)
        text += (dosAttributes & f.bit) ? f.letter : '-';
    return text;
}

void dosDateTime(int64_t unixTime, uint16_t& dosDate, uint16_t& dosTime) {
    const std::time_t t = static_cast<std::time_t>(unixTime);
    std::tm local{};
    if (!platform::localTime(t, local) || local.tm_year < 80) {
        dosDate = (1 << 5) | 1; // 1980-01-01, the earliest a DOS stamp can say
        dosTime = 0;
        return;
    }
    dosDate = static_cast<uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) |
                                    local.tm_mday);
    dosTime =
        static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
}

int16_t ratioPerMille(uint64_t compressed, uint64_t original) {
    if (original == 0)
        return 0;
    const uint64_t ratio = compressed * 1000 / original;
    return static_cast<int16_t>(ratio > 32767 ? 32767 : ratio);
}

std::string slashSeparators(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string upToZeroByte(std::string name) {
    const size_t zero = name.find('\0');
    if (zero != std::string::npos)
        name.erase(zero);
    return name;
}

void finishRecordPath(ArchiveRecord& record) {
    // "/" alone, or a file's path ending in one: the name was empty or began with a zero byte.
    if (record.path.empty() || record.path == "/" ||
        (record.type != EntryType::Folder && record.path.back() == '/')) {
        record.type = EntryType::Nameless;
        record.path = "(entry " + std::to_string(record.index + 1) + " has no name)";
    } else if (record.type == EntryType::Folder && record.path.back() != '/') {
        record.path += '/';
    }
}

} // namespace archive_detail
} // namespace vokari
