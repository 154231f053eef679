#pragma once

#include "installer/archiver.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vokari {

class CfsArcList;

// A date and time as the archive stored it: local time, no time zone.
struct LocalDateTime {
    int year = 1980;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    static LocalDateTime now();
    static LocalDateTime fromDos(uint16_t dosDate, uint16_t dosTime);
    // Seconds since 1970 (UTC) of this local time.
    int64_t toUnixTime() const;
    bool operator==(const LocalDateTime&) const = default;
};

// One entry of an add-on package: its path in the archive, the facts the archiver listed,
// the name parts derived from the path, and where it is to be unpacked.
class CfsArcFile {
public:
    CfsArcFile();

    // Non-owning; the list owns its entries.
    CfsArcList* parentArcList = nullptr;
    // Folder names of the entry's folder, outermost first; empty at the archive root.
    std::vector<std::string> arrayPath;

    // The only way the path is set; derives the name parts and flags.
    void setFullPath(std::string_view path);

    const std::string& fullPath() const { return fullPath_; }
    const std::string& fileName() const { return fileName_; }
    const std::string& filePath() const { return filePath_; }
    const std::string& extention() const { return extention_; }

    int32_t originalSize() const { return originalSize_; }
    void setOriginalSize(int32_t orgSize) { originalSize_ = orgSize; }
    int32_t compressedSize() const { return compressedSize_; }
    void setCompressedSize(int32_t cmpSize) { compressedSize_ = cmpSize; }
    float compressRate() const { return compressRate_; }
    void setCompressRate(float cmpRate) { compressRate_ = cmpRate; }
    const LocalDateTime& modifyDate() const { return modifyDate_; }
    void setModifyDate(const LocalDateTime& date) { modifyDate_ = date; }
    const std::string& attrib() const { return attrib_; }
    void setAttrib(std::string arcAttr) { attrib_ = std::move(arcAttr); }
    const std::string& archiveType() const { return archiveType_; }
    void setArchiveType(std::string arcType) { archiveType_ = std::move(arcType); }
    const std::string& crc() const { return crc_; }
    void setCRC(std::string crc) { crc_ = std::move(crc); }

    bool isArchive() const { return isArchive_; }
    bool isFolder() const { return isFolder_; }
    // Unpacking would replace a file: asked of the disk at every call.
    bool exists() const;

    bool shouldInstall() const { return shouldInstall_; }
    void setShouldInstall(bool install) { shouldInstall_ = install; }
    const std::string& defaultInstallPath() const { return defaultInstallPath_; }
    void setDefaultInstallPath(std::string instPath) { defaultInstallPath_ = std::move(instPath); }
    const std::string& installPath() const { return installPath_; }
    void setInstallPath(std::string instPath) { installPath_ = std::move(instPath); }

    // The archive file that holds the entry (the package, or a nested archive's copy in the
    // work directory), the library it needs, and where the entry sits in it.
    const std::string& sourceArchive() const { return sourceArchive_; }
    void setSourceArchive(std::string path) { sourceArchive_ = std::move(path); }
    ArchiveKind sourceArchiveKind() const { return sourceArchiveKind_; }
    void setSourceArchiveKind(ArchiveKind kind) { sourceArchiveKind_ = kind; }
    size_t sourceIndex() const { return sourceIndex_; }
    void setSourceIndex(size_t index) { sourceIndex_ = index; }
    EntryType entryType() const { return entryType_; }
    void setEntryType(EntryType type) { entryType_ = type; }

private:
    std::string fullPath_;
    std::string fileName_;
    std::string filePath_;
    std::string extention_;
    int32_t originalSize_ = 0;
    int32_t compressedSize_ = 0;
    float compressRate_ = 0;
    LocalDateTime modifyDate_;
    std::string attrib_;
    std::string archiveType_;
    std::string crc_;
    bool isArchive_ = false;
    bool isFolder_ = false;
    bool shouldInstall_ = false;
    std::string defaultInstallPath_;
    std::string installPath_;
    std::string sourceArchive_;
    ArchiveKind sourceArchiveKind_ = ArchiveKind::None;
    size_t sourceIndex_ = 0;
    EntryType entryType_ = EntryType::File;
};

// For each of `entries`, whether unpacking it would replace a file (exists()): the game's
// folders are listed once for all of them, not once per entry.
std::vector<bool> existingFiles(const std::vector<const CfsArcFile*>& entries);

} // namespace vokari
