#include "common/file_helpers.h"

#include "platform/file_system.h"
#include "platform/folder_listings.h"
#include "platform/text.h"

#include <vector>

namespace vokari {
namespace {

std::vector<std::string_view> splitAll(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> parts;
    if (separator.empty()) {
        parts.push_back(text);
        return parts;
    }
    size_t start = 0;
    while (true) {
        const size_t hit = text.find(separator, start);
        if (hit == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, hit - start));
        start = hit + separator.size();
    }
}

bool hasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

} // namespace

bool fileExists(std::string_view path) {
    if (path.empty())
        return false;
    const size_t cut = path.find_last_of("\\/");
    const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
    if (name.empty())
        return false;
    if (!hasWildcard(name)) {
        const auto attributes = platform::fileAttributes(path);
        return attributes && !(*attributes & (platform::kAttrDirectory | platform::kAttrHidden |
                                              platform::kAttrSystem));
    }
    const std::string_view folder = cut == std::string_view::npos ? "." : path.substr(0, cut + 1);
    for (const auto& entry : platform::listDirectory(folder))
        if (!entry.isDirectory() && platform::matchesPattern(entry.name, name))
            return true;
    return false;
}

std::string crLfLines(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            out.append(bytes, pos, std::string::npos).append(kCrLf);
            break;
        }
        out.append(bytes, pos, end - pos).append(kCrLf);
        pos = end +
              ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
    }
    return out;
}

void copyTextFile(std::string_view source, std::string_view target) {
    if (!fileExists(source))
        return;
    platform::writeFileAtomic(target, crLfLines(platform::readFileBytes(source)));
}

void splitPath(std::string_view path, std::string& folder, std::string& fileName,
               std::string_view separator) {
    const auto parts = splitAll(path, separator);
    folder.clear();
    if (parts.size() < 2) {
        fileName = std::string(path);
        return;
    }
    for (size_t i = 0; i + 1 < parts.size(); ++i)
        folder.append(parts[i]).append("\\");
    fileName = std::string(parts.back());
}

std::string lastPathElement(std::string_view path, std::string_view separator) {
    if (separator.empty())
        return std::string(path);
    const size_t hit = path.rfind(separator);
    return std::string(hit == std::string_view::npos ? path : path.substr(hit + separator.size()));
}

std::string parentPath(std::string_view path, std::string_view separator) {
    if (separator.empty())
        return {};
    std::string_view p = path;
    // a\b\ names the folder a\b, whose parent is a... but the result for a\b\ is a\b: the last
    // separator is the trailing one.
    const size_t hit = p.rfind(separator);
    if (hit == std::string_view::npos)
        return {};
    return std::string(p.substr(0, hit));
}

std::string fileExtension(std::string_view path) {
    const size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
}

std::string removeExtension(std::string_view path) {
    if (fileExtension(path).empty())
        return std::string(path);
    return std::string(path.substr(0, path.rfind('.')));
}

std::string abbreviatePath(std::string_view path, int32_t maxLength, std::string_view separator) {
    if (path.empty())
        return {};
    const auto parts = splitAll(path, separator);
    if (parts.size() < 2)
        return std::string(path);
    const std::string_view last = parts.back();
    int64_t count = static_cast<int64_t>(last.size()) + 1;
    std::string prefix;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        count += static_cast<int64_t>(parts[i].size()) + 1;
        if (count > maxLength) {
            prefix.append("...\\");
            break;
        }
        prefix.append(parts[i]).append("\\");
    }
    return prefix.append(last);
}

std::string findFileInTree(std::string_view fileName, std::string_view rootPath) {
    if (fileName.empty() || rootPath.empty())
        return {};
    const platform::ListingScope listings;
    std::vector<std::string> pending{std::string(rootPath)};
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        std::vector<std::string> subFolders;
        for (const auto& entry : platform::listDirectory(folder)) {
            const std::string full = joinPath(folder, entry.name);
            if (entry.isDirectory()) {
                if (!entry.isLink())
                    subFolders.push_back(full);
            } else if (equalsNoCase(entry.name, fileName)) {
                return full;
            }
        }
        // depth first, in listing order
        pending.insert(pending.end(), subFolders.rbegin(), subFolders.rend());
    }
    return {};
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (!out.empty() && out.back() != '\\' && out.back() != '/')
        out += '\\';
    return out.append(name);
}

std::string_view aircraftFileTwin(std::string_view name) {
    if (equalsNoCase(name, "aircraft.cfg"))
        return "aircraft.cfg.rst";
    if (equalsNoCase(name, "aircraft.cfg.rst"))
        return "aircraft.cfg";
    return {};
}

bool isAircraftOwnFolder(std::string_view relative) {
    if (!relative.empty() && (relative.back() == '\\' || relative.back() == '/'))
        relative.remove_suffix(1);
    const size_t cut = relative.find_first_of("\\/");
    if (cut == std::string_view::npos || !equalsNoCase(relative.substr(0, cut), "aircraft"))
        return false;
    const std::string_view name = relative.substr(cut + 1);
    return !name.empty() && name.find_first_of("\\/") == std::string_view::npos;
}

} // namespace vokari
