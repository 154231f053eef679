#include "copy/cfs_copy.h"

#include "common/file_helpers.h"
#include "journal/change_journal.h"

#include "platform/change_observer.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/folder_listings.h"
#include "platform/folder_lock.h"
#include "platform/path_text.h"
#include "platform/text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace vokari {
namespace {

using platform::FolderHandle;
using platform::HostKind;

// Staged copies are written to the disk together and then named: one flush per batch keeps a
// crash from leaving a named but empty file without paying for a flush per file. Each flush
// also waits for whatever else the machine has to write, so batches are large; each folder
// with a file waiting stays open, so their number is bounded too (two batches may wait).
constexpr size_t kBatchFiles = 4096;
constexpr size_t kBatchFolders = 256;
constexpr int64_t kBatchBytes = int64_t(256) << 20;

enum class FolderState { NotCopied, Ready, WouldBeMade };

struct Folder {
    FolderState state = FolderState::NotCopied;
    std::string targetName; // its name in the second game, which may differ in case
};

// The folders from a tree's top down to the one last opened: the next group, usually its
// sibling or child, opens only what differs.
class OpenChain {
public:
    template <typename NameOf>
    std::shared_ptr<FolderHandle> open(const std::string& top, const std::vector<size_t>& chain,
                                       int& err, NameOf nameOf) {
        err = 0;
        if (handles_.empty()) {
            auto handle = FolderHandle::open(top, err);
            if (!handle)
                return nullptr;
            handles_.push_back(std::move(handle));
        }
        size_t same = 0;
        while (same < chain.size() && same < indices_.size() && chain[same] == indices_[same])
            ++same;
        indices_.resize(same);
        handles_.resize(same + 1);
        for (size_t k = same; k < chain.size(); ++k) {
            auto child = handles_.back()->openChild(nameOf(chain[k]), err);
            if (!child)
                return nullptr;
            indices_.push_back(chain[k]);
            handles_.push_back(std::move(child));
        }
        return handles_.back();
    }

private:
    std::vector<size_t> indices_;                        // the folders' entries, top first
    std::vector<std::shared_ptr<FolderHandle>> handles_; // the top, then one per entry
};

struct Pending {
    size_t index = 0;
    CopyOutcome outcome = CopyOutcome::Copied;
    CopyProblem problem = CopyProblem::None;
    int err = 0;
    bool sourceSide = false;
    bool staged = false;
    platform::StagedCopy copy;
};

class TreeCopier {
public:
    TreeCopier(const CopyTable& table, int32_t count, const CopyOptions& options,
               CopySummary& summary)
        : table_(table), entries_(table.entries), options_(options), summary_(summary),
          count_(count), handled_(count), folders_(table.entries.size()) {}

    int32_t run() {
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (options_.cancel && options_.cancel->load()) {
                summary_.cancelled = true;
                break;
            }
            if (options_.onProgress)
                options_.onProgress(entries_[i], ++handled_);
            if (i == 0 || entries_[i].parent != entries_[i - 1].parent)
                enterGroup(entries_[i].parent);
            handle(i);
        }
        flush();
        finishWritten();
        return count_;
    }

private:
    // Opens the first game's folder holding the next entries and the second game's folder they
    // go to, and learns the names already there.
    void enterGroup(size_t parent) {
        source_.reset();
        target_.reset();
        targetNames_.clear();
        addedHere_.clear();
        sourceErr_ = 0;
        groupState_ = parent == kTopFolder ? FolderState::Ready : folders_[parent].state;
        if (groupState_ == FolderState::NotCopied)
            return;
        std::vector<size_t> chain;
        for (size_t i = parent; i != kTopFolder; i = entries_[i].parent)
            chain.insert(chain.begin(), i);
        source_ =
            sourceChain_.open(table_.source, chain, sourceErr_,
                              [&](size_t i) -> const std::string& { return entries_[i].name; });
        if (groupState_ == FolderState::WouldBeMade)
            return;
        int err = 0;
        target_ = targetChain_.open(table_.target, chain, err, [&](size_t i) -> const std::string& {
            return folders_[i].targetName;
        });
        if (!target_) {
            groupState_ = FolderState::NotCopied;
            return;
        }
        readTargetNames();
    }

