// TEMP stub: stands in for the journal branch's undo.cpp so the history window links and its
// test runs; dropped when that lands. Plain, with only the checks the window relies on.
#include "journal/undo.h"

#include "platform/change_observer.h"
#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/folder_lock.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace fs = std::filesystem;

namespace vokari {
namespace {

bool isThere(const fs::path& host) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(host, ec));
}

struct Step {
    const JournalEntry* entry;
    const FileChange* change;
};

UndoItem planned(const ChangeJournal& journal, const Step& step) {
    const FileChange& c = *step.change;
    UndoItem item;
    item.entry = step.entry->id;
    item.path = c.path;
    item.host = journal.hostPathOf(c.path).string();
    const fs::path host = journal.hostPathOf(c.path);
    switch (c.kind) {
    case ChangeKind::Added:
        if (isThere(host) && hashFile(host) == c.hash)
            item.action = UndoAction::Removed;
        else
            item.reason = "changed since";
        break;
    case ChangeKind::Replaced:
        if (isThere(host) && hashFile(host) == c.hash)
            item.action = UndoAction::Restored;
        else
            item.reason = "changed since";
        break;
    case ChangeKind::Removed:
        if (!isThere(host))
            item.action = UndoAction::Restored;
        else
            item.reason = "something is in its place";
        break;
    case ChangeKind::FolderAdded: {
        std::error_code ec;
        if (fs::is_directory(host, ec) && fs::is_empty(host, ec))
            item.action = UndoAction::FolderRemoved;
        else
            item.reason = "folder not empty";
        break;
    }
    case ChangeKind::FolderMoved:
        if (!isThere(host))
            item.action = UndoAction::FolderRestored;
        else
            item.reason = "something is in its place";
        break;
    }
    return item;
}

void perform(const ChangeJournal& journal, const Step& step, const UndoItem& item) {
    const fs::path host(item.host);
    const fs::path stored = journal.storedPath(step.entry->id, step.change->stored);
    platform::ChangeObserver* observer = platform::changeObserver();
    std::error_code ec;
    switch (item.action) {
    case UndoAction::Removed:
        if (observer)
            observer->beforeRemove(host);
        fs::remove(host, ec);
        break;
    case UndoAction::FolderRemoved:
        fs::remove(host, ec);
        if (!ec)
            return; // no hook for a folder taken away empty
        break;
    case UndoAction::Restored:
        if (isThere(host)) {
            if (observer)
                observer->beforeReplace(host);
            fs::remove(host, ec);
        } else if (observer) {
            observer->beforeAdd(host);
        }
        if (const int err = platform::copyFileExact(stored, host))
            throw IoError(FileAction::Write, host.string(), err);
        break;
    case UndoAction::FolderRestored:
        if (observer)
            observer->beforeAddFolder(host);
        fs::rename(stored, host, ec);
        break;
    case UndoAction::LeftAlone:
        return;
    }
    if (ec)
        throw IoError(FileAction::Write, host.string(), ec.value());
    if (observer)
        observer->made(host);
}

bool touches(const JournalEntry& a, const JournalEntry& b) {
    for (const FileChange& x : a.changes)
        for (const FileChange& y : b.changes)
            if (x.path == y.path && x.kind != ChangeKind::FolderAdded)
                return true;
    return false;
}

} // namespace

bool UndoReport::leftAlone() const {
    return std::any_of(items.begin(), items.end(),
                       [](const UndoItem& i) { return i.action == UndoAction::LeftAlone; });
}

std::vector<int64_t> laterEntries(const ChangeJournal& journal, int64_t id) {
    const std::vector<JournalEntry> all = journal.entries();
    const auto it =
        std::find_if(all.begin(), all.end(), [id](const JournalEntry& e) { return e.id == id; });
    std::vector<int64_t> later;
    if (it == all.end())
        return later;
    for (auto e = all.rbegin(); e != all.rend() && e->id > id; ++e)
        if (e->undoneBy == 0 && e->undoes == 0 && touches(*e, *it))
            later.push_back(e->id);
    return later;
}

UndoReport undoEntry(const ChangeJournal& journal, int64_t id, const UndoOptions& options) {
    const std::optional<JournalEntry> entry = journal.entry(id);
    if (!entry)
        throw KeyError("no such entry: " + std::to_string(id));
    if (entry->undoneBy != 0 || entry->undoes != 0)
        throw ArgumentError("entry " + std::to_string(id) + " cannot be taken back");
    UndoReport report;
    std::vector<JournalEntry> order;
    for (const int64_t later : laterEntries(journal, id))
        if (auto e = journal.entry(later))
            order.push_back(std::move(*e));
    if (!order.empty() && !options.withLater) {
        for (const JournalEntry& e : order)
            report.later.push_back(e.id);
        return report;
    }
    order.push_back(*entry);

    std::vector<Step> steps;
    for (const JournalEntry& e : order)
        for (auto c = e.changes.rbegin(); c != e.changes.rend(); ++c)
            if (c->made)
                steps.push_back({&e, &*c});

    std::optional<platform::FolderLock> lock;
    std::optional<JournalScope> scope;
    if (!options.dryRun) {
        lock.emplace(journal.gameFolder());
        scope.emplace(journal.gameFolder(), "undo", entry->game, entry->summary, id);
    }
    for (size_t i = 0; i < steps.size(); ++i) {
        if (options.progress && !options.progress(i, steps.size()))
            break;
        UndoItem item = planned(journal, steps[i]);
        if (!options.dryRun)
            perform(journal, steps[i], item);
        report.items.push_back(std::move(item));
    }
    for (const JournalEntry& e : order)
        report.taken.push_back(e.id);
    if (!options.dryRun) {
        report.undoEntry = scope->id();
        for (const JournalEntry& e : order)
            journal.markUndone(e.id, report.undoEntry);
    }
    return report;
}

} // namespace vokari
