#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

// The change journal of a game folder: every operation that changes the folder records one
// entry, with each file and folder it added, replaced or removed, and keeps a byte copy of what
// it replaced or removed, so the entry can be taken back. Each change is recorded before it is
// made, so after a kill the journal knows what may have happened. The journal lives outside the
// game folder, in the user's data folder, one per game folder.
namespace vokari {

enum class ChangeKind {
    Added,       // a file created where nothing was
    Replaced,    // a file (or link) replaced; its copy is kept
    Removed,     // a file (or link) removed; its copy is kept
    FolderAdded, // a folder created
    FolderMoved, // a folder taken away whole (a deleted aircraft), kept in the store
};

struct FileChange {
    ChangeKind kind = ChangeKind::Added;
    std::string path;    // relative to the game folder with "/", or absolute when outside it
    bool made = false;   // the change happened
    bool failed = false; // the change did not happen; neither: a kill came in between
    uint64_t hash = 0;   // of the file the change left (added or replaced)
    int64_t mtimeNs = 0; // its modification time
    std::string stored;  // the kept copy's name in the entry's store; empty when none
};

struct JournalEntry {
    int64_t id = 0;
    int64_t time = 0; // seconds since 1970, UTC
    std::string tool; // install, copy, aircraft-switch, aircraft-delete, alias, qc-save, ...
    int game = 0;
    std::string summary;
    std::vector<FileChange> changes;
    bool finished = false; // false: the operation was interrupted, or still runs
    bool running = false;  // not finished, and the process that writes it still runs
    int64_t undoneBy = 0;  // the entry that took this one back; 0 when none
    int64_t undoes = 0;    // for an undo: the entry it took back
};

// Moves the folder `from` to `to` (which must not exist) on another disk, whole or not at all:
// copied beside `to` and on the disk before it takes that name, then `from` taken away, read-only
// files too, as a rename takes them. When some of `from` cannot be taken away, it is put back
// as it was and the copy goes. Returns the system's error, or none.
std::error_code moveFolderAcrossDisks(const std::filesystem::path& from,
                                      const std::filesystem::path& to);

// The journal of one game folder (its host path).
class ChangeJournal {
public:
    explicit ChangeJournal(const std::filesystem::path& gameFolder);

    const std::filesystem::path& gameFolder() const { return gameFolder_; }
    const std::filesystem::path& folder() const { return folder_; }

    // Every entry, oldest first. A damaged line is skipped.
    std::vector<JournalEntry> entries() const;
    std::optional<JournalEntry> entry(int64_t id) const;
    // The host path a change's path names.
    std::filesystem::path hostPathOf(const std::string& path) const;
    // The kept copy of a change of entry `id`.
    std::filesystem::path storedPath(int64_t id, const std::string& stored) const;
    // Notes that entry `id` was taken back by entry `by`.
    void markUndone(int64_t id, int64_t by) const;
    // Forgets entry `id` and its kept copies.
    void forget(int64_t id) const;
    // The bytes the store of entry `id` holds.
    uint64_t storeSize(int64_t id) const;

private:
    std::filesystem::path gameFolder_;
    std::filesystem::path folder_;
};

// Where the journals are kept: the user's data folder, "journal".
std::filesystem::path journalRoot();

// Forgets the journal of the game folder `gameFolder` (the demo's, when it is reset).
void forgetJournal(const std::filesystem::path& gameFolder);

// Records one operation on a game folder for as long as it lives: every change the writers of
// platform/ make on this thread goes into one entry, made when the first change comes. An
// operation begun inside another one on the same game folder joins it. The caller holds the
// game folder's lock.
class JournalScope {
public:
    JournalScope(const std::filesystem::path& gameFolder, std::string tool, int game,
                 std::string summary, int64_t undoes = 0);
    ~JournalScope();
    JournalScope(const JournalScope&) = delete;
    JournalScope& operator=(const JournalScope&) = delete;

    // The entry's number; 0 while nothing has changed.
    int64_t id() const;
    // Makes the entry now, whether or not anything changes, and gives its number.
    int64_t begin();

    class Recorder;

private:
    std::unique_ptr<Recorder> recorder_; // null when joined to an outer scope
    Recorder* previous_ = nullptr;
};

// A hash of a file's bytes (zlib's CRC-32 and Adler-32 side by side); 0 when it cannot be read.
uint64_t hashFile(const std::filesystem::path& host);

// Turns the journal off for this process (for measuring what it costs).
void setJournalEnabled(bool enabled);

} // namespace vokari
