#include "platform/profile.h"

#include "common/error.h"
#include "common/text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"

#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

namespace vokari::platform {
namespace {

struct Line {
    size_t begin = 0; // first byte of the line
    size_t end = 0;   // end of its text, before the line end
    size_t next = 0;  // first byte after its line end
};

std::vector<Line> splitLines(std::string_view bytes) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t nl = bytes.find('\n', pos);
        Line line;
        line.begin = pos;
        if (nl == std::string_view::npos) {
            line.end = line.next = bytes.size();
        } else {
            line.end = (nl > pos && bytes[nl - 1] == '\r') ? nl - 1 : nl;
            line.next = nl + 1;
        }
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// A section header's name, folded for matching; nothing when the line is not a header.
std::optional<std::string> sectionName(std::string_view text) {
    const std::string_view t = trimView(text);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const size_t close = t.find(']');
    const std::string_view name =
        close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1);
    return asciiLower(ansiToUtf8(trimView(name)));
}

struct KeyLine {
    std::string foldedKey;
    std::string_view rawValue; // bytes after "=", untrimmed
};

std::optional<KeyLine> keyLine(std::string_view text) {
    const std::string_view t = trimView(text);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return std::nullopt;
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return KeyLine{asciiLower(ansiToUtf8(trimView(text.substr(0, eq)))), text.substr(eq + 1)};
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Cut to at most `limit` bytes without splitting a double-byte character.
std::string_view cutBytes(std::string_view bytes, size_t limit) {
    if (bytes.size() <= limit)
        return bytes;
    const std::string cp = asciiLower(ansiCodePage());
    const bool shiftJis = cp == "cp932" || cp == "shift_jis" || cp == "sjis" || cp == "ms932";
    if (!shiftJis)
        return bytes.substr(0, limit);
    size_t pos = 0;
    while (pos < limit) {
        const auto c = static_cast<unsigned char>(bytes[pos]);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        const size_t width = lead ? 2 : 1;
        if (pos + width > limit)
            break;
        pos += width;
    }
    return bytes.substr(0, pos);
}

std::string finishValue(std::string_view rawBytes) {
    return ansiToUtf8(trimView(cutBytes(trimView(rawBytes), 255)));
}

// section -> key -> raw value bytes (trimmed and unquoted), first occurrence wins.
using Parsed = std::unordered_map<std::string, std::unordered_map<std::string, std::string>>;

Parsed parse(std::string_view bytes) {
    Parsed parsed;
    std::unordered_map<std::string, std::string>* current = nullptr;
    bool firstOfName = false;
    for (const Line& line : splitLines(bytes)) {
        const std::string_view text = bytes.substr(line.begin, line.end - line.begin);
        if (auto name = sectionName(text)) {
            firstOfName = !parsed.count(*name);
            current = &parsed[*name];
            continue;
        }
        if (!current || !firstOfName)
            continue;
        if (auto key = keyLine(text))
            current->emplace(std::move(key->foldedKey),
                             std::string(unquote(trimView(key->rawValue))));
    }
    return parsed;
}

struct CacheEntry {
    FileStamp stamp;
    Parsed parsed;
};

std::mutex& cacheMutex() {
    static std::mutex m;
    return m;
}

std::unordered_map<std::string, CacheEntry>& cache() {
    static std::unordered_map<std::string, CacheEntry> c;
    return c;
}

std::string_view detectLineEnd(std::string_view bytes) {
    const size_t nl = bytes.find('\n');
    if (nl == std::string_view::npos || (nl > 0 && bytes[nl - 1] == '\r'))
        return "\r\n";
    return "\n";
}

} // namespace

std::string readIniString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::string_view file) {
    const std::filesystem::path hostFile = hostPath(file);
    const std::string host = hostFile.string();
    std::lock_guard lock(cacheMutex());
    const auto stamp = hostFileStamp(hostFile);
    if (!stamp) {
        cache().erase(host);
        return finishValue(utf8ToAnsi(defaultValue));
    }
    auto hit = cache().find(host);
    if (hit == cache().end() || !(hit->second.stamp == *stamp)) {
        std::string bytes;
        try {
            bytes = readHostFile(hostFile);
        } catch (const IoError&) {
            return finishValue(utf8ToAnsi(defaultValue));
        }
        hit = cache().insert_or_assign(host, CacheEntry{*stamp, parse(bytes)}).first;
    }
    const Parsed& parsed = hit->second.parsed;
    const auto sec = parsed.find(asciiLower(trimView(section)));
    if (sec != parsed.end()) {
        const auto value = sec->second.find(asciiLower(trimView(key)));
        if (value != sec->second.end())
            return finishValue(value->second);
    }
    return finishValue(utf8ToAnsi(defaultValue));
}

void writeIniString(std::string_view section, std::string_view key, std::string_view value,
                    std::string_view file) {
    const std::filesystem::path hostFile = hostPath(file);
    const std::string host = hostFile.string();
    const std::string sectionBytes = utf8ToAnsi(trimView(section));
    const std::string keyBytes = utf8ToAnsi(trimView(key));
    const std::string valueBytes = utf8ToAnsi(value);
    const std::string foldedSection = asciiLower(trimView(section));
    const std::string foldedKey = asciiLower(trimView(key));

    std::lock_guard lock(cacheMutex());
    std::string bytes;
    if (hostFileStamp(hostFile))
        bytes = readHostFile(hostFile);
    const std::string_view eol = detectLineEnd(bytes);
    const std::vector<Line> lines = splitLines(bytes);

    std::optional<size_t> sectionLine;
    std::optional<size_t> keyIndex;
    std::optional<size_t> lastContent; // last non-blank line of the section
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view text =
            std::string_view(bytes).substr(lines[i].begin, lines[i].end - lines[i].begin);
        if (auto name = sectionName(text)) {
            if (sectionLine)
                break;
            if (*name == foldedSection) {
                sectionLine = i;
                lastContent = i;
            }
            continue;
        }
        if (!sectionLine)
            continue;
        if (!trimView(text).empty())
            lastContent = i;
        if (auto k = keyLine(text); k && k->foldedKey == foldedKey) {
            keyIndex = i;
            break;
        }
    }

    std::string out;
    if (keyIndex) {
        // Keep the key as the file spells it; the line end stays as it was.
        const Line& line = lines[*keyIndex];
        const std::string_view text =
            std::string_view(bytes).substr(line.begin, line.end - line.begin);
        const std::string_view fileKey = trimView(text.substr(0, text.find('=')));
        out.append(bytes, 0, line.begin);
        out.append(fileKey).append("=").append(valueBytes);
        out.append(bytes, line.end, std::string::npos);
    } else if (sectionLine) {
        const Line& after = lines[*lastContent];
        out.append(bytes, 0, after.next);
        if (after.next == after.end)
            out.append(eol); // the section ended the file without a line end
        out.append(keyBytes).append("=").append(valueBytes).append(eol);
        out.append(bytes, after.next, std::string::npos);
    } else {
        out = bytes;
        if (!out.empty() && out.back() != '\n')
            out.append(eol);
        out.append("[").append(sectionBytes).append("]").append(eol);
        out.append(keyBytes).append("=").append(valueBytes).append(eol);
    }

    writeFileAtomic(host, out);
    if (const auto stamp = hostFileStamp(hostFile))
        cache().insert_or_assign(host, CacheEntry{*stamp, parse(out)});
    else
        cache().erase(host);
}

void clearProfileCache() {
    std::lock_guard lock(cacheMutex());
    cache().clear();
}

} // namespace vokari::platform
