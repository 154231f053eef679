#pragma once

#include "journal/change_journal.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Taking an entry of the change journal back: the files it added are removed, the files it
// replaced or removed are put back with their dates, the folders it created are removed when
// empty again, a folder it took away is put back. Only what is still exactly as the entry left
// it is touched; the rest is left alone and named. The undo is an entry of its own.
namespace vokari {

struct UndoOptions {
    bool dryRun = false;    // say what would be done, change nothing
    bool force = false;     // also take back files changed since the entry
    bool withLater = false; // first take back the later entries that changed the same files
    // Told before each file, with how many are done of how many; false stops.
    std::function<bool(size_t done, size_t total)> progress = {};
};

enum class UndoAction { Removed, Restored, FolderRemoved, FolderRestored, LeftAlone };

// Why a file was left alone, for a window to word.
enum class LeftAloneWhy {
    None,
    ChangedSince, // the file is not what the entry left
    ThereAgain,   // a file the entry removed is there again
    FolderThere,  // a folder of the name of the one it took away is there again
    NotEmpty,     // a folder it created holds other files
    Failed,       // the system refused (errorNumber says why; 0 when it gave none)
};

struct UndoItem {
    int64_t entry = 0; // the entry it belongs to
    std::string path;  // as the entry names it
    std::string host;  // where the player finds it
    UndoAction action = UndoAction::LeftAlone;
    LeftAloneWhy why = LeftAloneWhy::None;
    int errorNumber = 0; // with Failed
    std::string reason;  // why it was left alone, in English
};

struct UndoReport {
    std::vector<int64_t> taken;  // the entries taken back, in the order they were
    std::vector<int64_t> later;  // later entries in the way (nothing done when not empty)
    std::vector<UndoItem> items; // what was done (or would be, dry)
    int64_t undoEntry = 0;       // the entry the undo itself made; 0 when nothing changed
    bool leftAlone() const;      // some file was left alone
};

// Takes back entry `id` of `journal` (see UndoOptions). Holds the game folder's lock. Throws
// KeyError when there is no such entry, ArgumentError when it was taken back already or is
// itself an undo.
UndoReport undoEntry(const ChangeJournal& journal, int64_t id, const UndoOptions& options = {});

// The later entries, not taken back, that changed a file entry `id` changed: newest first.
std::vector<int64_t> laterEntries(const ChangeJournal& journal, int64_t id);

} // namespace vokari
