#include "installer/arc_extraction.h"

#include "common/file_helpers.h"
#include "installer/archiver.h"
#include "installer/new_file_worker.h"
#include "platform/change_observer.h"
#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/folder_listings.h"
#include "platform/folder_lock.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/text.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <zlib.h>

namespace fs = std::filesystem;

namespace vokari {
namespace {

enum class Kind { File, Link, DanglingLink, Other };

// An entry failure whose kind is known here; other EntryErrors are data that does not decode.
class KnownProblem : public EntryError {
public:
    KnownProblem(ExtractionProblem problem, const std::string& what)
        : EntryError(what), problem_(problem) {}
    ExtractionProblem problem() const { return problem_; }

private:
    ExtractionProblem problem_;
};

// A file left alone because no backup of it could be made; it nests why.
class NoBackupError : public IoError {
public:
    using IoError::IoError;
};

ExtractionProblem problemOf(const std::exception& e) {
    if (const auto* known = dynamic_cast<const KnownProblem*>(&e))
        return known->problem();
    if (dynamic_cast<const EntryError*>(&e))
        return ExtractionProblem::Damaged;
    if (dynamic_cast<const NoBackupError*>(&e))
        return ExtractionProblem::NoBackup;
    return ExtractionProblem::Other;
}

// One destination folder. What is in it comes from the run's listings (read once, kept in step
// by the writers), so a name is found as hostPath finds it (the name as spelled, else the first
// that differs only in case) and the listing and unpacking agree on what exists.
struct Folder {
    fs::path host;
    std::string hostText; // the same as UTF-8, for the listings
    bool existed = false;
    std::shared_ptr<platform::FolderHandle> handle;         // opened for the first backup made here
    std::unordered_map<std::string, std::string> writtenBy; // name on disk -> entry of this run

    // The name on disk that a write of `name` meets, or nothing.
    std::optional<std::string> onDisk(const std::string& name) const {
        if (!existed)
            return std::nullopt;
        const auto found = platform::findListed(hostText, name);
        return found ? std::optional<std::string>(found->name) : std::nullopt;
    }
    Kind kindOf(const std::string& onDiskName) const {
        const auto found = platform::findListed(hostText, onDiskName);
        if (!found)
            return Kind::DanglingLink; // gone meanwhile: nothing to keep
        if (found->kind == platform::HostKind::Link)
            return found->target == platform::HostKind::None   ? Kind::DanglingLink
                   : found->target == platform::HostKind::File ? Kind::Link
                                                               : Kind::Other;
        return found->kind == platform::HostKind::File ? Kind::File : Kind::Other;
    }
    // A name this run gives, before the file has it: later entries meet it.
    void add(const std::string& name) const {
        platform::noteAdded(host / platform::pathFromUtf8(name), platform::HostKind::File);
    }
};

class Folders {
public:
    // `sweep`: the game folder's lock is held, so leftovers of a killed run may go.
    explicit Folders(bool sweep) : sweep_(sweep) {}

    Folder& get(const std::string& windowsFolder) {
        Folder& f = folders_[asciiLower(windowsFolder)];
        if (!f.existed) {
            // Resolved again until it exists, so a folder created meanwhile under another
            // spelling is found.
            f.host = platform::hostPath(windowsFolder);
            f.hostText = platform::utf8Of(f.host);
            size_t leftovers = 0;
            f.existed = platform::listFolder(f.hostText, sweep_, &leftovers);
        }
        return f;
    }

