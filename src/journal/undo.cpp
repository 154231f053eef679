#include "journal/undo.h"

#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "platform/path_text.h"

#include <algorithm>
#include <cerrno>
#include <set>

namespace fs = std::filesystem;

namespace vokari {
namespace {

bool isThere(const fs::path& host) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(host, ec));
}

// What the file at `host` is now, as the journal hashes it; 0 for nothing or a folder.
uint64_t currentHash(const fs::path& host) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(host, ec)))
        return fs::is_symlink(fs::symlink_status(host, ec)) ? 1 : 0;
    return hashFile(host);
}

// The same bytes and date.
bool sameFile(const fs::path& a, const fs::path& b) {
    const auto stampA = platform::hostFileStamp(a);
    const auto stampB = platform::hostFileStamp(b);
    return stampA && stampB && stampA->mtimeNs == stampB->mtimeNs &&
           currentHash(a) == currentHash(b);
}

std::set<std::string> pathsOf(const JournalEntry& entry) {
    std::set<std::string> paths;
    for (const FileChange& c : entry.changes)
        if (!c.failed)
            paths.insert(c.path);
    return paths;
}

struct Step {
    const JournalEntry* entry;
    const FileChange* change;
    UndoItem item;
    fs::path stored;
};

// Decides what taking back one change does, from the disk as it is now.
std::optional<Step> plan(const ChangeJournal& journal, const JournalEntry& entry,
                         const FileChange& change, bool force) {
    Step step{&entry, &change, {}, {}};
    step.item.entry = entry.id;
    step.item.path = change.path;
    const fs::path host = journal.hostPathOf(change.path);
    step.item.host = platform::utf8Of(host);
    if (!change.stored.empty())
        step.stored = journal.storedPath(entry.id, change.stored);
    const auto leaveAlone = [&](LeftAloneWhy why, const char* reason) -> std::optional<Step> {
        if (force)
            return step;
        step.item.action = UndoAction::LeftAlone;
        step.item.why = why;
        step.item.reason = reason;
        return step;
    };
    switch (change.kind) {
    case ChangeKind::Added:
        step.item.action = UndoAction::Removed;
        if (!isThere(host))
            return std::nullopt;
        // A kill between the record and its outcome: the file is the entry's, nothing was
        // there before it.
        if (change.made && currentHash(host) != change.hash)
            return leaveAlone(LeftAloneWhy::ChangedSince, "changed since");
        return step;
    case ChangeKind::Replaced:
    case ChangeKind::Removed:
        step.item.action = UndoAction::Restored;
        if (!isThere(step.stored))
            return std::nullopt; // killed before the copy was kept: the file was never touched
        // Already as it was (the change never happened, or an undo that was cut short put it
        // back): nothing to do.
        if (isThere(host) && sameFile(host, step.stored))
            return std::nullopt;
        if (!change.made)
            return change.kind == ChangeKind::Removed && isThere(host) ? std::nullopt
                                                                       : std::optional(step);
        if (change.kind == ChangeKind::Removed ? isThere(host) : currentHash(host) != change.hash)
            return change.kind == ChangeKind::Removed
                       ? leaveAlone(LeftAloneWhy::ThereAgain, "there again")
                       : leaveAlone(LeftAloneWhy::ChangedSince, "changed since");
        return step;
    case ChangeKind::FolderAdded:
        step.item.action = UndoAction::FolderRemoved;
        if (std::error_code ec; !fs::is_directory(fs::symlink_status(host, ec)))
            return std::nullopt;
        return step;
    case ChangeKind::FolderMoved:
        step.item.action = UndoAction::FolderRestored;
        if (!isThere(step.stored))
            return std::nullopt;
        if (isThere(host))
            return leaveAlone(LeftAloneWhy::FolderThere, "a folder of that name is there again");
        return step;
    }
    return std::nullopt;
}

