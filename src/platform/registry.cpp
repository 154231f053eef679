#include "platform/registry.h"

#include "platform/file_system.h"
#include "platform/host_paths.h"
#include "platform/text.h"

#include <unordered_map>
#include <vector>

namespace vokari::platform {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Finds the closing quote of a string starting after an opening quote at `pos`; returns the
// escaped content and moves `pos` past the closing quote. Nothing when unterminated.
std::optional<std::string_view> quoted(std::string_view line, size_t& pos) {
    const size_t start = pos;
    while (pos < line.size()) {
        if (line[pos] == '\\') {
            pos += 2;
            continue;
        }
        if (line[pos] == '"') {
            const std::string_view content = line.substr(start, pos - start);
            ++pos;
            return content;
        }
        ++pos;
    }
    return std::nullopt;
}

// Wine writes key names with the same escapes, between [ and ].
std::optional<std::string> keyNameOf(std::string_view line) {
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    size_t pos = 1;
    while (pos < line.size() && line[pos] != ']') {
        if (line[pos] == '\\')
            ++pos;
        ++pos;
    }
    if (pos >= line.size())
        return std::nullopt;
    return asciiLower(unescapeWineString(line.substr(1, pos - 1)));
}

} // namespace

std::string unescapeWineString(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    uint32_t pendingHigh = 0; // a high surrogate waiting for its low half
    auto emitUnit = [&](uint32_t unit) {
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (pendingHigh)
                appendUtf8(out, 0xFFFD);
            pendingHigh = unit;
            return;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (pendingHigh) {
                appendUtf8(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00));
                pendingHigh = 0;
            } else {
                appendUtf8(out, 0xFFFD);
            }
            return;
        }
        if (pendingHigh) {
            appendUtf8(out, 0xFFFD);
            pendingHigh = 0;
        }
        appendUtf8(out, unit);
    };
    auto flush = [&] {
        if (pendingHigh) {
            appendUtf8(out, 0xFFFD);
            pendingHigh = 0;
        }
    };
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 >= s.size()) {
            flush();
            out += s[i];
            continue;
        }
        const char c = s[++i];
        switch (c) {
        case 'a':
            emitUnit('\a');
            break;
        case 'b':
            emitUnit('\b');
            break;
        case 'e':
            emitUnit(0x1B);
            break;
        case 'f':
            emitUnit('\f');
            break;
        case 'n':
            emitUnit('\n');
            break;
        case 'r':
            emitUnit('\r');
            break;
        case 't':
            emitUnit('\t');
            break;
        case 'v':
            emitUnit('\v');
            break;
        case 'x': {
            uint32_t unit = 0;
            int digits = 0;
            while (digits < 4 && i + 1 < s.size() && hexValue(s[i + 1]) >= 0) {
                unit = unit * 16 + static_cast<uint32_t>(hexValue(s[++i]));
                ++digits;
            }
            if (digits == 0) {
                flush();
                out += 'x';
            } else {
                emitUnit(unit);
            }
            break;
        }
        default:
            if (c >= '0' && c <= '7') {
                uint32_t unit = static_cast<uint32_t>(c - '0');
                for (int k = 0; k < 2 && i + 1 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '7';
                     ++k)
                    unit = unit * 8 + static_cast<uint32_t>(s[++i] - '0');
                emitUnit(unit);
            } else {
                flush();
                out += c; // \\ and \" and anything unknown stand for themselves
            }
        }
    }
    flush();
    return out;
}

struct WineRegistry::Cache {
    std::filesystem::path file;
    std::optional<FileStamp> stamp;
    // folded key path -> folded value name -> value
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> keys;
};

WineRegistry::WineRegistry(std::optional<std::filesystem::path> systemReg)
    : file_(std::move(systemReg)), cache_(std::make_unique<Cache>()) {}

WineRegistry::~WineRegistry() = default;

std::optional<std::string> WineRegistry::readText(uint32_t hive, std::string_view keyPath,
                                                  std::string_view valueName) {
    if (hive != kHkeyLocalMachine)
        return std::nullopt;
    const std::filesystem::path file = file_ ? *file_ : winePrefix() / "system.reg";
    const auto stamp = hostFileStamp(file);
    if (file != cache_->file || stamp != cache_->stamp) {
        cache_->file = file;
        cache_->stamp = stamp;
        cache_->keys.clear();
        std::string bytes;
        if (stamp) {
            try {
                bytes = readHostFile(file);
            } catch (const std::exception&) {
                bytes.clear();
            }
        }
        if (bytes.rfind("WINE REGISTRY Version 2", 0) == 0) {
            std::unordered_map<std::string, std::string>* current = nullptr;
            size_t pos = 0;
            while (pos < bytes.size()) {
                size_t nl = bytes.find('\n', pos);
                if (nl == std::string::npos)
                    nl = bytes.size();
                std::string_view line(bytes.data() + pos, nl - pos);
                pos = nl + 1;
                if (!line.empty() && line.back() == '\r')
                    line.remove_suffix(1);
                if (line.empty() || line.front() == ';' || line.front() == '#')
                    continue;
                if (line.front() == '[') {
                    auto name = keyNameOf(line);
                    current = name ? &cache_->keys[*name] : nullptr;
                    continue;
                }
                if (!current)
                    continue;
                std::string name;
                size_t at = 0;
                if (line.front() == '@') {
                    at = 1;
                } else if (line.front() == '"') {
                    at = 1;
                    auto raw = quoted(line, at);
                    if (!raw)
                        continue;
                    name = asciiLower(unescapeWineString(*raw));
                } else {
                    continue;
                }
                if (at >= line.size() || line[at] != '=')
                    continue;
                ++at;
                // Only plain strings: "value". dword:, hex: and str(n): are other types.
                if (at >= line.size() || line[at] != '"')
                    continue;
                ++at;
                auto raw = quoted(line, at);
                if (!raw)
                    continue;
                current->emplace(std::move(name), unescapeWineString(*raw));
            }
        }
    }

    auto lookup = [&](const std::string& key) -> std::optional<std::string> {
        const auto k = cache_->keys.find(key);
        if (k == cache_->keys.end())
            return std::nullopt;
        const auto v = k->second.find(asciiLower(valueName));
        if (v == k->second.end())
            return std::nullopt;
        return v->second;
    };
    std::string folded = asciiLower(keyPath);
    while (!folded.empty() && folded.front() == '\\')
        folded.erase(0, 1);
    if (folded.rfind("software\\", 0) == 0 && folded.rfind("software\\wow6432node\\", 0) != 0) {
        if (auto v = lookup("software\\wow6432node\\" + folded.substr(9)))
            return v;
    }
    return lookup(folded);
}

namespace {
RegistrySource*& overrideSource() {
    static RegistrySource* source = nullptr;
    return source;
}
} // namespace

RegistrySource& registry() {
    return overrideSource() ? *overrideSource() : systemRegistry();
}

void setRegistrySource(RegistrySource* source) {
    overrideSource() = source;
}

} // namespace vokari::platform