    void create(Folder& f) {
        if (f.existed)
            return;
        if (const int err = platform::createFoldersObserved(f.host))
            throw IoError(FileAction::CreateFolder, platform::utf8Of(f.host), err);
        f.existed = platform::listFolder(f.hostText, sweep_);
    }

private:
    bool sweep_;
    std::unordered_map<std::string, Folder> folders_;
};

// The CRC-32 the listing showed (kept as the text of a signed number).
std::optional<uint32_t> crcOf(const CfsArcFile& entry) {
    int64_t value = 0;
    const std::string& text = entry.crc();
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

// "NAME.bak" or "NAME.org" in any letter case: the stem NAME, else nothing.
std::optional<std::string> backupStem(const std::string& name) {
    if (name.size() <= 4)
        return std::nullopt;
    const std::string suffix = asciiLower(name.substr(name.size() - 4));
    if (suffix != ".bak" && suffix != ".org")
        return std::nullopt;
    return name.substr(0, name.size() - 4);
}

// New files are flushed to the disk together and then named: one flush per batch keeps a
// crash from leaving a named but empty file without paying for a flush per file.
constexpr size_t kBatchFiles = 1024;
// New files up to this size are written by the worker (NewFileWorker), whole.
constexpr uint32_t kWorkerFileBytes = 1 << 20;
constexpr int64_t kBatchBytes = int64_t(64) << 20;

// A file written under its temporary name, named with the batch: a new file, or one that
// replaces the player's, after the one-time backup of it when that is to be made.
struct StagedEntry {
    std::shared_ptr<NewFileWorker::Job> job; // a new file the worker writes, until it is written
    std::unique_ptr<platform::NewFileWriter> file;
    std::unique_ptr<platform::AtomicFileWriter> replacement;
    std::optional<platform::StagedCopy> backup;
    std::string fullPath;
    std::exception_ptr failure; // why it could not be named

    const fs::path& path() const { return file ? file->path() : replacement->path(); }
    void discardBackup() {
        if (backup)
            platform::discardCopy(*backup);
        backup.reset();
    }
};

// "no backup could be made" for the backup `backup`, failing with `err`.
[[noreturn]] void backupFailed(const fs::path& backup, int err) {
    try {
        throw IoError(FileAction::Write, platform::utf8Of(backup), err);
    } catch (const IoError& e) {
        std::throw_with_nested(NoBackupError(
            std::string("no backup could be made, file left as it was: ") + e.what()));
    }
}

class Extraction {
public:
    Extraction(std::vector<ExtractionFailure>& failures, const ExtractionProgress& progress,
               size_t total, bool sweep)
        : failures_(failures), progress_(progress), total_(total), folders_(sweep) {}

    // Sends the files written so far to the disk and names them once they are there, on a
    // thread of its own while the next batch is written; tells how the batch before ended.
    void commitStaged() {
        finishWritten();
        takeWorkersFiles();
        if (staged_.empty())
            return;
        std::vector<fs::path> files;
        for (const StagedEntry& s : staged_)
            files.push_back(s.path());
        writing_.swap(staged_);
        stagedBytes_ = 0;
        // The run's listings already hold the names.
        written_ = platform::runObserved([this, files = std::move(files)] {
            std::exception_ptr flushFailure;
            try {
                platform::flushFileSystems(files);
            } catch (const std::exception&) {
                flushFailure = std::current_exception();
            }
            for (StagedEntry& s : writing_) {
                try {
                    if (flushFailure)
                        std::rethrow_exception(flushFailure);
                    name(s);
                } catch (const std::exception&) {
                    s.failure = std::current_exception();
                }
                s.discardBackup();
            }
        });
    }

    // Every batch on the disk and named.
    void finish() {
        commitStaged();
        finishWritten();
    }

    // Entries of the package by where they go: a backup's name is the player's when its file
    // is in the package too.
    void planned(const ExtractionStep& step) {
        plannedNames_.insert(asciiLower(step.folder) + "|" + asciiLower(step.entry->fileName()));
    }

    // A step counted without being written (refused).
    void skip() { ++done_; }
    bool stopped() const { return stopped_; }
    const ExtractionCounts& counts() const { return counts_; }

    void runGroup(const std::string& archive, ArchiveKind kind,
                  const std::vector<const ExtractionStep*>& steps) {
        std::map<size_t, const ExtractionStep*> byIndex;
        for (const ExtractionStep* s : steps)
            byIndex.emplace(s->entry->sourceIndex(), s);
        try {
            auto reader = archiverFor(kind).open(archive);
            size_t index = 0;
            while (!byIndex.empty() && reader->next(index)) {
                auto it = byIndex.find(index);
                if (it == byIndex.end())
                    continue;
                const ExtractionStep& step = *it->second;
                if (progress_ && !progress_(done_, total_, *step.entry)) {
                    stopped_ = true;
                    return;
                }
                byIndex.erase(it);
                ++done_;
                try {
                    write(step, *reader);
                } catch (const std::exception& e) {
                    fail(step, e.what(), std::current_exception(), problemOf(e));
                }
            }
        } catch (const std::exception& e) {
            for (const auto& [index, step] : byIndex)
                fail(*step, e.what(), std::current_exception());
            return;
        }
        for (const auto& [index, step] : byIndex)
            fail(*step, "not found in the archive", nullptr, ExtractionProblem::Changed);
    }

private:
    // Waits for the worker's files of the batch being staged; those it could not write are
    // failures, and leave the batch.
    void takeWorkersFiles() {
        std::vector<StagedEntry> kept;
        kept.reserve(staged_.size());
        for (StagedEntry& s : staged_) {
            if (s.job) {
                worker_.wait(*s.job);
                if (s.job->failure) {
                    failStaged(s, s.job->failure);
                    continue;
                }
                s.file = std::move(s.job->file);
                s.job.reset();
            }
            kept.push_back(std::move(s));
        }
        staged_.swap(kept);
    }

    // Gives a staged entry, on the disk, its name.
    static void name(StagedEntry& s) {
        if (s.file) {
            s.file->commit();
            return;
        }
        // The backup is named first: the player's file is replaced only once its copy is there.
        if (s.backup) {
            const platform::StagedCopy backup = *s.backup;
            s.backup.reset();
            const fs::path path = backup.folder->path() / platform::pathFromUtf8(backup.name);
            int err = platform::commitCopy(backup);
            // Made meanwhile: kept when it is a file, as one found before is.
            if (std::error_code ec; err == EEXIST && fs::is_regular_file(path, ec))
                err = 0;
            if (err)
                backupFailed(path, err);
        }
        s.replacement->commit();
    }

    // Waits for the batch on its way to the disk and being named; counts what was named and
    // tells why each other entry was not.
    void finishWritten() {
        if (!written_.valid())
            return;
        written_.get();
        for (const StagedEntry& s : writing_) {
            if (s.failure)
                failStaged(s, s.failure);
            else
                ++counts_.written;
        }
        writing_.clear();
    }

    // Records `error` (an exception) as why the staged entry `s` was not written or named.
    void failStaged(const StagedEntry& s, const std::exception_ptr& error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            failures_.push_back({s.fullPath, e.what(), error, problemOf(e)});
        }
    }

    // Adds a written entry to the batch being staged, and sends the batch on when it is full.
    void addStaged(StagedEntry staged, int64_t bytes) {
        staged_.push_back(std::move(staged));
        stagedBytes_ += bytes;
        if (staged_.size() >= kBatchFiles || stagedBytes_ >= kBatchBytes)
            commitStaged();
    }

    void fail(const ExtractionStep& step, const std::string& reason,
              std::exception_ptr error = nullptr,
              ExtractionProblem problem = ExtractionProblem::Other) {
        failures_.push_back({step.entry->fullPath(), reason, std::move(error), problem});
    }

    void write(const ExtractionStep& step, ArchiveReader& reader) {
        const CfsArcFile& entry = *step.entry;
        // The archive must still hold what was listed at this place.
        const uint32_t listedSize = static_cast<uint32_t>(entry.originalSize());
        const int64_t size = reader.currentSize();
        if (!reader.currentIsFile() || (size >= 0 && size != listedSize))
            throw KnownProblem(ExtractionProblem::Changed,
                               "the archive has changed since it was read");
        const std::string& name = entry.fileName();
        Folder& folder = folders_.get(step.folder);
        if (const auto stem = backupStem(name)) {
            if (folder.onDisk(*stem) ||
                plannedNames_.count(asciiLower(step.folder) + "|" + asciiLower(*stem)))
                throw KnownProblem(ExtractionProblem::BackupName,
                                   "refused: named like the backup of " + *stem +
                                       ", which is the player's to keep");
        }
        std::optional<std::string> existing = folder.onDisk(name);
        if (const std::string_view twin = aircraftFileTwin(name);
            !existing && step.aircraftFolder && !twin.empty())
            existing = folder.onDisk(std::string(twin));
        const std::string onDisk = existing ? *existing : name;
        const fs::path target = folder.host / platform::pathFromUtf8(onDisk);
        if (existing) {
            if (const auto earlier = folder.writtenBy.find(onDisk);
                earlier != folder.writtenBy.end())
                throw KnownProblem(ExtractionProblem::SameTarget,
                                   "two entries unpack to " + platform::utf8Of(target) + " (" +
                                       earlier->second + " was unpacked there)");
            const Kind kind = folder.kindOf(onDisk);
            if (kind == Kind::Other)
                throw IoError(FileAction::Write, platform::utf8Of(target), EISDIR);
            // A link to nothing is no file to the game (the listing said "added"): it is
            // replaced whatever the answer about existing files, with nothing to back up.
            if (step.skipExisting && kind != Kind::DanglingLink) {
                ++counts_.skipped;
                return;
            }
        }
        folders_.create(folder);
        // Checked against the listing while it streams: an entry that inflates beyond its
        // declared size stops at once, and ZIP data must match the CRC the listing showed.
        const bool zip = entry.sourceArchiveKind() == ArchiveKind::Zip;
        const std::optional<uint32_t> listedCrc = zip ? crcOf(entry) : std::nullopt;
        uint64_t total = 0;
        uLong crc = ::crc32(0, nullptr, 0);
        auto check = [&](const char* data, size_t size) {
            total += size;
            if (total > listedSize)
                throw EntryError("the data is larger than the " + std::to_string(listedSize) +
                                 " bytes the archive lists");
            if (zip)
                crc = ::crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size));
        };
        auto verify = [&] {
            if (total != listedSize)
                throw EntryError("the data is " + std::to_string(total) +
                                 " bytes, the archive lists " + std::to_string(listedSize));
            if (listedCrc && static_cast<uint32_t>(crc) != *listedCrc)
                throw EntryError("the data does not match the CRC the archive lists");
        };
        const int64_t mtime = entry.modifyDate().toUnixTime();
        if (existing) {
            StagedEntry staged;
            staged.fullPath = entry.fullPath();
            struct Discard {
                StagedEntry& staged;
                ~Discard() { staged.discardBackup(); }
            } discard{staged};
            const Kind kind = folder.kindOf(onDisk);
            if (step.backup && kind != Kind::DanglingLink)
                staged.backup = stageBackup(folder, onDisk);
            // A link at the name is replaced by a regular file; what it pointed to stays.
            staged.replacement =
                std::make_unique<platform::AtomicFileWriter>(target, platform::LinkRule::Replace);
            reader.readData([&](const char* data, size_t size) {
                check(data, size);
                staged.replacement->write({data, size});
            });
            verify();
            staged.replacement->setModificationTime(mtime);
            staged.replacement->finish();
            const int64_t bytes = listedSize + (staged.backup ? staged.backup->size : 0);
            StagedEntry moved = std::move(staged);
            staged.backup.reset(); // moved: the batch discards it when it is not named
            addStaged(std::move(moved), bytes);
        } else if (listedSize <= kWorkerFileBytes) {
            // Unpacked and checked here, written by the worker.
            std::string bytes;
            bytes.reserve(listedSize);
            reader.readData([&](const char* data, size_t size) {
                check(data, size);
                bytes.append(data, size);
            });
            verify();
            const bool hashed = platform::changeObserver() != nullptr;
            auto job = worker_.post(target, std::move(bytes), mtime, hashed);
            folder.add(name);
            addStaged({std::move(job), nullptr, nullptr, std::nullopt, entry.fullPath(), nullptr},
                      listedSize);
        } else {
            auto file = std::make_unique<platform::NewFileWriter>(target);
            reader.readData([&](const char* data, size_t size) {
                check(data, size);
                file->write({data, size});
            });
            verify();
            file->finish(mtime);
            folder.add(name);
            addStaged({nullptr, std::move(file), nullptr, std::nullopt, entry.fullPath(), nullptr},
                      listedSize);
        }
        folder.writtenBy.insert_or_assign(onDisk, entry.fullPath());
    }

