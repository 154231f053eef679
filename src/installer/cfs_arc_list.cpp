#include "installer/cfs_arc_list.h"

#include "common/file_helpers.h"
#include "frame/installation.h"
#include "installer/arc_extraction.h"
#include "installer/arc_placement.h"
#include "installer/arc_result.h"
#include "journal/change_journal.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/folder_listings.h"
#include "platform/folder_lock.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/text.h"

#include <algorithm>
#include <unordered_set>

namespace vokari {
namespace {

std::string upperExtension(std::string_view path) {
    std::string x = fileExtension(path);
    for (char& c : x)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return x;
}

// Keeps `error` as the reason a read failed, in both forms.
template <class E> void keepProblem(const E& error, std::string& text, std::exception_ptr& kept) {
    text = error.what();
    kept = std::make_exception_ptr(error);
}

int32_t codeOf(const std::exception& e) {
    if (dynamic_cast<const KeyError*>(&e))
        return kArcDuplicateEntry;
    if (dynamic_cast<const FormatError*>(&e))
        return kArcDamagedArchive;
    if (dynamic_cast<const IoError*>(&e))
        return kArcIoError;
    return kArcOtherError;
}

// `path` lies in `folder` (both Windows paths; letter case and separators aside).
bool isInside(std::string_view path, std::string_view folder) {
    if (folder.empty() || path.empty())
        return false;
    std::string p = replaceAll(path, "/", "\\");
    std::string f = replaceAll(folder, "/", "\\");
    if (f.back() != '\\')
        f += '\\';
    if (p.back() != '\\')
        p += '\\';
    return startsWithNoCase(p, f) &&
           isContainedRelativeFolder(std::string_view(p).substr(f.size()));
}

} // namespace

void CfsArcList::setVersion(int16_t version) {
    version_ = version;
    cfsPath_ = gameFolder(version);
}

bool CfsArcList::hasOverwriteFiles() const {
    const platform::ListingScope listings;
    for (const auto& item : fileList)
        if (item.value.shouldInstall() && item.value.exists())
            return true;
    return false;
}

int32_t CfsArcList::readArchive(intptr_t, std::string_view path, int16_t arcType) {
    readProblem_.clear();
    readError_ = nullptr;
    // A host path (from a file dialog or the command line) is named the Windows way.
    std::string fileName(path);
    if (!fileName.empty() && fileName[0] == '/')
        fileName = platform::windowsPath(platform::pathFromUtf8(fileName));

    int16_t type = arcType;
    if (type == 0) {
        const std::string x = upperExtension(fileName);
        if (x == "ZIP") {
            type = 1;
        } else if (x == "LZH") {
            type = 2;
        } else if (x != "EXE") {
            archiveFileType_ = 0;
            keepProblem(FormatError("not a ZIP, LZH or EXE file"), readProblem_, readError_);
            return kArcOk;
        }
    }

    try {
        std::vector<ArchiveRecord> records;
        ArchiveKind kind = type == 2 ? ArchiveKind::Lha : ArchiveKind::Zip;
        bool opened = false;
        if (type == 1 || type == 2) {
            opened = archiverFor(kind).list(fileName, records);
        } else {
            // Self-extracting: ZIP first; a stub the ZIP reader cannot use may still hold LHA.
            std::string zipProblem;
            try {
                opened = archiverFor(ArchiveKind::Zip).list(fileName, records) && !records.empty();
            } catch (const FormatError& e) {
                zipProblem = e.what();
                opened = false;
            }
            if (opened) {
                type = 1;
            } else {
                kind = ArchiveKind::Lha;
                opened = archiverFor(kind).list(fileName, records);
                if (opened)
                    type = 2;
                else if (!zipProblem.empty())
                    throw FormatError(zipProblem);
                else
                    type = 0;
            }
        }
        if (!opened) {
            records.clear();
            // A file that cannot be read is not said to be no archive.
            const std::filesystem::path host = platform::hostPath(fileName);
            if (const int err = platform::readOpenError(host))
                keepProblem(IoError(FileAction::Read, platform::displayPath(fileName), err),
                            readProblem_, readError_);
            else
                keepProblem(NotAnArchiveError(type == 0 ? ArchiveKind::None : kind), readProblem_,
                            readError_);
        }

        std::vector<CfsArcFile> read;
        read.reserve(records.size());
        for (ArchiveRecord& r : records) {
            CfsArcFile& file = read.emplace_back();
            file.parentArcList = this;
            file.setSourceArchive(fileName);
            file.setSourceArchiveKind(kind);
            file.setSourceIndex(r.index);
            file.setEntryType(r.type);
            file.setFullPath(r.path);
            file.setOriginalSize(static_cast<int32_t>(r.originalSize));
            file.setCompressedSize(static_cast<int32_t>(r.compressedSize));
            file.setCompressRate(static_cast<float>(r.ratio) / 10.0f);
            file.setModifyDate(LocalDateTime::fromDos(r.dosDate, r.dosTime));
            file.setAttrib(std::move(r.attributes));
            file.setArchiveType(std::move(r.method));
            file.setCRC(r.crcKnown ? std::to_string(static_cast<int32_t>(r.crc)) : std::string());
            if (file.isArchive())
                hasArchive_ = true;
        }
        splitPath(fileName, archiveFolder_, archiveName_);
        std::vector<CfsArcFile*> entries;
        entries.reserve(read.size());
        for (CfsArcFile& file : read)
            entries.push_back(&file);
        // A package refused for a repeated path asks for no version.
        int16_t minimumVersion = minimumVersion_;
        const platform::ListingScope listings; // the finder reads the game folder once
        placeArchiveEntries(entries, archiveName_, version_, cfsPath_, minimumVersion);
        addToFileList(read);
        minimumVersion_ = minimumVersion;
        archiveFileType_ = type;
        return kArcOk;
    } catch (const std::exception& e) {
        readProblem_ = e.what();
        readError_ = std::current_exception();
        return codeOf(e);
    }
}

// A path listed twice in the archive discards all of it; a path already in the list from an
// earlier archive keeps the entries added before it.
void CfsArcList::addToFileList(std::vector<CfsArcFile>& files) {
    size_t added = 0;
    std::string key;
    try {
        for (CfsArcFile& file : files) {
            key = file.fullPath();
            fileList.add(key, std::move(file));
            ++added;
        }
    } catch (const KeyError&) {
        // The entries of this archive are the last ones of the list, and the rest here.
        std::vector<std::string> ours;
        auto it = fileList.end();
        for (size_t i = 0; i < added; ++i)
            ours.push_back((--it)->key);
        std::unordered_set<std::string> seen;
        for (const std::string& k : ours)
            seen.insert(asciiLower(k));
        bool repeated = !seen.insert(asciiLower(key)).second;
        for (size_t i = added + 1; i < files.size() && !repeated; ++i)
            repeated = !seen.insert(asciiLower(files[i].fullPath())).second;
        if (repeated)
            for (const std::string& k : ours)
                fileList.remove(k);
        throw;
    }
}

int32_t CfsArcList::extractArchive(intptr_t, std::string_view filePath,
                                   std::string_view extractPath) {
    failures_.clear();
    if (!fileList.keyExists(filePath)) {
        failures_.push_back({std::string(filePath), "no such entry"});
        return kArcUnknownEntry;
    }
    const CfsArcFile& entry = fileList.item(filePath);
    if (entry.sourceArchiveKind() == ArchiveKind::None)
        return kArcOk;
    std::string folder(extractPath);
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    if (!isInside(folder, cfsPath_) && !isInside(folder, workDirectory())) {
        failures_.push_back({entry.fullPath(), "refused: destination outside the game folder",
                             nullptr, ExtractionProblem::OutsideGame});
        return kArcBadDestination;
    }
    try {
        if (isInside(folder, workDirectory()))
            ensureWorkDirectory();
        const size_t before = platform::leftoversRemoved();
        failures_ = runExtraction({ExtractionStep{&entry, folder, false, false}}, {},
                                  isInside(folder, cfsPath_) ? cfsPath_ : std::string());
        leftovers_ = platform::leftoversRemoved() - before;
    } catch (const std::exception& e) {
        failures_.push_back({entry.fullPath(), e.what(), std::current_exception()});
        return codeOf(e);
    }
    return failures_.empty() ? kArcOk : kArcEntriesFailed;
}

int32_t CfsArcList::extractArchives(intptr_t, const ExtractionProgress& progress) {
    failures_.clear();
    counts_ = {};
    std::vector<ExtractionStep> steps;
    std::vector<ExtractionFailure> refused;
    for (const auto& item : fileList) {
        const CfsArcFile& e = item.value;
        if (!e.shouldInstall() || e.isFolder())
            continue;
        if (cfsPath_.empty() || !isContainedRelativeFolder(e.installPath())) {
            const bool badName = hasControlCharacter(e.installPath());
            refused.push_back(
                {e.fullPath(),
                 badName ? "refused: control character in a folder name"
                         : "refused: destination outside the game folder",
                 nullptr,
                 badName ? ExtractionProblem::BadFolderName : ExtractionProblem::OutsideGame});
            continue;
        }
        steps.push_back(ExtractionStep{&e, joinPath(cfsPath_, e.installPath()), !shouldOverwrite_,
                                       true, isAircraftOwnFolder(e.installPath())});
        if (steps.back().folder.back() != '\\')
            steps.back().folder += '\\';
    }
    bool stopped = false;
    ExtractionProgress watched;
    if (progress)
        watched = [&](size_t done, size_t total, const CfsArcFile& next) {
            stopped = !progress(done, total, next);
            return !stopped;
        };
    try {
        // The package, as the history names the install: the archive read first.
        const std::string package = fileList.count() > 0
                                        ? lastPathElement(fileList.begin()->value.sourceArchive())
                                        : std::string();
        const platform::FolderLock lock(platform::hostPath(cfsPath_));
        const JournalScope journal(platform::hostPath(cfsPath_), "install", version_, package);
        const size_t before = platform::leftoversRemoved();
        failures_ = runExtraction(steps, watched, cfsPath_, &counts_);
        leftovers_ = platform::leftoversRemoved() - before;
    } catch (const std::exception& e) {
        failures_.push_back({"", e.what(), std::current_exception()});
    }
    failures_.insert(failures_.begin(), refused.begin(), refused.end());
    if (stopped)
        return kArcStopped;
    return failures_.empty() ? kArcOk : kArcEntriesFailed;
}

} // namespace vokari
