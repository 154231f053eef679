#pragma once

#include "installer/archiver.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vokari {

class ClsCfsArcList;

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
class ClsCfsArcFile {
public:
    ClsCfsArcFile();

    // Non-owning; the list owns its entries.
    ClsCfsArcList* ParentArcList = nullptr;
    // Folder names of the entry's folder, outermost first; empty at the archive root.
    std::vector<std::string> arrayPath;

    // The only way the path is set; derives the name parts and flags.
    void setFullPath(std::string_view path);

    const std::string& fullPath() const { return fullPath_; }
    const std::string& fileName() const { return fileName_; }
    const std::string& filePath() const { return filePath_; }
    const std::string& extention() const { return extention_; }

    int32_t originalSize() const { return originalSize_; }
    void setOriginalSize(int32_t pOrgSize) { originalSize_ = pOrgSize; }
    int32_t compressedSize() const { return compressedSize_; }
    void setCompressedSize(int32_t pCmpSize) { compressedSize_ = pCmpSize; }
    float compressRate() const { return compressRate_; }
    void setCompressRate(float pCmpRate) { compressRate_ = pCmpRate; }
    const LocalDateTime& modifyDate() const { return modifyDate_; }
    void setModifyDate(const LocalDateTime& pDate) { modifyDate_ = pDate; }
    const std::string& attrib() const { return attrib_; }
    void setAttrib(std::string pArcAttr) { attrib_ = std::move(pArcAttr); }
    const std::string& archiveType() const { return archiveType_; }
    void setArchiveType(std::string pArcType) { archiveType_ = std::move(pArcType); }
    const std::string& CRC() const { return crc_; }
    void setCRC(std::string pCrc) { crc_ = std::move(pCrc); }

    bool isArchive() const { return isArchive_; }
    bool isFolder() const { return isFolder_; }
    // Unpacking would replace a file: asked of the disk at every call.
    bool boolExist() const;

    bool boolInstall() const { return boolInstall_; }
    void setBoolInstall(bool pBoolInst) { boolInstall_ = pBoolInst; }
    const std::string& defaultInstallPath() const { return defaultInstallPath_; }
    void setDefaultInstallPath(std::string pInstPath) {
        defaultInstallPath_ = std::move(pInstPath);
    }
    const std::string& installPath() const { return installPath_; }
    void setInstallPath(std::string pInstPath) { installPath_ = std::move(pInstPath); }

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
    bool boolInstall_ = false;
    std::string defaultInstallPath_;
    std::string installPath_;
    std::string sourceArchive_;
    ArchiveKind sourceArchiveKind_ = ArchiveKind::None;
    size_t sourceIndex_ = 0;
    EntryType entryType_ = EntryType::File;
};

} // namespace vokari