    // The one-time ".bak" of a file about to be replaced: an exact copy, made when missing
    // (staged here, named with the batch before the file is replaced), kept when it is a file.
    // Any other thing under that name (a link, even to nothing) would take the copy somewhere
    // else or leave none, so the file is left alone.
    static std::optional<platform::StagedCopy> stageBackup(Folder& folder,
                                                           const std::string& onDisk) {
        const std::string bakWanted = onDisk + ".bak";
        const std::optional<std::string> bak = folder.onDisk(bakWanted);
        if (bak) {
            if (folder.kindOf(*bak) == Kind::File)
                return std::nullopt;
            throw KnownProblem(ExtractionProblem::BackupNotAFile,
                               "refused: the backup " +
                                   platform::utf8Of(folder.host / platform::pathFromUtf8(*bak)) +
                                   " is not a plain file; " + onDisk + " was left as it was");
        }
        const fs::path backup = folder.host / platform::pathFromUtf8(bakWanted);
        int err = 0;
        if (!folder.handle)
            folder.handle = platform::FolderHandle::open(platform::utf8Of(folder.host), err);
        platform::StagedCopy staged;
        if (!err)
            err = platform::stageFileCopy(folder.host / platform::pathFromUtf8(onDisk),
                                          folder.handle, bakWanted, staged);
        if (err)
            backupFailed(backup, err);
        folder.add(bakWanted); // a later entry meets it as there
        return staged;
    }

