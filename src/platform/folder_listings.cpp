#include "platform/folder_listings.h"

#include "platform/file_system.h"
#include "platform/text.h"

#include <array>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace vokari::platform {
namespace {

struct ExactHash {
    // The standard library's name for heterogeneous lookup.
    using is_transparent = void; // NOLINT(readability-identifier-naming)
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Names that differ only in ASCII letter case hash and compare alike.
struct FoldHash {
    size_t operator()(std::string_view s) const {
        uint64_t h = 14695981039346656037ull;
        for (const char c : s)
            h = (h ^ static_cast<unsigned char>(asciiLower(c))) * 1099511628211ull;
        return static_cast<size_t>(h);
    }
};
struct FoldEqual {
    bool operator()(std::string_view a, std::string_view b) const { return equalsNoCase(a, b); }
};

struct Entry {
    HostKind kind = HostKind::None;
    HostKind target = HostKind::None;
    uint64_t order = 0; // listed first, or made first, is found first
};

struct Folded {
    std::string_view first; // a key of `names`
    uint32_t count = 0;
};

HostKind kindOfMode(mode_t mode) {
    return S_ISDIR(mode)   ? HostKind::Folder
           : S_ISREG(mode) ? HostKind::File
           : S_ISLNK(mode) ? HostKind::Link
                           : HostKind::Other;
}

HostKind kindAt(int dirFd, const char* name, int flags) {
    struct stat st;
    return ::fstatat(dirFd, name, &st, flags) == 0 ? kindOfMode(st.st_mode) : HostKind::None;
}

// What one folder holds.
class Listing {
public:
    bool isRead() const { return read_; }
    bool hasLeftovers() const { return leftovers_; }
    void sweptLeftovers() { leftovers_ = false; }

    // Reads the folder open as `fd`.
    void read(int fd) {
        const int listing = ::dup(fd);
        DIR* dir = listing < 0 ? nullptr : ::fdopendir(listing);
        if (!dir) {
            if (listing >= 0)
                ::close(listing);
            return;
        }
        ::rewinddir(dir);
        while (const dirent* e = ::readdir(dir)) {
            const std::string_view name = e->d_name;
            if (name == "." || name == "..")
                continue;
            if (isStagingName(name)) {
                leftovers_ = true; // ours, or a killed run's: never a name a lookup asks for
                continue;
            }
            HostKind kind = e->d_type == DT_DIR       ? HostKind::Folder
                            : e->d_type == DT_REG     ? HostKind::File
                            : e->d_type == DT_LNK     ? HostKind::Link
                            : e->d_type == DT_UNKNOWN ? kindAt(fd, e->d_name, AT_SYMLINK_NOFOLLOW)
                                                      : HostKind::Other;
            if (kind == HostKind::None)
                continue; // gone meanwhile
            add(std::string(name), kind, kind == HostKind::Link ? kindAt(fd, e->d_name, 0) : kind);
        }
        ::closedir(dir);
        read_ = true;
    }

    void add(std::string name, HostKind kind, HostKind target) {
        if (const auto it = names_.find(std::string_view(name)); it != names_.end()) {
            // A folder is made only where nothing was: one there (perhaps a link to one) stays.
            if (kind == HostKind::Folder)
                return;
            it->second.kind = kind;
            it->second.target = target;
            return;
        }
        const auto [it, added] = names_.emplace(std::move(name), Entry{kind, target, next_++});
        const std::string_view key = it->first;
        const auto [fold, first] = folded_.try_emplace(key, Folded{key, 0});
        ++fold->second.count;
    }

    void remove(std::string_view name) {
        const auto it = names_.find(name);
        if (it == names_.end())
            return;
        const auto fold = folded_.find(name);
        const uint32_t count = fold->second.count - 1;
        folded_.erase(fold); // its key may be the name going
        names_.erase(it);
        if (count == 0)
            return;
        // Another spelling stays: the earliest of them is found from now on.
        std::string_view first;
        uint64_t order = UINT64_MAX;
        for (const auto& [other, entry] : names_) {
            if (entry.order < order && equalsNoCase(other, name)) {
                first = other;
                order = entry.order;
            }
        }
        folded_.emplace(first, Folded{first, count});
    }

    std::optional<ListedName> find(std::string_view name) const {
        auto it = names_.find(name);
        if (it == names_.end()) {
            const auto fold = folded_.find(name);
            if (fold == folded_.end())
                return std::nullopt;
            it = names_.find(fold->second.first);
        }
        return ListedName{it->first, it->second.kind, it->second.target};
    }

    void all(std::vector<ListedName>& out) const {
        out.reserve(out.size() + names_.size());
        for (const auto& [name, entry] : names_)
            out.push_back(ListedName{name, entry.kind, entry.target});
    }

