#pragma once

#include "common/keyed_collection.h"
#include "installer/archiver.h"
#include "installer/cfs_arc_file.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vokari {

// Why an entry was not unpacked, for a window to word it; Other: see the error, if any.
enum class ExtractionProblem {
    Other,
    Damaged,        // its data fails the size or check sum the archive lists, or does not decode
    Changed,        // the archive no longer holds what it listed
    Link,           // refused: a symbolic link
    HardLink,       // refused: a hard link
    Device,         // refused: a device or other special file
    BadName,        // refused: no name, "." or "..", or a control character in it
    OutsideGame,    // refused: its destination is outside the game folder
    BadFolderName,  // refused: a control character in its destination's folder names
    BackupName,     // refused: named like the backup of a file the player keeps
    BackupNotAFile, // the backup of the file it replaces is no file: the file was left alone
    NoBackup,       // no backup of the file it replaces could be made: the file was left alone
    SameTarget,     // another entry of the run was unpacked to the same file
};

// An entry that was not unpacked, and why: in English, as a code, and as the error raised when
// one was (for a window to word it).
struct ExtractionFailure {
    std::string fullPath;
    std::string reason;
    std::exception_ptr error = nullptr;
    ExtractionProblem problem = ExtractionProblem::Other;
};

// Files an unpacking wrote, and existing files it left as they were (skipExisting).
struct ExtractionCounts {
    size_t written = 0;
    size_t skipped = 0;
};

class CfsArcFile;
// Asked before each entry is written, with how many of the entries to unpack are done; false
// stops the run there, leaving the entries not reached as they were.
using ExtractionProgress = std::function<bool(size_t done, size_t total, const CfsArcFile& next)>;

// One add-on package being installed into a game: the entries of the package and of the
// archives nested in it, where each belongs in the game folder, and unpacking them.
// Results are 0 or one of the codes of installer/arc_result.h.
class CfsArcList {
public:
    CfsArcList() = default;
    CfsArcList(const CfsArcList&) = delete;
    CfsArcList& operator=(const CfsArcList&) = delete;

    // Every entry read so far, archive by archive in listing order; key: fullPath.
    KeyedCollection<CfsArcFile> fileList;

    int16_t version() const { return version_; }
    // Stores the version and takes its game folder.
    void setVersion(int16_t version);
    int16_t minimumVersion() const { return minimumVersion_; }
    const std::string& cfsPath() const { return cfsPath_; }

    // Some entry is to be unpacked over an existing file.
    bool hasOverwriteFiles() const;
    bool shouldOverwrite() const { return shouldOverwrite_; }
    void setShouldOverwrite(bool overwrite) { shouldOverwrite_ = overwrite; }
    bool hasArchive() const { return hasArchive_; }
    // 0 none, 1 ZIP, 2 LHA: the archive read last.
    int16_t archiveFileType() const { return archiveFileType_; }

    // Reads one archive into the list and places its entries. `pArcType` 1 ZIP, 2 LHA, 0 by
    // the file's extension. A file that is no archive of its type reads as nothing (result 0);
    // readProblem() then says so.
    int32_t readArchive(intptr_t owner, std::string_view fileName, int16_t arcType = 0);
    // Unpacks one entry into the folder `pExtractPath` (a full path inside the game folder or
    // the work directory), replacing a file there.
    int32_t extractArchive(intptr_t owner, std::string_view filePath, std::string_view extractPath);
    // Unpacks every placed entry into the game folder, existing files only with shouldOverwrite,
    // each replaced file first copied once to a ".bak" backup. Every entry that can be
    // unpacked is; the others are in extractionFailures() and the result is kArcEntriesFailed.
    // `progress`, when given, is asked before each entry and may stop the run there: the
    // result is then kArcStopped and the entries not reached are left as they were.
    int32_t extractArchives(intptr_t owner, const ExtractionProgress& progress = {});

    // Entries the last extractArchive / extractArchives did not unpack.
    const std::vector<ExtractionFailure>& extractionFailures() const { return failures_; }
    // Temporary files a killed run had left in the folders the last unpacking wrote to, and
    // that it removed.
    size_t leftoversRemoved() const { return leftovers_; }
    // Files the last extractArchives wrote, and existing files it left as they were.
    const ExtractionCounts& extractionCounts() const { return counts_; }
    // Why the last ReadArchive read nothing or failed; empty when it read the archive.
    const std::string& readProblem() const { return readProblem_; }
    // The same as an error (NotAnArchiveError, IoError, FormatError, KeyError, ...); null when
    // it read the archive.
    std::exception_ptr readError() const { return readError_; }

private:
    void addToFileList(std::vector<CfsArcFile>& files);

    int16_t version_ = 0;
    std::string cfsPath_;
    int16_t minimumVersion_ = 1;
    bool shouldOverwrite_ = false;
    bool hasArchive_ = false;
    int16_t archiveFileType_ = 0;
    std::string archiveFolder_;
    std::string archiveName_;
    std::vector<ExtractionFailure> failures_;
    size_t leftovers_ = 0;
    ExtractionCounts counts_;
    std::string readProblem_;
    std::exception_ptr readError_;
};

} // namespace vokari
