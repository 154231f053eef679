#pragma once

#include "platform/folder_listings.h"
#include "platform/text.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What the folder listings keep, the same on every system; folder_listings.cpp and its Windows
// side read the folders into it. Used by platform/ only.
namespace vokari::platform::listing_table {

struct ExactHash {
    // The standard library's name for heterogeneous lookup.
    using is_transparent = void; // NOLINT(readability-identifier-naming)
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// FNV-1a over the bytes of `s` as `fold` gives them: names that fold alike hash alike.
template <typename Fold> size_t foldedHash(std::string_view s, Fold fold) {
    uint64_t h = 14695981039346656037ull;
    for (const char c : s)
        h = (h ^ static_cast<unsigned char>(fold(c))) * 1099511628211ull;
    return static_cast<size_t>(h);
}

// Names that differ only in ASCII letter case hash and compare alike.
struct FoldHash {
    size_t operator()(std::string_view s) const {
        return foldedHash(s, [](char c) { return asciiLower(c); });
    }
};
struct FoldEqual {
    bool operator()(std::string_view a, std::string_view b) const { return equalsNoCase(a, b); }
};

#ifdef _WIN32
inline bool isSeparator(char c) {
    return c == '\\' || c == '/';
}
// Host folder paths as keys: "C:\A" and "c:/a" are one folder.
inline char folderKeyChar(char c) {
    return c == '/' ? '\\' : asciiLower(c);
}
struct FolderHash {
    using is_transparent = void; // NOLINT(readability-identifier-naming)
    size_t operator()(std::string_view s) const { return foldedHash(s, folderKeyChar); }
};
struct FolderEqual {
    using is_transparent = void; // NOLINT(readability-identifier-naming)
    bool operator()(std::string_view a, std::string_view b) const {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (folderKeyChar(a[i]) != folderKeyChar(b[i]))
                return false;
        return true;
    }
};
#else
inline bool isSeparator(char c) {
    return c == '/';
}
using FolderHash = ExactHash;
using FolderEqual = std::equal_to<>;
#endif

struct Entry {
    HostKind kind = HostKind::None;
    HostKind target = HostKind::None;
    uint64_t order = 0; // listed first, or made first, is found first
};

struct Folded {
    std::string_view first; // a key of `names`
    uint32_t count = 0;
};

// What one folder holds.
class Listing {
public:
    bool isRead() const { return read_; }
    void markRead() { read_ = true; }
    bool hasLeftovers() const { return leftovers_; }
    void sawLeftovers() { leftovers_ = true; }
    void sweptLeftovers() { leftovers_ = false; }

    void add(std::string name, HostKind kind, HostKind target);
    void remove(std::string_view name);
    std::optional<ListedName> find(std::string_view name) const;
    void all(std::vector<ListedName>& out) const;
    HostKind kindOf(std::string_view name) const;

private:
    bool read_ = false;
    bool leftovers_ = false;
    uint64_t next_ = 0;
    std::unordered_map<std::string, Entry, ExactHash, std::equal_to<>> names_;
    std::unordered_map<std::string_view, Folded, FoldHash, FoldEqual> folded_;
};

struct Listings {
    int depth = 0;
    std::unordered_map<std::string, std::unique_ptr<Listing>, FolderHash, FolderEqual> folders;
    std::unordered_map<std::string, ResolvedFolder, ExactHash, std::equal_to<>> resolved;
    std::array<std::optional<std::string>, 26> drives;
};

// This thread's, while a scope lives.
Listings* current();

// The folder a listing is kept under: no separator at the end but for the root.
std::string_view folderKey(std::string_view path);

// The listing of `folder`, read when first asked (each system's side); `sweep` as listFolder.
Listing& listing(std::string_view folder, bool sweep, size_t* leftovers);

// What the link `host` leads to (None: nothing), for a link a writer made (each system's side).
HostKind linkTargetKind(const std::filesystem::path& host);

} // namespace vokari::platform::listing_table