    HostKind kindOf(std::string_view name) const {
        const auto it = names_.find(name);
        return it == names_.end() ? HostKind::None : it->second.kind;
    }

private:
    bool read_ = false;
    bool leftovers_ = false;
    uint64_t next_ = 0;
    std::unordered_map<std::string, Entry, ExactHash, std::equal_to<>> names_;
    std::unordered_map<std::string_view, Folded, FoldHash, FoldEqual> folded_;
};

struct Listings {
    int depth = 0;
    std::unordered_map<std::string, std::unique_ptr<Listing>, ExactHash, std::equal_to<>> folders;
    std::unordered_map<std::string, ResolvedFolder, ExactHash, std::equal_to<>> resolved;
    std::array<std::optional<std::string>, 26> drives;
};

thread_local Listings* current = nullptr;

// The folder a listing is kept under: no separator at the end but for the root.
std::string_view folderKey(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

// The folder and the name of `host`.
std::pair<std::string_view, std::string_view> splitHost(std::string_view host) {
    host = folderKey(host);
    const size_t cut = host.rfind('/');
    if (cut == std::string_view::npos)
        return {std::string_view(), host};
    return {cut == 0 ? host.substr(0, 1) : host.substr(0, cut), host.substr(cut + 1)};
}

Listing* known(std::string_view folder) {
    const auto it = current->folders.find(folderKey(folder));
    return it == current->folders.end() ? nullptr : it->second.get();
}

Listing& listing(std::string_view folder, bool sweep, size_t* leftovers, int openFd = -1) {
    const std::string_view key = folderKey(folder);
    auto it = current->folders.find(key);
    if (it == current->folders.end()) {
        it = current->folders.emplace(std::string(key), std::make_unique<Listing>()).first;
        const int fd = openFd >= 0 ? openFd
                                   : ::open(key.empty() ? "." : it->first.c_str(),
                                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            it->second->read(fd);
            if (sweep && it->second->hasLeftovers()) {
                const size_t removed = removeLeftoversAt(fd);
                if (leftovers)
                    *leftovers += removed;
                it->second->sweptLeftovers();
            }
            if (fd != openFd)
                ::close(fd);
        }
        return *it->second;
    }
    Listing& found = *it->second;
    if (sweep && found.hasLeftovers()) {
        const size_t removed = removeLeftovers(std::filesystem::path(it->first));
        if (leftovers)
            *leftovers += removed;
        found.sweptLeftovers();
    }
    return found;
}

// Paths resolved before a change may resolve otherwise after it.
void forgetResolved() {
    if (!current->resolved.empty())
        current->resolved = {}; // clearing would keep sweeping a large table for every change
}

// Forgets the listings of `folder` and of every folder below it.
void forgetBelow(std::string_view folder) {
    folder = folderKey(folder);
    auto& folders = current->folders;
    if (folder.empty()) {
        folders.clear(); // a relative path: anything may lie below the working folder
        return;
    }
    for (auto it = folders.begin(); it != folders.end();) {
        const std::string_view key = it->first;
        const bool below = key.size() > folder.size() && key.starts_with(folder) &&
                           (folder.back() == '/' || key[folder.size()] == '/');
        if (key == folder || below)
            it = folders.erase(it);
        else
            ++it;
    }
}

} // namespace

ListingScope::ListingScope(Start start) {
    if (!current)
        current = new Listings;
    else if (start == Start::Fresh) {
        current->folders.clear();
        forgetResolved();
    }
    ++current->depth;
}

ListingScope::~ListingScope() {
    if (--current->depth == 0) {
        delete current;
        current = nullptr;
    }
}

bool listingsActive() {
    return current != nullptr;
}

bool listFolder(std::string_view folder, bool sweep, size_t* leftovers) {
    return current && listing(folder, sweep, leftovers).isRead();
}

bool listFolderAt(int fd, std::string_view folder, bool sweep, size_t* leftovers) {
    return current && listing(folder, sweep, leftovers, fd).isRead();
}

std::optional<ListedName> findListed(std::string_view folder, std::string_view name) {
    if (!current)
        return std::nullopt;
    const Listing& l = listing(folder, false, nullptr);
    return l.isRead() ? l.find(name) : std::nullopt;
}

bool listedNames(std::string_view folder, std::vector<ListedName>& names) {
    if (!current)
        return false;
    const Listing& l = listing(folder, false, nullptr);
    if (!l.isRead())
        return false;
    l.all(names);
    return true;
}

void noteAdded(const std::filesystem::path& host, HostKind kind) {
    if (!current)
        return;
    forgetResolved();
    const auto [folder, name] = splitHost(host.native());
    if (name.empty())
        return;
    if (Listing* parent = known(folder)) {
        if (!parent->isRead()) {
            // It could not be read, and now holds something: read it when next asked.
            current->folders.erase(current->folders.find(folderKey(folder)));
        } else {
            HostKind target = kind;
            if (kind == HostKind::Link) {
                struct stat st;
                target = ::stat(host.c_str(), &st) == 0 ? kindOfMode(st.st_mode) : HostKind::None;
            }
            parent->add(std::string(name), kind, target);
        }
    }
    if (kind != HostKind::File) {
        // A folder that was missing when asked is read when next asked; one read stays.
        const auto self = current->folders.find(folderKey(host.native()));
        if (self != current->folders.end() && !self->second->isRead())
            current->folders.erase(self);
    }
}

void noteRemoved(const std::filesystem::path& host) {
    if (!current)
        return;
    forgetResolved();
    const auto [folder, name] = splitHost(host.native());
    HostKind was = HostKind::Other;
    if (Listing* parent = known(folder); parent && parent->isRead()) {
        was = parent->kindOf(name);
        parent->remove(name);
    }
    if (was != HostKind::File)
        forgetBelow(host.native());
}

void noteChanged(const std::filesystem::path& host) {
    if (!current)
        return;
    forgetResolved();
    forgetBelow(host.native());
}

const ResolvedFolder* findResolved(std::string_view windowsFolder) {
    if (!current)
        return nullptr;
    const auto it = current->resolved.find(windowsFolder);
    return it == current->resolved.end() ? nullptr : &it->second;
}

void rememberResolved(std::string_view windowsFolder, ResolvedFolder resolved) {
    if (current)
        current->resolved.insert_or_assign(std::string(windowsFolder), std::move(resolved));
}

std::string* listedDriveRoot(char lowerLetter) {
    if (!current || lowerLetter < 'a' || lowerLetter > 'z')
        return nullptr;
    auto& slot = current->drives[static_cast<size_t>(lowerLetter - 'a')];
    if (!slot)
        slot.emplace();
    return &*slot;
}

} // namespace vokari::platform
