#pragma once

#include "copy/copy_table.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Copying the first game's AIRCRAFT and GAUGES trees into the second game: what is missing is
// added, nothing is ever overwritten, names meet without regard to case. The first game's
// backups (".bak", ".org") stay behind. A file is copied whole
// or not at all.
namespace vokari {

enum class CopyOutcome { Copied, Exists, Failed };

// What became of one entry; `count` is the number of entries handled so far, this one included.
struct CopyReport {
    const CopyTable* table = nullptr;
    const CopyEntry* entry = nullptr;
    CopyOutcome outcome = CopyOutcome::Copied;
    CopyProblem problem = CopyProblem::None;
    int err = 0;
    int32_t count = 0;
};

struct CopyFailure {
    std::string path;     // "AIRCRAFT\P51D\panel"
    std::string hostPath; // where the user finds it: in the first game, or where it goes
    CopyProblem problem = CopyProblem::None;
    int err = 0;
};

struct CopySummary {
    int32_t copied = 0;   // entries, folders included
    int32_t existing = 0; // entries the second game had, kept as they were
    int32_t copiedFiles = 0;
    int32_t existingFiles = 0;
    std::vector<CopyFailure> failures;
    bool cancelled = false;
    size_t leftovers = 0; // temporary files of a killed copy found and removed
};

struct CopyOptions {
    bool dryRun = false;                       // decide what would be copied, write nothing
    const std::atomic<bool>* cancel = nullptr; // checked before each entry
    // Before an entry is handled, with the number of entries handled so far, this one included.
    std::function<void(const CopyEntry&, int32_t count)> onProgress;
    // When an entry's outcome is known. Files are named in batches, so this may come later.
    std::function<void(const CopyReport&)> onEntry;
};

// The two trees that are copied, as the second game names them.
inline constexpr std::string_view kCopiedFolders[] = {"AIRCRAFT", "GAUGES"};

// Lists both trees of game folder `sourceGame` for copying into `targetGame`.
std::vector<CopyTable> collectCopyTables(std::string_view sourceGame, std::string_view targetGame);

// How many entries the tables hold: the length of the copy.
int32_t entryCount(const std::vector<CopyTable>& tables);

// Copies one listed tree. `count` is the number of entries handled before it; returns that
// number plus the entries handled in this tree.
int32_t copyTree(const CopyTable& table, int32_t count, const CopyOptions& options,
                 CopySummary& summary);

// Copies every tree, in order, until all are done or the copy is cancelled.
CopySummary copyAll(const std::vector<CopyTable>& tables, const CopyOptions& options);

// The entry's path with its tree in front: "AIRCRAFT\P51D\aircraft.cfg".
std::string copyPath(const CopyTable& table, const CopyEntry& entry);

// Why an entry was not copied, in English (the command line's wording).
std::string copyProblemText(CopyProblem problem, int err);

} // namespace vokari
