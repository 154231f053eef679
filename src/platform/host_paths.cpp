#include "platform/host_paths.h"

#include "platform/folder_listings.h"
#include "platform/text.h"

#include <algorithm>
#include <climits>
#include <dirent.h>
#include <iterator>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

bool existsNoFollow(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The on-disk spelling of `name` inside `folder`, matched without regard to case.
std::optional<std::string> findNoCase(const std::string& folder, std::string_view name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> found;
    while (dirent* entry = ::readdir(dir)) {
        if (equalsNoCase(entry->d_name, name)) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

std::vector<std::string_view> splitComponents(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            if (i > start)
                parts.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string resolveDriveRoot(const std::string& link, char lower) {
    std::error_code ec;
    if (fs::exists(link, ec)) {
        const fs::path target = fs::canonical(link, ec);
        return ec ? link : target.string();
    }
    if (lower == 'z')
        return "/";
    return link; // a drive the prefix does not have: nothing will be found there
}

// The prefix's link for a drive. Built as text: every path goes through here, and path
// objects cost allocations.
std::string driveLink(char lower) {
    std::string link = winePrefix().native();
    if (!link.empty() && link.back() != '/')
        link += '/';
    return link.append("dosdevices/").append(1, lower).append(":");
}

std::string readDriveRoot(char lower) {
    const std::string link = driveLink(lower);
    // The canonical form walks the whole prefix path, so it is kept for as long as the drive
    // link reads the same.
    char buffer[PATH_MAX];
    const ssize_t size = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (size < 0 || static_cast<size_t>(size) >= sizeof buffer)
        return resolveDriveRoot(link, lower);
    struct Known {
        std::string target;
        std::string root;
    };
    static std::mutex mutex;
    static std::unordered_map<std::string, Known> known;
    const std::string_view target(buffer, static_cast<size_t>(size));
    std::lock_guard lock(mutex);
    const auto hit = known.find(link);
    if (hit != known.end() && hit->second.target == target)
        return hit->second.root;
    std::string root = resolveDriveRoot(link, lower);
    std::error_code ec;
    if (fs::is_directory(root, ec))
        known.insert_or_assign(link, Known{std::string(target), root});
    return root;
}

std::string driveRoot(char letter) {
    const char lower = asciiLower(letter);
    // Within an operation the drive stays where it was.
    std::string* known = listedDriveRoot(lower);
    if (known && !known->empty())
        return *known;
    std::string root = readDriveRoot(lower);
    if (known)
        *known = root;
    return root;
}

std::string_view startOf(std::string_view path, std::string& base);

// A path resolved part by part from the scope's listings: the same matching as hostPathText's,
// each folder read once.
struct ListedWalk {
    std::string out;
    std::vector<size_t> ends;     // the length of `out` before each part resolved so far
    bool missing = false;         // a part was not there: the rest keep their spelling
    bool askedSystem = false;     // a folder could not be read, so the system was asked
    std::optional<HostKind> kind; // what the last part is, when the listings tell

    void step(std::string_view part) {
        if (part == ".") {
            kind.reset();
            return;
        }
        if (part == "..") {
            if (!ends.empty()) {
                out.resize(ends.back());
                ends.pop_back();
            }
            kind.reset();
            return;
        }
        ends.push_back(out.size());
        std::optional<ListedName> found;
        bool readable = false;
        if (!missing) {
            found = findListed(out, part);
            readable = found || listFolder(out);
        }
        if (!out.empty() && out.back() != '/')
            out += '/';
        if (found) {
            out.append(found->name);
            kind = found->target;
            return;
        }
        out.append(part);
        kind = HostKind::None;
        if (!missing && !readable) {
            // Not readable, perhaps only passable: the system checks the name itself.
            askedSystem = true;
            kind.reset();
            if (existsNoFollow(out))
                return;
        }
        missing = true;
    }

    std::string result() { return out.empty() ? std::string(".") : std::move(out); }
};

ListedWalk walkListed(std::string base, std::string_view rest) {
    ListedWalk walk;
    walk.out = std::move(base);
    for (const std::string_view part : splitComponents(rest))
        walk.step(part);
    return walk;
}

// The host file of `path` from the scope's listings, and what is there when they tell. The
// folder part is resolved once for all the names looked up in it.
std::string resolveListed(std::string_view path, std::optional<HostKind>* last) {
    const size_t cut = path.find_last_of("\\/");
    const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
    std::string base;
    if (cut == std::string_view::npos || cut == 0 || name.empty() || name == "." || name == "..") {
        const std::string_view rest = startOf(path, base);
        ListedWalk walk = walkListed(std::move(base), rest);
        if (last)
            *last = walk.kind;
        return walk.result();
    }
    const std::string_view folder = path.substr(0, cut);
    ListedWalk walk;
    if (const ResolvedFolder* known = findResolved(folder)) {
        walk.out = known->host;
        walk.missing = known->missing;
    } else {
        const std::string_view rest = startOf(folder, base);
        walk = walkListed(std::move(base), rest);
        if (!walk.askedSystem)
            rememberResolved(folder, ResolvedFolder{walk.out, walk.missing});
    }
    walk.step(name);
    if (last)
        *last = walk.kind;
    return walk.result();
}

} // namespace

fs::path hostPath(std::string_view path) {
    return fs::path(hostPathText(path));
}

std::optional<std::string> hostPathAsSpelled(std::string_view path) {
    std::string out;
    std::string_view rest = path;
    if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':') {
        const char lower = asciiLower(path[0]);
        out = driveLink(lower);
        if (lower == 'z' && !fs::exists(out))
            out = "/";
        rest = path.substr(2);
    } else if (!path.empty() && (path[0] == '/' || path[0] == '\\')) {
        out = "/";
    }
    // Part by part in place: every file the catalogue reads comes through here.
    out.reserve(out.size() + rest.size() + 1);
    size_t start = 0;
    for (size_t i = 0; i <= rest.size(); ++i) {
        if (i < rest.size() && rest[i] != '\\' && rest[i] != '/')
            continue;
        const std::string_view part = rest.substr(start, i - start);
        start = i + 1;
        if (part.empty())
            continue;
        if (part == "." || part == "..")
            return std::nullopt;
        if (!out.empty() && out.back() != '/')
            out += '/';
        out.append(part);
    }
    if (out.empty())
        return std::nullopt;
    return out;
}

namespace {

// The folder a path starts from (a drive's, the root, or none for a relative path) and the
// rest of it.
std::string_view startOf(std::string_view path, std::string& base) {
    if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':') {
        base = driveRoot(path[0]);
        return path.substr(2);
    }
    if (!path.empty() && (path[0] == '/' || path[0] == '\\'))
        base = "/";
    return path;
}

} // namespace

std::optional<HostKind> hostPathKind(std::string_view path, std::string& host) {
    if (!listingsActive()) {
        host = hostPathText(path);
        return std::nullopt;
    }
    std::optional<HostKind> kind;
    host = resolveListed(path, &kind);
    return kind;
}

std::string hostPathText(std::string_view path) {
    if (listingsActive())
        return resolveListed(path, nullptr);
    std::string base;
    const std::string_view rest = startOf(path, base);
    const std::vector<std::string_view> parts = splitComponents(rest);

    std::vector<std::string> resolved;
    bool missing = false;
    size_t first = 0; // the first part still to be matched
    auto current = [&] {
        std::string out = base;
        for (const auto& part : resolved) {
            if (!out.empty() && out.back() != '/')
                out += '/';
            out += part;
        }
        return out;
    };

    // Most paths are spelled as on disk. Without "." and "..", the longest leading part that
    // exists as spelled is what the part-by-part match below would find, so only the rest needs
    // matching: usually nothing, or the last name.
    const bool plain = std::none_of(parts.begin(), parts.end(), [](std::string_view part) {
        return part == "." || part == "..";
    });
    if (plain && !parts.empty()) {
        std::string spelled = base;
        std::vector<size_t> ends;
        for (std::string_view part : parts) {
            if (!spelled.empty() && spelled.back() != '/')
                spelled += '/';
            spelled.append(part);
            ends.push_back(spelled.size());
        }
        size_t existing = parts.size();
        while (existing > 0 && !existsNoFollow(spelled.substr(0, ends[existing - 1])))
            --existing;
        if (existing == parts.size())
            return spelled;
        resolved.assign(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(existing));
        first = existing;
    }

    for (size_t i = first; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        if (part == ".")
            continue;
        if (part == "..") {
            if (!resolved.empty())
                resolved.pop_back();
            continue;
        }
        if (!missing) {
            const std::string folder = current();
            std::string candidate = folder;
            if (!candidate.empty() && candidate.back() != '/')
                candidate += '/';
            candidate.append(part);
            if (existsNoFollow(candidate)) {
                resolved.emplace_back(part);
                continue;
            }
            if (auto onDisk = findNoCase(folder, part)) {
                resolved.push_back(*onDisk);
                continue;
            }
            missing = true;
        }
        resolved.emplace_back(part);
    }
    std::string out = current();
    return out.empty() ? std::string(".") : out;
}

std::string displayPath(std::string_view windowsPath) {
    std::string host = hostPathText(windowsPath);
    const bool folder =
        !windowsPath.empty() && (windowsPath.back() == '\\' || windowsPath.back() == '/');
    if (folder && (host.empty() || host.back() != '/'))
        host += '/';
    return host;
}

std::string windowsPath(const fs::path& host) {
    std::error_code ec;
    fs::path target = fs::weakly_canonical(fs::absolute(host, ec), ec);
    if (ec)
        target = fs::absolute(host).lexically_normal();

    char bestLetter = 'z';
    fs::path bestRoot = "/";
    size_t bestDepth = 0;
    const fs::path devices = winePrefix() / "dosdevices";
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const fs::path link = devices / (std::string(1, letter) + ":");
        std::error_code linkEc;
        if (!fs::exists(link, linkEc))
            continue;
        const fs::path root = fs::weakly_canonical(link, linkEc);
        if (linkEc)
            continue;
        auto [rootEnd, targetIt] =
            std::mismatch(root.begin(), root.end(), target.begin(), target.end());
        if (rootEnd != root.end() && !(std::next(rootEnd) == root.end() && rootEnd->empty()))
            continue;
        const size_t depth = static_cast<size_t>(std::distance(root.begin(), root.end()));
        if (depth > bestDepth) {
            bestDepth = depth;
            bestLetter = letter;
            bestRoot = root;
        }
    }

    std::string out(1, static_cast<char>(bestLetter - 'a' + 'A'));
    out += ':';
    const fs::path relative = target.lexically_relative(bestRoot);
    for (const auto& part : relative) {
        if (part == ".")
            continue;
        out += '\\';
        out += part.string();
    }
    if (out.size() == 2)
        out += '\\';
    return out;
}

} // namespace vokari::platform