void carryOut(Step& step) {
    const fs::path host = step.item.host;
    try {
        switch (step.item.action) {
        case UndoAction::Removed:
            if (!platform::removeHostFile(host))
                throw IoError(FileAction::Delete, platform::utf8Of(host), errno);
            break;
        case UndoAction::Restored:
            platform::restoreFileExact(step.stored, host);
            break;
        case UndoAction::FolderRemoved:
            // What a killed run had staged in it goes too (the lock is held).
            platform::removeLeftovers(host);
            if (std::error_code ec; !fs::remove(host, ec) || ec) {
                step.item.action = UndoAction::LeftAlone;
                const bool full = ec == std::errc::directory_not_empty || !ec;
                step.item.why = full ? LeftAloneWhy::NotEmpty : LeftAloneWhy::Failed;
                step.item.errorNumber = full ? 0 : ec.value();
                step.item.reason = full ? "not empty" : systemReason(ec.value());
            } else {
                platform::noteRemoved(host);
            }
            break;
        case UndoAction::FolderRestored: {
            std::error_code ec;
            fs::rename(step.stored, host, ec);
            if (ec == std::errc::cross_device_link)
                ec = moveFolderAcrossDisks(step.stored, host);
            if (ec)
                throw IoError(FileAction::Move, platform::utf8Of(host), ec.value());
            platform::noteAdded(host, platform::HostKind::Folder);
            platform::noteChanged(host); // what it holds is read when asked
            break;
        }
        case UndoAction::LeftAlone:
            break;
        }
    } catch (const std::exception& e) {
        step.item.action = UndoAction::LeftAlone;
        step.item.why = LeftAloneWhy::Failed;
        if (const auto* io = dynamic_cast<const IoError*>(&e))
            step.item.errorNumber = io->errorNumber();
        step.item.reason = e.what();
    }
}

} // namespace

bool UndoReport::leftAlone() const {
    return std::any_of(items.begin(), items.end(),
                       [](const UndoItem& i) { return i.action == UndoAction::LeftAlone; });
}

std::vector<int64_t> laterEntries(const ChangeJournal& journal, int64_t id) {
    const auto target = journal.entry(id);
    if (!target)
        return {};
    const std::set<std::string> paths = pathsOf(*target);
    std::vector<int64_t> later;
    for (const JournalEntry& e : journal.entries()) {
        // An undo gives back what was there, so it stands in no one's way.
        if (e.id <= id || e.undoneBy != 0 || e.undoes != 0)
            continue;
        for (const FileChange& c : e.changes) {
            if (!c.failed && paths.count(c.path)) {
                later.push_back(e.id);
                break;
            }
        }
    }
    std::reverse(later.begin(), later.end());
    return later;
}

UndoReport undoEntry(const ChangeJournal& journal, int64_t id, const UndoOptions& options) {
    const platform::FolderLock lock(journal.gameFolder());
    const auto target = journal.entry(id);
    if (!target)
        throw KeyError("no such entry in the history: " + std::to_string(id));
    if (target->undoneBy != 0)
        throw ArgumentError("entry " + std::to_string(id) + " was taken back by entry " +
                            std::to_string(target->undoneBy));
    if (target->undoes != 0)
        throw ArgumentError("entry " + std::to_string(id) + " is itself an undo");
    UndoReport report;
    std::vector<JournalEntry> order;
    for (const int64_t later : laterEntries(journal, id)) {
        if (!options.withLater)
            report.later.push_back(later);
        else if (auto e = journal.entry(later))
            order.push_back(std::move(*e));
    }
    if (!report.later.empty())
        return report;
    order.push_back(*target);

    std::optional<JournalScope> scope;
    if (!options.dryRun)
        scope.emplace(journal.gameFolder(), "undo", target->game,
                      std::to_string(id) + " " + target->tool + " " + target->summary, id);
    std::set<std::string> planned;
    size_t done = 0;
    size_t total = 0;
    for (const JournalEntry& e : order)
        total += e.changes.size();
    for (const JournalEntry& e : order) {
        // Files before the folders that hold them: the changes in reverse.
        for (auto it = e.changes.rbegin(); it != e.changes.rend(); ++it) {
            if (options.progress && !options.progress(done, total))
                return report;
            ++done;
            if (it->failed)
                continue;
            // A dry run cannot see what the later entries' undo would put back: a file one of
            // them touched is taken as that undo would leave it.
            auto step =
                plan(journal, e, *it, options.force || (options.dryRun && planned.count(it->path)));
            planned.insert(it->path);
            if (!step)
                continue;
            if (!options.dryRun && step->item.action != UndoAction::LeftAlone)
                carryOut(*step);
            report.items.push_back(std::move(step->item));
        }
        report.taken.push_back(e.id);
        if (!options.dryRun) {
            report.undoEntry = scope->begin();
            journal.markUndone(e.id, report.undoEntry);
        }
    }
    return report;
}

} // namespace vokari