    void readTargetNames() {
        std::vector<platform::HostEntry> listed;
        // What cannot be listed is met when the copy tries the name.
        target_->list(listed, options_.dryRun ? nullptr : &summary_.leftovers);
        for (auto& item : listed)
            targetNames_.emplace(asciiLower(item.name), std::move(item.name));
    }

    void handle(size_t i) {
        const CopyEntry& entry = entries_[i];
        if (entry.problem != CopyProblem::None)
            return report(i, CopyOutcome::Failed, entry.problem, entry.err,
                          entry.problem != CopyProblem::NoTargetFolder);
        if (groupState_ == FolderState::NotCopied)
            return report(i, CopyOutcome::Failed, CopyProblem::FolderNotCopied, 0);
        if (groupState_ == FolderState::WouldBeMade) {
            if (entry.isFolder)
                folders_[i].state = FolderState::WouldBeMade;
            return report(i, CopyOutcome::Copied, CopyProblem::None, 0);
        }
        const std::string key = asciiLower(entry.name);
        if (const auto found = targetNames_.find(key); found != targetNames_.end()) {
            if (addedHere_.count(key))
                return report(i, CopyOutcome::Failed, CopyProblem::CaseTwin, 0, true);
            if (const auto kind = target_->kindOf(found->second); kind != HostKind::None)
                return meetExisting(i, found->second, kind);
        }
        if (const std::string_view twin = aircraftFileTwin(entry.name);
            !twin.empty() && !entry.isFolder && isAircraftOwnFolder(i)) {
            // A switched-off aircraft is there: its file is not added a second time.
            if (const auto found = targetNames_.find(std::string(twin));
                found != targetNames_.end() && !addedHere_.count(found->first)) {
                if (const auto kind = target_->kindOf(found->second); kind != HostKind::None)
                    return meetExisting(i, found->second, kind);
            }
        }
        targetNames_[key] = entry.name;
        addedHere_.insert(key);
        if (options_.dryRun) {
            if (entry.isFolder)
                folders_[i] = Folder{FolderState::WouldBeMade, entry.name};
            return report(i, CopyOutcome::Copied, CopyProblem::None, 0);
        }
        if (entry.isFolder) {
            if (const int err = target_->makeFolder(entry.name))
                return report(i, CopyOutcome::Failed, CopyProblem::System, err);
            folders_[i] = Folder{FolderState::Ready, entry.name};
            return report(i, CopyOutcome::Copied, CopyProblem::None, 0);
        }
        if (!source_)
            return report(i, CopyOutcome::Failed, CopyProblem::System, sourceErr_, true);
        Pending pending;
        pending.index = i;
        if (const int err = platform::stageCopy(*source_, entry.name, target_, pending.copy))
            return report(i, CopyOutcome::Failed, CopyProblem::System, err,
                          pending.copy.sourceFailed);
        pending.staged = true;
        // Named on the flush's thread, which has no listings: the run's learn of it here.
        platform::noteAdded(target_->path() / platform::pathFromUtf8(entry.name), HostKind::File);
        stagedBytes_ += pending.copy.size;
        ++stagedFiles_;
        if (target_.get() != lastStagedIn_) {
            lastStagedIn_ = target_.get();
            ++stagedFolders_;
        }
        pending_.push_back(std::move(pending));
        if (stagedFiles_ >= kBatchFiles || stagedFolders_ >= kBatchFolders ||
            stagedBytes_ >= kBatchBytes)
            flush();
    }

    // An entry directly in an aircraft's folder of the AIRCRAFT tree.
    bool isAircraftOwnFolder(size_t i) const {
        const size_t parent = entries_[i].parent;
        return parent != kTopFolder && entries_[parent].parent == kTopFolder &&
               equalsNoCase(table_.name, "AIRCRAFT");
    }

