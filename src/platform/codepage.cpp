#include "platform/codepage.h"

#include "platform/codepage_converter.h"
#include "platform/error.h"
#include "platform/text.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace vokari::platform {
namespace {

std::string& codePageName() {
    static std::string name = [] {
        const char* env = std::getenv("VOKARI_CODEPAGE");
        return std::string(env && *env ? env : "CP932");
    }();
    return name;
}

// One UTF-8 sequence as its lead byte announces it (overlong forms are left to the converter).
bool isValidUtf8Character(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character.front());
    const size_t width = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (width == 0 || lead > 0xF4 || character.size() != width)
        return false;
    for (char c : character.substr(1))
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            return false;
    return true;
}

} // namespace

const std::string& ansiCodePage() {
    return codePageName();
}

void setAnsiCodePage(std::string name) {
    codePageName() = std::move(name);
}

bool ansiCodePageIsShiftJis() {
    // Asked on every conversion: worked out again only when the code page changes.
    thread_local std::string known;
    thread_local bool shiftJis = false;
    if (known != ansiCodePage()) {
        known = ansiCodePage();
        const std::string cp = asciiLower(known);
        shiftJis = cp == "cp932" || cp == "shift_jis" || cp == "sjis" || cp == "ms932";
    }
    return shiftJis;
}

// Where the run of ASCII bytes that starts at `pos` ends; eight bytes at a time.
size_t asciiRunEnd(std::string_view in, size_t pos) {
    for (; pos + 8 <= in.size(); pos += 8) {
        uint64_t word;
        std::memcpy(&word, in.data() + pos, 8);
        if (word & 0x8080808080808080ull)
            break;
    }
    while (pos < in.size() && static_cast<unsigned char>(in[pos]) < 0x80)
        ++pos;
    return pos;
}

// Single characters once converted, kept per thread and per code page: the names of
// a large file use the same few hundred characters, and a call to the converter costs more
// than the characters it converts. Shift-JIS and its Unicode characters carry no state, so a
// run converted character by character reads as the run converted whole. Each entry holds up
// to three bytes and their count in the top byte; 0 is not known yet.
class CharacterMemo {
public:
    static CharacterMemo& forThread() {
        thread_local CharacterMemo memo;
        if (memo.codePage_ != ansiCodePage()) {
            memo.codePage_ = ansiCodePage();
            memo.toUtf8_.clear();
            memo.fromUtf8_.clear();
        }
        return memo;
    }

    // Appends the Shift-JIS run in UTF-8; false (and `out` as it was) when a character of it
    // has no clean conversion, which the whole run's conversion then words.
    bool decode(std::string_view run, std::string& out) {
        return convertEach(run, out, toUtf8_, "UTF-8", codePage_.c_str(), [&](size_t i) {
            const auto lead = static_cast<unsigned char>(run[i]);
            if ((lead < 0x81 || lead > 0x9F) && (lead < 0xE0 || lead > 0xFC))
                return Character{1, lead};
            if (i + 2 > run.size())
                return Character{};
            return Character{2, static_cast<uint32_t>(lead << 8) |
                                    static_cast<unsigned char>(run[i + 1])};
        });
    }

    // Appends the UTF-8 run in the code page; false (and `out` as it was) when a character of
    // it has no form there, which the whole run's conversion then names.
    bool encode(std::string_view run, std::string& out) {
        return convertEach(run, out, fromUtf8_, codePage_.c_str(), "UTF-8", [&](size_t i) {
            const auto lead = static_cast<unsigned char>(run[i]);
            const size_t width = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
            if (width < 2 || width > 3 || i + width > run.size())
                return Character{}; // astral characters and broken sequences
            uint32_t point = lead & (width == 2 ? 0x1F : 0x0F);
            for (size_t k = 1; k < width; ++k) {
                const auto next = static_cast<unsigned char>(run[i + k]);
                if ((next & 0xC0) != 0x80)
                    return Character{};
                point = (point << 6) | (next & 0x3F);
            }
            return Character{width, point};
        });
    }

private:
    static constexpr uint32_t kNone = 0xFFFFFFFF;

    // A character of a run: its width in bytes (0 when it cannot be taken alone) and its index
    // in the table, below 0x10000.
    struct Character {
        size_t width = 0;
        uint32_t index = 0;
    };

    template <typename Split>
    bool convertEach(std::string_view run, std::string& out, std::vector<uint32_t>& table,
                     const char* to, const char* from, Split split) {
        if (table.empty())
            table.assign(0x10000, 0);
        const size_t start = out.size();
        for (size_t i = 0; i < run.size();) {
            const Character character = split(i);
            if (character.width == 0)
                return undo(out, start);
            uint32_t& entry = table[character.index];
            if (entry == 0)
                entry = learn(run.substr(i, character.width), to, from);
            if (entry == kNone)
                return undo(out, start);
            append(entry, out);
            i += character.width;
        }
        return true;
    }

    static bool undo(std::string& out, size_t start) {
        out.resize(start);
        return false;
    }

    static uint32_t learn(std::string_view character, const char* to, const char* from) {
        std::string converted;
        try {
            converted = convert(character, to, from, true, {});
        } catch (const Error&) {
            return kNone;
        }
        if (converted.empty() || converted.size() > 3)
            return kNone;
        uint32_t entry = static_cast<uint32_t>(converted.size()) << 24;
        for (size_t k = 0; k < converted.size(); ++k)
            entry |= static_cast<uint32_t>(static_cast<unsigned char>(converted[k])) << (8 * k);
        return entry;
    }