    std::vector<ExtractionFailure>& failures_;
    const ExtractionProgress& progress_;
    size_t total_;
    size_t done_ = 0;
    bool stopped_ = false;
    Folders folders_;
    std::vector<StagedEntry> staged_;  // written, waiting for the next flush
    std::vector<StagedEntry> writing_; // on their way to the disk
    std::future<void> written_;        // the flush and naming of `writing_`
    NewFileWorker worker_;             // after the batches: stops before the files it wrote go
    int64_t stagedBytes_ = 0;
    std::unordered_set<std::string> plannedNames_;
    ExtractionCounts counts_;
};

} // namespace

bool hasControlCharacter(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
}

std::string refusalReason(const CfsArcFile& entry, ExtractionProblem* problem) {
    const auto refused = [problem](ExtractionProblem code, const char* reason) {
        if (problem)
            *problem = code;
        return std::string(reason);
    };
    switch (entry.entryType()) {
    case EntryType::Symlink:
        return refused(ExtractionProblem::Link, "refused: symbolic link");
    case EntryType::Hardlink:
        return refused(ExtractionProblem::HardLink, "refused: hard link");
    case EntryType::Device:
        return refused(ExtractionProblem::Device, "refused: device or special file");
    case EntryType::Nameless:
        return refused(ExtractionProblem::BadName, "refused: the entry has no name");
    default:
        break;
    }
    const std::string& name = entry.fileName();
    if (name == "." || name == "..")
        return refused(ExtractionProblem::BadName, "refused: not a file name");
    if (hasControlCharacter(name))
        return refused(ExtractionProblem::BadName, "refused: control character in the name");
    return {};
}