    // The second game holds the name already: it is kept as it is.
    void meetExisting(size_t i, const std::string& onDisk, HostKind kind) {
        const CopyEntry& entry = entries_[i];
        if (kind == HostKind::Link)
            return entry.isFolder ? report(i, CopyOutcome::Failed, CopyProblem::Link, 0)
                                  : report(i, CopyOutcome::Exists, CopyProblem::None, 0);
        if (entry.isFolder != (kind == HostKind::Folder))
            return report(i, CopyOutcome::Failed, CopyProblem::InTheWay, 0);
        if (entry.isFolder)
            folders_[i] = Folder{FolderState::Ready, onDisk};
        report(i, CopyOutcome::Exists, CopyProblem::None, 0);
    }

    // `sourceSide`: the failure is the first game's entry's, not the place it goes to.
    void report(size_t i, CopyOutcome outcome, CopyProblem problem, int err,
                bool sourceSide = false) {
        Pending pending{i, outcome, problem, err, sourceSide, false, {}};
        if (stagedFiles_ == 0 && !written_.valid())
            emit(pending); // nothing waits for the disk: keep the order and tell at once
        else
            pending_.push_back(std::move(pending));
    }

    // Sends the files waiting to the disk and names them once they are there, on a thread of
    // their own while the next batch is staged; tells how the batch before ended.
    void flush() {
        finishWritten();
        if (stagedFiles_ == 0) {
            for (const Pending& p : pending_)
                emit(p);
            pending_.clear();
            return;
        }
        // A batch may span disks: a folder of the game may be a link to another.
        std::vector<const FolderHandle*> folders;
        for (const Pending& p : pending_)
            if (p.staged)
                folders.push_back(p.copy.folder.get());
        writing_.swap(pending_);
        written_ = platform::runObserved([this, folders = std::move(folders)] {
            const int flushErr = platform::flushStaged(folders);
            for (Pending& p : writing_) {
                if (!p.staged)
                    continue;
                if (flushErr)
                    platform::discardCopy(p.copy);
                const int commitErr = flushErr ? flushErr : platform::commitCopy(p.copy);
                p.outcome = commitErr == 0        ? CopyOutcome::Copied
                            : commitErr == EEXIST ? CopyOutcome::Exists
                                                  : CopyOutcome::Failed;
                if (p.outcome == CopyOutcome::Failed) {
                    p.problem = CopyProblem::System;
                    p.err = commitErr;
                }
            }
        });
        stagedFiles_ = 0;
        stagedFolders_ = 0;
        lastStagedIn_ = nullptr;
        stagedBytes_ = 0;
    }

    // Waits for the batch on its way to the disk and being named (or dropped when the disk
    // failed it), and tells how each of its entries ended.
    void finishWritten() {
        if (!written_.valid())
            return;
        written_.get();
        for (const Pending& p : writing_)
            emit(p);
        writing_.clear();
    }

    void emit(const Pending& p) {
        const CopyEntry& entry = entries_[p.index];
        ++count_;
        switch (p.outcome) {
        case CopyOutcome::Copied:
            ++summary_.copied;
            summary_.copiedFiles += entry.isFolder ? 0 : 1;
            break;
        case CopyOutcome::Exists:
            ++summary_.existing;
            summary_.existingFiles += entry.isFolder ? 0 : 1;
            break;
        case CopyOutcome::Failed:
            summary_.failures.push_back(
                CopyFailure{copyPath(table_, entry), hostPathOf(p), p.problem, p.err});
            break;
        }
        if (options_.onEntry)
            options_.onEntry(CopyReport{&table_, &entry, p.outcome, p.problem, p.err, count_});
    }

    // Where the user finds what failed: the entry in the first game, or where it goes.
    std::string hostPathOf(const Pending& p) const {
        std::string path;
        for (size_t i = p.index; i != kTopFolder; i = entries_[i].parent) {
            const std::string& name = !p.sourceSide && !folders_[i].targetName.empty()
                                          ? folders_[i].targetName
                                          : entries_[i].name;
            if (!name.empty())
                path = "/" + name + path;
        }
        return (p.sourceSide ? table_.source : table_.target) + path;
    }

    const CopyTable& table_;
    const std::vector<CopyEntry>& entries_;
    const CopyOptions& options_;
    CopySummary& summary_;
    int32_t count_;   // entries whose outcome is told
    int32_t handled_; // entries shown as handled
    std::vector<Folder> folders_;

