#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Looking up names without regard to case lists a whole folder. An operation that looks up
// thousands of paths in the same folders (the marks of a package, an install, a catalogue, a
// copy) holds a ListingScope: while it lives, each folder a lookup on its thread needs is listed
// once and answered from memory afterwards, by hostPath, listDirectory, isRegularFile, the
// installer's and the copy's own lookups alike. The writers of platform/ keep it in step with
// every file and folder they create or remove, journal or not. Without a scope every lookup asks
// the system, as before. Folders are named by their host path as hostPath gives it.
namespace vokari::platform {

enum class HostKind { None, File, Folder, Link, Other };

// One name of a listed folder; `name` is valid until the scope next changes.
struct ListedName {
    std::string_view name;            // as on disk
    HostKind kind = HostKind::None;   // the entry itself (Link for a link)
    HostKind target = HostKind::None; // what a link leads to (None: nothing); else `kind`
};

class ListingScope {
public:
    // Join: a scope inside another shares what the outer one listed. Fresh: forgets what was
    // listed before, for an operation that must see its folders as they are once it holds the
    // game folder's lock.
    enum class Start { Join, Fresh };
    explicit ListingScope(Start start = Start::Join);
    ~ListingScope();
    ListingScope(const ListingScope&) = delete;
    ListingScope& operator=(const ListingScope&) = delete;
};

// True while a scope lives on this thread.
bool listingsActive();

// Lists the host folder `folder` unless it was: true when it could be read. `sweep`: the game
// folder's lock is held, so temporary files a killed run left there go (counted in
// `leftovers` when given). False without a scope.
bool listFolder(std::string_view folder, bool sweep = false, size_t* leftovers = nullptr);
#ifndef _WIN32
// The same for a folder already open as `fd`, read through it when not listed yet.
bool listFolderAt(int fd, std::string_view folder, bool sweep, size_t* leftovers);
#endif

// The name of `folder` that a lookup of `name` finds: the name as spelled, else the first that
// differs from it only in ASCII letter case (the first listed, or the first made since).
// Nothing when there is none, without a scope, or when the folder cannot be read.
std::optional<ListedName> findListed(std::string_view folder, std::string_view name);

// Every name of `folder` (hidden ones included, our temporary files left out), in no order;
// false without a scope or when the folder cannot be read.
bool listedNames(std::string_view folder, std::vector<ListedName>& names);

// Tell the thread's scope what a writer changed: `host` now is a `kind`; `host` is gone (a
// folder with everything below it); or what is in the folder `host` is no longer known.
// Nothing without a scope.
void noteAdded(const std::filesystem::path& host, HostKind kind);
void noteRemoved(const std::filesystem::path& host);
void noteChanged(const std::filesystem::path& host);

// The host folder a drive letter stands for, remembered for the scope (nothing without one).
std::string* listedDriveRoot(char lowerLetter);

// A Windows folder path as hostPath resolved it from the listings, remembered until the scope
// notes a change: the names of one folder are looked up without walking its path again.
struct ResolvedFolder {
    std::string host;
    bool missing = false; // a part of it is not there
};
const ResolvedFolder* findResolved(std::string_view windowsFolder);
void rememberResolved(std::string_view windowsFolder, ResolvedFolder resolved);

} // namespace vokari::platform
