#include "platform/host_paths.h"

#include "platform/path_text.h"

#include <vector>

namespace fs = std::filesystem;

// On Windows a Windows path names its file as it stands: no prefix, no drive links, and the
// file system itself matches names without regard to case. Only the spelling is made one.
namespace vokari::platform {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// The path with "\" between its parts, repeated separators as one, and "." and ".." taken by
// their text (no further up than where the path starts); `dots` tells whether it had either.
std::string normalized(std::string_view path, bool& dots) {
    dots = false;
    std::string out;
    size_t pos = 0;
    // Where the path starts: "\\server\share\", "C:\", "C:", "\" or nothing.
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        out = "\\\\";
        pos = 2;
    } else if (path.size() >= 2 && path[1] == ':') {
        out.assign(path.substr(0, 2));
        pos = 2;
        if (pos < path.size() && isSeparator(path[pos])) {
            out += '\\';
            ++pos;
        }
    } else if (!path.empty() && isSeparator(path[0])) {
        out = "\\";
        pos = 1;
    }
    const size_t root = out.size();
    std::vector<size_t> ends; // the length of `out` before each part kept
    while (pos <= path.size()) {
        size_t end = pos;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        const std::string_view part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty())
            continue;
        if (part == ".") {
            dots = true;
            continue;
        }
        if (part == "..") {
            dots = true;
            if (!ends.empty()) {
                out.resize(ends.back());
                ends.pop_back();
            }
            continue;
        }
        ends.push_back(out.size());
        if (out.size() > root)
            out += '\\';
        out.append(part);
    }
    return out;
}

} // namespace

fs::path hostPath(std::string_view windowsPath) {
    return pathFromUtf8(hostPathText(windowsPath));
}

std::string hostPathText(std::string_view windowsPath) {
    bool dots = false;
    std::string out = normalized(windowsPath, dots);
    return out.empty() ? std::string(".") : out;
}

std::optional<HostKind> hostPathKind(std::string_view windowsPath, std::string& host) {
    // The system knows best what is there.
    host = hostPathText(windowsPath);
    return std::nullopt;
}

std::optional<std::string> hostPathAsSpelled(std::string_view windowsPath) {
    bool dots = false;
    std::string out = normalized(windowsPath, dots);
    if (dots || out.empty())
        return std::nullopt;
    return out;
}

std::string displayPath(std::string_view windowsPath) {
    std::string host = hostPathText(windowsPath);
    const bool folder = !windowsPath.empty() && isSeparator(windowsPath.back());
    if (folder && host.back() != '\\')
        host += '\\';
    return host;
}

std::string windowsPath(const fs::path& host) {
    std::error_code ec;
    fs::path absolute = fs::absolute(host, ec);
    if (ec)
        absolute = host;
    bool dots = false;
    std::string out = normalized(utf8Of(absolute.lexically_normal()), dots);
    if (out.size() == 2 && out[1] == ':')
        out += '\\';
    return out;
}

} // namespace vokari::platform