    static void append(uint32_t entry, std::string& out) {
        const char bytes[3] = {static_cast<char>(entry & 0xFF), static_cast<char>(entry >> 8),
                               static_cast<char>(entry >> 16)};
        out.append(bytes, entry >> 24);
    }

    std::string codePage_;
    std::vector<uint32_t> toUtf8_;   // by Shift-JIS code: a lead byte and its trail, or a byte
    std::vector<uint32_t> fromUtf8_; // by code point, up to U+FFFF
};

// Mostly ASCII text (the games' files: keys, numbers, folder names) goes to the converter
// only in its non-ASCII runs. `runEnd` gives where a run that starts at `pos` ends: there the
// next byte is ASCII and starts a character of its own.
template <typename RunEnd, typename Memo>
void convertRuns(std::string_view in, const char* to, const char* from, bool strict,
                 std::string_view replacement, RunEnd runEnd, Memo memo, std::string& out) {
    // A Shift-JIS character of two bytes takes three in UTF-8.
    out.reserve(out.size() + in.size() + in.size() / 2);
    size_t pos = 0;
    while (pos < in.size()) {
        const size_t ascii = asciiRunEnd(in, pos);
        out.append(in.data() + pos, ascii - pos);
        if (ascii == in.size())
            break;
        const size_t end = runEnd(in, ascii);
        const std::string_view run = in.substr(ascii, end - ascii);
        if (!memo(run, out))
            out += convert(run, to, from, strict, replacement);
        pos = end;
    }
}

namespace {

// Appends the text to `out`. `strict`: throws ArgumentError on a byte sequence that does not
// decode, rather than putting U+FFFD in its place.
void decodeAnsi(std::string_view bytes, bool strict, std::string& out) {
    if (isAsciiText(bytes)) {
        out += bytes;
        return;
    }
    if (!ansiCodePageIsShiftJis()) {
        out += convert(bytes, "UTF-8", ansiCodePage().c_str(), strict, "\xEF\xBF\xBD");
        return;
    }
    // A lead byte takes the next byte with it, whatever it is; no other byte of Shift-JIS
    // joins its neighbour, so a run ends before an ASCII byte that is not a trail byte.
    const auto runEnd = [](std::string_view in, size_t pos) {
        while (pos < in.size()) {
            const auto c = static_cast<unsigned char>(in[pos]);
            if (c < 0x80)
                break;
            const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
            pos = std::min(in.size(), pos + (lead ? 2 : 1));
        }
        return pos;
    };
    CharacterMemo& memo = CharacterMemo::forThread();
    convertRuns(
        bytes, "UTF-8", ansiCodePage().c_str(), strict, "\xEF\xBF\xBD", runEnd,
        [&memo](std::string_view run, std::string& to) { return memo.decode(run, to); }, out);
}

} // namespace

std::string ansiToUtf8(std::string_view bytes) {
    std::string text;
    decodeAnsi(bytes, false, text);
    return text;
}

std::optional<std::string> ansiToUtf8Exact(std::string_view bytes) {
    std::string text;
    if (!ansiToUtf8Exact(bytes, text))
        return std::nullopt;
    return text;
}

bool ansiToUtf8Exact(std::string_view bytes, std::string& out) {
    out.clear();
    try {
        decodeAnsi(bytes, true, out);
        return true;
    } catch (const ArgumentError&) {
        return false;
    }
}

std::string utf8ToAnsi(std::string_view text) {
    std::string bytes;
    utf8ToAnsi(text, bytes);
    return bytes;
}

void utf8ToAnsi(std::string_view text, std::string& out) {
    if (isAsciiText(text)) {
        out += text;
        return;
    }
    if (!ansiCodePageIsShiftJis()) {
        out += convert(text, ansiCodePage().c_str(), "UTF-8", true, {});
        return;
    }
    // In UTF-8 an ASCII byte is always a character of its own.
    const auto runEnd = [](std::string_view in, size_t pos) {
        while (pos < in.size() && static_cast<unsigned char>(in[pos]) >= 0x80)
            ++pos;
        return pos;
    };
    const size_t start = out.size();
    try {
        CharacterMemo& memo = CharacterMemo::forThread();
        convertRuns(
            text, ansiCodePage().c_str(), "UTF-8", true, {}, runEnd,
            [&memo](std::string_view run, std::string& to) { return memo.encode(run, to); }, out);
    } catch (const CodePageError& e) {
        out.resize(start);
        throw CodePageError(std::string(text), e.character(), e.codePage()); // the whole text
    } catch (...) {
        out.resize(start);
        throw;
    }
}

std::string unencodableCharacters(std::string_view text) {
    std::string found;
    size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        size_t width = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        width = std::min(width, text.size() - pos);
        for (size_t i = 1; i < width; ++i) {
            if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) {
                width = i; // a sequence cut short: the next character starts here
                break;
            }
        }
        const std::string_view character = text.substr(pos, width);
        pos += width;
        if (lead < 0x80)
            continue;
        std::string shown(character);
        try {
            convert(character, ansiCodePage().c_str(), "UTF-8", true, {});
            continue;
        } catch (const ArgumentError&) {
            if (!isValidUtf8Character(character))
                shown = "\xEF\xBF\xBD";
        }
        if (found.find(shown) == std::string::npos)
            found += shown;
    }
    return found;
}

bool isValidAnsi(std::string_view bytes) {
    if (isAsciiText(bytes))
        return true;
    try {
        convert(bytes, "UTF-8", ansiCodePage().c_str(), true, {});
        return true;
    } catch (const ArgumentError&) {
        return false;
    }
}

} // namespace vokari::platform