bool isContainedRelativeFolder(std::string_view folder) {
    if (folder.empty())
        return true;
    if (folder[0] == '\\' || folder[0] == '/' || folder.find(':') != std::string_view::npos ||
        hasControlCharacter(folder))
        return false;
    size_t start = 0;
    while (start <= folder.size()) {
        const size_t end = folder.find_first_of("\\/", start);
        const std::string_view part = folder.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part == "..")
            return false;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return true;
}

std::vector<ExtractionFailure> runExtraction(const std::vector<ExtractionStep>& steps,
                                             const ExtractionProgress& progress,
                                             const std::string& gameFolder,
                                             ExtractionCounts* counts) {
    std::vector<ExtractionFailure> failures;
    std::optional<platform::FolderLock> lock;
    if (!gameFolder.empty())
        lock.emplace(platform::hostPath(gameFolder));
    // Folders are read anew once the lock is held: another Vokari may have changed them.
    const platform::ListingScope listings(platform::ListingScope::Start::Fresh);
    Extraction extraction(failures, progress, steps.size(), lock.has_value());
    // One pass per source archive, archives in the order their first entry is planned.
    std::vector<std::pair<std::string, std::vector<const ExtractionStep*>>> groups;
    std::unordered_map<std::string, size_t> groupOf;
    for (const ExtractionStep& step : steps) {
        ExtractionProblem problem = ExtractionProblem::Other;
        const std::string reason = refusalReason(*step.entry, &problem);
        if (!reason.empty()) {
            failures.push_back({step.entry->fullPath(), reason, nullptr, problem});
            extraction.skip();
            continue;
        }
        if (step.entry->isFolder()) {
            extraction.skip();
            continue;
        }
        const std::string key = std::to_string(static_cast<int>(step.entry->sourceArchiveKind())) +
                                "|" + step.entry->sourceArchive();
        auto [it, added] = groupOf.emplace(key, groups.size());
        if (added)
            groups.push_back({key, {}});
        groups[it->second].second.push_back(&step);
        extraction.planned(step);
    }
    for (const auto& [key, group] : groups) {
        if (extraction.stopped())
            break;
        const CfsArcFile& first = *group.front()->entry;
        extraction.runGroup(first.sourceArchive(), first.sourceArchiveKind(), group);
    }
    extraction.finish();
    if (counts)
        *counts = extraction.counts();
    return failures;
}

} // namespace vokari
