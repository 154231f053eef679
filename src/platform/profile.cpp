#include "platform/profile.h"

#include "common/error.h"
#include "common/text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
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

bool isAsciiText(std::string_view text) {
    for (const unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

// A section or key name folded for matching: decoded from the code page (lowering raw double-
// byte characters would change their trail bytes), then ASCII letters lowered.
std::string foldName(std::string_view raw) {
    const std::string_view name = trimView(raw);
    return asciiLower(isAsciiText(name) ? std::string(name) : ansiToUtf8(name));
}

// A section header's name, folded for matching; nothing when the line is not a header.
std::optional<std::string> sectionName(std::string_view text) {
    const std::string_view t = trimView(text);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const size_t close = t.find(']');
    return foldName(close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1));
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
    return KeyLine{foldName(text.substr(0, eq)), text.substr(eq + 1)};
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

template <typename T> bool nameLess(const T& a, const T& b) {
    return a.name < b.name;
}
template <typename T> bool sameName(const T& a, const T& b) {
    return a.name == b.name;
}

// Sorted by folded name, the first occurrence of each name only: that is the one Windows finds.
template <typename T> void keepFirstOfEachName(std::vector<T>& items) {
    std::stable_sort(items.begin(), items.end(), nameLess<T>);
    items.erase(std::unique(items.begin(), items.end(), sameName<T>), items.end());
}

} // namespace

// The file's bytes with an index of its sections and keys; values stay in the bytes and are
// decoded only when asked for, so a file is parsed at about the speed it is read.
struct ParsedProfile {
    struct Key {
        std::string name; // folded
        size_t valueBegin = 0;
        size_t valueSize = 0; // trimmed and unquoted
    };
    struct Section {
        std::string name; // folded
        std::vector<Key> keys;
    };

    std::string bytes;
    std::vector<Section> sections;

    std::optional<std::string_view> find(std::string_view foldedSection,
                                         std::string_view foldedKey) const {
        const auto sec =
            std::lower_bound(sections.begin(), sections.end(), foldedSection,
                             [](const Section& s, std::string_view name) { return s.name < name; });
        if (sec == sections.end() || sec->name != foldedSection)
            return std::nullopt;
        const auto key =
            std::lower_bound(sec->keys.begin(), sec->keys.end(), foldedKey,
                             [](const Key& k, std::string_view name) { return k.name < name; });
        if (key == sec->keys.end() || key->name != foldedKey)
            return std::nullopt;
        return std::string_view(bytes).substr(key->valueBegin, key->valueSize);
    }
};

namespace {

std::shared_ptr<const ParsedProfile> parse(std::string bytes) {
    auto parsed = std::make_shared<ParsedProfile>();
    parsed->bytes = std::move(bytes);
    const std::string_view all = parsed->bytes;
    auto& sections = parsed->sections;
    bool inSection = false;
    size_t pos = 0;
    while (pos < all.size()) {
        const size_t nl = all.find('\n', pos);
        size_t end = all.size();
        size_t next = all.size();
        if (nl != std::string_view::npos) {
            end = (nl > pos && all[nl - 1] == '\r') ? nl - 1 : nl;
            next = nl + 1;
        }
        const std::string_view text = all.substr(pos, end - pos);
        pos = next;
        if (auto name = sectionName(text)) {
            sections.push_back(ParsedProfile::Section{std::move(*name), {}});
            inSection = true;
            continue;
        }
        if (!inSection)
            continue;
        const std::string_view t = trimView(text);
        if (t.empty() || t.front() == ';')
            continue;
        const size_t eq = text.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view value = unquote(trimView(text.substr(eq + 1)));
        sections.back().keys.push_back(
            ParsedProfile::Key{foldName(text.substr(0, eq)),
                               static_cast<size_t>(value.data() - all.data()), value.size()});
    }
    // A repeated section is not read; neither is a repeated key.
    keepFirstOfEachName(sections);
    for (auto& section : sections)
        keepFirstOfEachName(section.keys);
    return parsed;
}

std::string lookup(const ParsedProfile* parsed, std::string_view section, std::string_view key,
                   std::string_view defaultValue) {
    if (parsed) {
        if (const auto value =
                parsed->find(asciiLower(trimView(section)), asciiLower(trimView(key))))
            return finishValue(*value);
    }
    return finishValue(utf8ToAnsi(defaultValue));
}

struct CacheEntry {
    FileStamp stamp;
    std::shared_ptr<const ParsedProfile> parsed;
};

std::mutex& cacheMutex() {
    static std::mutex m;
    return m;
}

std::unordered_map<std::string, CacheEntry>& cache() {
    static std::unordered_map<std::string, CacheEntry> c;
    return c;
}

FileStamp stampOf(const struct stat& st) {
    return FileStamp{static_cast<int64_t>(st.st_size),
                     static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     static_cast<int64_t>(st.st_ino)};
}

struct Loaded {
    std::shared_ptr<const ParsedProfile> parsed; // nothing when missing or unreadable
    bool isFile = false;
};

// The parse of a host file, from the cache while the file's stamp is unchanged. The file is
// opened once and its stamp taken from the open file, so a check costs what a read costs.
// Call with the cache locked.
Loaded load(const std::string& host) {
    const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        cache().erase(host);
        struct stat st;
        const bool isFile = err != ENOENT && err != ENOTDIR && ::stat(host.c_str(), &st) == 0 &&
                            !S_ISDIR(st.st_mode);
        return Loaded{nullptr, isFile};
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        cache().erase(host);
        return Loaded{nullptr, false};
    }
    if (!S_ISREG(st.st_mode))
        return Loaded{nullptr, true}; // a pipe or device is never read
    const FileStamp stamp = stampOf(st);
    const auto hit = cache().find(host);
    if (hit != cache().end() && hit->second.stamp == stamp)
        return Loaded{hit->second.parsed, true};

    std::string bytes;
    bytes.resize(static_cast<size_t>(st.st_size) + 1);
    size_t done = 0;
    while (true) {
        if (done == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Loaded{nullptr, true};
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    auto parsed = parse(std::move(bytes));
    cache().insert_or_assign(host, CacheEntry{stamp, parsed});
    return Loaded{std::move(parsed), true};
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
    const std::string host = hostPath(file).string();
    std::shared_ptr<const ParsedProfile> parsed;
    {
        std::lock_guard lock(cacheMutex());
        parsed = load(host).parsed;
    }
    return lookup(parsed.get(), section, key, defaultValue);
}

ProfileSnapshot readIniFile(std::string_view file) {
    const std::string host = hostPath(file).string();
    ProfileSnapshot snapshot;
    std::lock_guard lock(cacheMutex());
    Loaded loaded = load(host);
    snapshot.parsed_ = std::move(loaded.parsed);
    snapshot.exists_ = loaded.isFile;
    return snapshot;
}

std::string ProfileSnapshot::value(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    return lookup(parsed_.get(), section, key, defaultValue);
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
        cache().insert_or_assign(host, CacheEntry{*stamp, parse(std::move(out))});
    else
        cache().erase(host);
}

void clearProfileCache() {
    std::lock_guard lock(cacheMutex());
    cache().clear();
}

} // namespace vokari::platform