    FolderState groupState_ = FolderState::NotCopied;
    std::shared_ptr<FolderHandle> source_;
    std::shared_ptr<FolderHandle> target_;
    OpenChain sourceChain_;
    OpenChain targetChain_;
    int sourceErr_ = 0;
    std::unordered_map<std::string, std::string> targetNames_; // lower-case -> name on disk
    std::unordered_set<std::string> addedHere_;                // names this copy adds

    std::vector<Pending> pending_; // outcomes of the batch being staged, in order
    std::vector<Pending> writing_; // and of the one on its way to the disk
    std::future<void> written_;    // that batch's flush and naming
    size_t stagedFiles_ = 0;
    size_t stagedFolders_ = 0;                   // folders held open by the files waiting
    const FolderHandle* lastStagedIn_ = nullptr; // the folder the last of them went to
    int64_t stagedBytes_ = 0;
};

} // namespace

std::vector<CopyTable> collectCopyTables(std::string_view sourceGame, std::string_view targetGame) {
    std::vector<CopyTable> tables;
    for (const std::string_view name : kCopiedFolders)
        tables.push_back(collectCopyTable(name, sourceGame, targetGame));
    return tables;
}

int32_t entryCount(const std::vector<CopyTable>& tables) {
    size_t n = 0;
    for (const CopyTable& table : tables)
        n += table.entries.size();
    return static_cast<int32_t>(n);
}

int32_t copyTree(const CopyTable& table, int32_t count, const CopyOptions& options,
                 CopySummary& summary) {
    // The second game's folder, held against a second Vokari for the whole tree.
    std::optional<platform::FolderLock> lock;
    std::optional<JournalScope> journal;
    if (!options.dryRun) {
        const std::filesystem::path game = platform::pathFromUtf8(table.target).parent_path();
        lock.emplace(game);
        journal.emplace(game, "copy", 2, table.name);
    }
    // Read anew once the lock is held: another Vokari may have changed the second game.
    const platform::ListingScope listings(options.dryRun ? platform::ListingScope::Start::Join
                                                         : platform::ListingScope::Start::Fresh);
    return TreeCopier(table, count, options, summary).run();
}

CopySummary copyAll(const std::vector<CopyTable>& tables, const CopyOptions& options) {
    // One entry in the history for the whole copy.
    std::optional<platform::FolderLock> lock;
    std::optional<JournalScope> journal;
    if (!options.dryRun && !tables.empty()) {
        const std::filesystem::path game =
            platform::pathFromUtf8(tables.front().target).parent_path();
        lock.emplace(game);
        journal.emplace(game, "copy", 2, "CFS1 -> CFS2");
    }
    CopySummary summary;
    int32_t count = 0;
    for (const CopyTable& table : tables) {
        count = copyTree(table, count, options, summary);
        if (summary.cancelled)
            break;
    }
    return summary;
}

std::string copyPath(const CopyTable& table, const CopyEntry& entry) {
    return entry.relative.empty() ? table.name : table.name + "\\" + entry.relative;
}

std::string copyProblemText(CopyProblem problem, int err) {
    switch (problem) {
    case CopyProblem::None:
        return {};
    case CopyProblem::UnsafeName:
        return "the name cannot be used in a Windows path";
    case CopyProblem::DeviceName:
        return "the name is a device's on Windows";
    case CopyProblem::DotOrSpaceAtEnd:
        return "Windows drops a dot or space at the end of a name";
    case CopyProblem::NotInCodePage:
        return "the second game's code page (" + platform::ansiCodePage() +
               ") cannot spell the name";
    case CopyProblem::CaseTwin:
        return "the copy already gives the second game this name in other letter case";
    case CopyProblem::Link:
        return "a symbolic link, not followed";
    case CopyProblem::Unreadable:
        return "the folder cannot be read: " + systemReason(err);
    case CopyProblem::NoTargetFolder:
        return "the second game has no such folder";
    case CopyProblem::InTheWay:
        return "the second game has a file and a folder of that name the other way round";
    case CopyProblem::FolderNotCopied:
        return "its folder was not copied";
    case CopyProblem::System:
        return systemReason(err);
    }
    return {};
}

} // namespace vokari
