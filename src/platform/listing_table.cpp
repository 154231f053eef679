#include "platform/listing_table.h"

#include "platform/path_text.h"

#include <algorithm>

namespace vokari::platform {

namespace listing_table {
namespace {

thread_local Listings* currentListings = nullptr;

} // namespace

Listings* current() {
    return currentListings;
}

void Listing::add(std::string name, HostKind kind, HostKind target) {
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

void Listing::remove(std::string_view name) {
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

std::optional<ListedName> Listing::find(std::string_view name) const {
    auto it = names_.find(name);
    if (it == names_.end()) {
        const auto fold = folded_.find(name);
        if (fold == folded_.end())
            return std::nullopt;
        it = names_.find(fold->second.first);
    }
    return ListedName{it->first, it->second.kind, it->second.target};
}

void Listing::all(std::vector<ListedName>& out) const {
    out.reserve(out.size() + names_.size());
    for (const auto& [name, entry] : names_)
        out.push_back(ListedName{name, entry.kind, entry.target});
}

HostKind Listing::kindOf(std::string_view name) const {
    const auto it = names_.find(name);
    return it == names_.end() ? HostKind::None : it->second.kind;
}

namespace {

// How much of `path` is its root ("/", "C:\"), which a key keeps.
size_t rootSize(std::string_view path) {
#ifdef _WIN32
    if (path.size() >= 3 && path[1] == ':' && isSeparator(path[2]))
        return 3;
#endif
    return !path.empty() && isSeparator(path[0]) ? 1 : 0;
}

} // namespace

std::string_view folderKey(std::string_view path) {
    const size_t root = std::max<size_t>(rootSize(path), 1);
    while (path.size() > root && isSeparator(path.back()))
        path.remove_suffix(1);
    return path;
}

} // namespace listing_table

using namespace listing_table;

namespace {

// The folder and the name of `host`.
std::pair<std::string_view, std::string_view> splitHost(std::string_view host) {
    host = folderKey(host);
    size_t cut = host.size();
    while (cut > 0 && !isSeparator(host[cut - 1]))
        --cut;
    if (cut == 0)
        return {std::string_view(), host};
    const std::string_view name = host.substr(cut);
    std::string_view folder = host.substr(0, cut - 1);
    if (folderKey(host.substr(0, cut)).size() == cut)
        folder = host.substr(0, cut); // the root keeps its separator
    return {folder, name};
}

Listing* known(std::string_view folder) {
    const auto it = current()->folders.find(folderKey(folder));
    return it == current()->folders.end() ? nullptr : it->second.get();
}

// Paths resolved before a change may resolve otherwise after it.
void forgetResolved() {
    if (!current()->resolved.empty())
        current()->resolved = {}; // clearing would keep sweeping a large table for every change
}

// Forgets the listings of `folder` and of every folder below it.
void forgetBelow(std::string_view folder) {
    folder = folderKey(folder);
    auto& folders = current()->folders;
    if (folder.empty()) {
        folders.clear(); // a relative path: anything may lie below the working folder
        return;
    }
    for (auto it = folders.begin(); it != folders.end();) {
        const std::string_view key = it->first;
        const bool below = key.size() > folder.size() &&
                           FolderEqual{}(key.substr(0, folder.size()), folder) &&
                           (isSeparator(folder.back()) || isSeparator(key[folder.size()]));
        if (below || FolderEqual{}(key, folder))
            it = folders.erase(it);
        else
            ++it;
    }
}

} // namespace

ListingScope::ListingScope(Start start) {
    if (!current())
        currentListings = new Listings;
    else if (start == Start::Fresh) {
        current()->folders.clear();
        forgetResolved();
    }
    ++current()->depth;
}

ListingScope::~ListingScope() {
    if (--current()->depth == 0) {
        delete currentListings;
        currentListings = nullptr;
    }
}

bool listingsActive() {
    return current() != nullptr;
}

bool listFolder(std::string_view folder, bool sweep, size_t* leftovers) {
    return current() && listing(folder, sweep, leftovers).isRead();
}

std::optional<ListedName> findListed(std::string_view folder, std::string_view name) {
    if (!current())
        return std::nullopt;
    const Listing& l = listing(folder, false, nullptr);
    return l.isRead() ? l.find(name) : std::nullopt;
}

bool listedNames(std::string_view folder, std::vector<ListedName>& names) {
    if (!current())
        return false;
    const Listing& l = listing(folder, false, nullptr);
    if (!l.isRead())
        return false;
    l.all(names);
    return true;
}

void noteAdded(const std::filesystem::path& host, HostKind kind) {
    if (!current())
        return;
    forgetResolved();
    const auto& text = hostText(host);
    const auto [folder, name] = splitHost(text);
    if (name.empty())
        return;
    if (Listing* parent = known(folder)) {
        if (!parent->isRead()) {
            // It could not be read, and now holds something: read it when next asked.
            current()->folders.erase(current()->folders.find(folderKey(folder)));
        } else {
            const HostKind target = kind == HostKind::Link ? linkTargetKind(host) : kind;
            parent->add(std::string(name), kind, target);
        }
    }
    if (kind != HostKind::File) {
        // A folder that was missing when asked is read when next asked; one read stays.
        const auto self = current()->folders.find(folderKey(text));
        if (self != current()->folders.end() && !self->second->isRead())
            current()->folders.erase(self);
    }
}

void noteRemoved(const std::filesystem::path& host) {
    if (!current())
        return;
    forgetResolved();
    const auto& text = hostText(host);
    const auto [folder, name] = splitHost(text);
    HostKind was = HostKind::Other;
    if (Listing* parent = known(folder); parent && parent->isRead()) {
        was = parent->kindOf(name);
        parent->remove(name);
    }
    if (was != HostKind::File)
        forgetBelow(text);
}

void noteChanged(const std::filesystem::path& host) {
    if (!current())
        return;
    forgetResolved();
    forgetBelow(hostText(host));
}

const ResolvedFolder* findResolved(std::string_view windowsFolder) {
    if (!current())
        return nullptr;
    const auto it = current()->resolved.find(windowsFolder);
    return it == current()->resolved.end() ? nullptr : &it->second;
}

void rememberResolved(std::string_view windowsFolder, ResolvedFolder resolved) {
    if (current())
        current()->resolved.insert_or_assign(std::string(windowsFolder), std::move(resolved));
}

std::string* listedDriveRoot(char lowerLetter) {
    if (!current() || lowerLetter < 'a' || lowerLetter > 'z')
        return nullptr;
    auto& slot = current()->drives[static_cast<size_t>(lowerLetter - 'a')];
    if (!slot)
        slot.emplace();
    return &*slot;
}

} // namespace vokari::platform
