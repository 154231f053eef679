#include "platform/profile.h"

#include "platform/byte_scan.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "platform/host_paths.h"
#include "platform/profile_file.h"
#include "platform/text.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
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

// How a file's text is taken. A UTF-8 byte-order mark (modern Notepad writes one) is read past
// and makes the text UTF-8, as Windows reads it; otherwise the text is in the ANSI code page.
// A UTF-16 file comes here as the UTF-8 text it holds (utf16AsUtf8).
struct Grammar {
    size_t start = 0; // the first byte after the mark
    bool utf8 = false;
    bool doubleByte = false; // CP932, whose second bytes include [ ] and backslash

    bool isLead(char c) const {
        const auto b = static_cast<unsigned char>(c);
        return doubleByte && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
    }
};

// A UTF-16 file, which Windows knows by its byte-order mark alone (Notepad's "Unicode").
enum class Utf16 { No, LittleEndian, BigEndian };

Utf16 utf16Of(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE"))
        return Utf16::LittleEndian;
    if (bytes.starts_with("\xFE\xFF"))
        return Utf16::BigEndian;
    return Utf16::No;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A UTF-16 file as the UTF-8 file, mark first, that reads the same, so one grammar serves
// both. Every unit has a form that utf8AsUtf16 maps back, a lone surrogate too (as its three
// bytes), so lines the writer does not touch go back as they were. An odd last byte is not
// text and is left out.
std::string utf16AsUtf8(std::string_view bytes, Utf16 form) {
    const bool big = form == Utf16::BigEndian;
    const auto unitAt = [&](size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return big ? uint32_t{first} << 8 | second : uint32_t{second} << 8 | first;
    };
    std::string out(kUtf8Mark);
    out.reserve(bytes.size() * 3 / 2 + kUtf8Mark.size());
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        uint32_t cp = unitAt(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const uint32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, cp);
    }
    return out;
}

// The inverse of utf16AsUtf8, mark and all. The text is what it made, with text converted from
// the code page put in: well-formed UTF-8 but for its lone surrogates.
std::string utf8AsUtf16(std::string_view text, Utf16 form) {
    const bool big = form == Utf16::BigEndian;
    std::string out = big ? "\xFE\xFF" : "\xFF\xFE";
    out.reserve(text.size() * 2);
    const auto put = [&](uint32_t unit) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        out += big ? high : low;
        out += big ? low : high;
    };
    text.remove_prefix(kUtf8Mark.size());
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t width = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (width == 1 || i + width > text.size()) {
            put(lead < 0x80 ? lead : 0xFFFD);
            ++i;
            continue;
        }
        uint32_t cp = lead & (0x7Fu >> width);
        for (size_t k = 1; k < width; ++k)
            cp = cp << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += width;
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

Grammar grammarOf(std::string_view bytes) {
    Grammar g;
    if (bytes.starts_with(kUtf8Mark)) {
        g.start = kUtf8Mark.size();
        g.utf8 = true;
    } else {
        g.doubleByte = ansiCodePageIsShiftJis();
    }
    return g;
}

// Lines end at LF, CR LF or a lone CR, as Windows reads them (files from old Macs and old
// editors end lines with CR alone).
class LineCursor {
public:
    LineCursor(std::string_view bytes, size_t pos) : bytes_(bytes), pos_(pos) {}

    bool next(Line& line) {
        const size_t size = bytes_.size();
        if (pos_ >= size)
            return false;
        const char* data = bytes_.data();
        const size_t end = findLineBreak(bytes_, pos_);
        line.begin = pos_;
        line.end = end;
        if (end == size)
            line.next = size;
        else if (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
            line.next = end + 2;
        else
            line.next = end + 1;
        pos_ = line.next;
        return true;
    }

private:
    std::string_view bytes_;
    size_t pos_;
};

std::vector<Line> splitLines(std::string_view bytes, const Grammar& grammar) {
    std::vector<Line> lines;
    LineCursor cursor(bytes, grammar.start);
    for (Line line; cursor.next(line);)
        lines.push_back(line);
    return lines;
}

// Blanks around names and values: spaces, tabs, and the end-of-file mark ^Z that DOS and
// Windows 9x editors leave behind, which Windows reads as a blank.
inline std::string_view trimBlanks(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\x1a'; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// The first `c` that is a character of its own, not the second byte of a double-byte one.
inline size_t findChar(std::string_view text, char c, const Grammar& grammar) {
    const bool doubleByte = grammar.doubleByte;
    // Up to the first byte that is not ASCII, every byte is a character.
    const size_t first = findCharOrHigh(text, c);
    if (first == text.size())
        return std::string_view::npos;
    if (text[first] == c)
        return first;
    for (size_t i = first; i < text.size(); ++i) {
        const char x = text[i];
        if (x == c)
            return i;
        if (doubleByte && grammar.isLead(x))
            ++i;
    }
    return std::string_view::npos;
}

// The last `c` that is a character of its own.
inline size_t findLastChar(std::string_view text, char c, const Grammar& grammar) {
    size_t last = std::string_view::npos;
    for (size_t from = 0;;) {
        const size_t at = findChar(text.substr(from), c, grammar);
        if (at == std::string_view::npos)
            return last;
        last = from + at;
        from = last + 1;
    }
}

// A name in UTF-8: decoded from the code page unless the file is UTF-8.
std::string decodeName(std::string_view name, const Grammar& grammar) {
    return grammar.utf8 || isAsciiText(name) ? std::string(name) : ansiToUtf8(name);
}

// A section or key name folded for matching: decoded (lowering raw double-byte characters
// would change their trail bytes), then ASCII letters lowered.
std::string foldName(std::string_view raw, const Grammar& grammar) {
    return asciiLower(decodeName(trimBlanks(raw), grammar));
}

// One line as the reader and the writer both take it, so a write edits the line a read finds.
struct ProfileLine {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;  // a section's name or a key, untrimmed
    std::string_view value; // a key's bytes after "=", untrimmed
};

// Into `line`: readers take millions of lines, and a returned copy costs more than the rest.
// As Windows takes them: a header's name runs to the last "]" of its line, and a "[" line
// without one is no header; any other line but a comment is a key, with an empty value when
// it holds no "=".
void classifyLine(std::string_view text, const Grammar& grammar, ProfileLine& line) {
    line.kind = ProfileLine::Other;
    const std::string_view t = trimBlanks(text);
    if (t.empty() || t.front() == ';')
        return;
    if (t.front() == '[') {
        const std::string_view name = t.substr(1);
        const size_t close = findLastChar(name, ']', grammar);
        if (close != std::string_view::npos) {
            line.kind = ProfileLine::Section;
            line.name = name.substr(0, close);
            return;
        }
    }
    line.kind = ProfileLine::Key;
    const size_t eq = findChar(text, '=', grammar);
    if (eq == std::string_view::npos) {
        line.name = text;
        line.value = text.substr(text.size()); // empty, but within the line
        return;
    }
    line.name = text.substr(0, eq);
    line.value = text.substr(eq + 1);
}

ProfileLine classifyLine(std::string_view text, const Grammar& grammar) {
    ProfileLine line;
    classifyLine(text, grammar, line);
    return line;
}

// The section headers and key lines of a file in order, as every reader and the writer take
// them; keys before the first section are passed over, as Windows never finds them.
class SignificantLines {
public:
    SignificantLines(std::string_view bytes, const Grammar& grammar)
        : bytes_(bytes), grammar_(grammar), cursor_(bytes, grammar.start) {}

    bool next(ProfileLine& line) {
        for (Line at; cursor_.next(at);) {
            classifyLine(bytes_.substr(at.begin, at.end - at.begin), grammar_, line);
            if (line.kind == ProfileLine::Section)
                inSection_ = true;
            else if (line.kind != ProfileLine::Key || !inSection_)
                continue;
            return true;
        }
        return false;
    }

private:
    std::string_view bytes_;
    const Grammar& grammar_;
    LineCursor cursor_;
    bool inSection_ = false;
};

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The bytes of the UTF-8 character at `pos`; one for a byte that starts none.
size_t utf8Width(std::string_view text, size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const size_t width = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
    if (pos + width > text.size())
        return 1;
    for (size_t i = 1; i < width; ++i)
        if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80)
            return 1;
    return width;
}

// The bytes a UTF-8 character takes in the ANSI code page, where Windows' ANSI functions hand
// a UTF-8 file's values over: one for a character without a form there (it becomes "?") or a
// byte that is not UTF-8, two for one beyond 16 bits (two UTF-16 units on the way).
size_t ansiWidth(std::string_view character) {
    if (character.size() == 1)
        return 1;
    if (character.size() == 4)
        return 2;
    try {
        return utf8ToAnsi(character).size();
    } catch (const ArgumentError&) {
        return 1;
    }
}

// Cut to at most `limit` bytes in the ANSI code page without splitting a character.
std::string_view cutBytes(std::string_view bytes, size_t limit, const Grammar& grammar) {
    // No character takes more bytes in the code page than in UTF-8.
    if (bytes.size() <= limit)
        return bytes;
    size_t pos = 0;
    if (grammar.utf8) {
        for (size_t used = 0; pos < bytes.size();) {
            const size_t width = utf8Width(bytes, pos);
            used += ansiWidth(bytes.substr(pos, width));
            if (used > limit)
                break;
            pos += width;
        }
    } else if (grammar.doubleByte) {
        while (pos < limit) {
            const size_t width = grammar.isLead(bytes[pos]) ? 2 : 1;
            if (pos + width > limit)
                break;
            pos += width;
        }
    } else {
        pos = limit;
    }
    return bytes.substr(0, pos);
}

// A value as readers get it: cut to the 255 bytes of Windows' ANSI buffer, trimmed, decoded. A view
// of the file's bytes when they need no decoding, else of `scratch`.
std::string_view finishValue(std::string_view rawBytes, const Grammar& grammar,
                             std::string& scratch) {
    const std::string_view value = trimBlanks(cutBytes(trimBlanks(rawBytes), 255, grammar));
    if (grammar.utf8 || isAsciiText(value))
        return value;
    scratch = ansiToUtf8(value);
    return scratch;
}

// The same into `out`, whose storage is reused (readers of many keys ask for thousands).
void finishValueInto(std::string_view rawBytes, const Grammar& grammar, std::string& out) {
    const std::string_view value = finishValue(rawBytes, grammar, out);
    if (value.data() != out.data()) {
        // Cheaper than assign, which allows for overlap.
        out.resize(value.size());
        std::memcpy(out.data(), value.data(), value.size());
    }
}

// ASCII capitals of eight bytes lowered at once; bytes from 0x80 up stay, as asciiLower leaves
// them.
inline uint64_t lowerWord(uint64_t word) {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    const uint64_t low7 = word & ~kHigh;
    const uint64_t atLeastA = low7 + kOnes * (0x80 - 'A');
    const uint64_t aboveZ = low7 + kOnes * (0x7F - 'Z');
    const uint64_t capital = atLeastA & ~aboveZ & ~word & kHigh;
    return word | (capital >> 2);
}

// A hash of a name folded by asciiLower, eight bytes at a time; keys start from their
// section's number, so one table holds the sections and the keys of every section.
uint64_t hashName(std::string_view name, uint32_t section) {
    constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    uint64_t h = (static_cast<uint64_t>(section) << 32 | name.size()) * kMultiplier;
    size_t i = 0;
    for (; i + 8 <= name.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, name.data() + i, 8);
        h = (h ^ lowerWord(word)) * kMultiplier;
        h ^= h >> 29;
    }
    if (i < name.size()) {
        const size_t rest = name.size() - i;
        uint64_t word = 0;
        if (name.size() >= 8) { // the last eight bytes, shifted down to the ones not yet taken
            std::memcpy(&word, name.data() + name.size() - 8, 8);
            word = std::endian::native == std::endian::little ? word >> (8 * (8 - rest))
                                                              : word << (8 * (8 - rest));
        } else {
            for (size_t j = 0; j < rest; ++j)
                word |= static_cast<uint64_t>(static_cast<unsigned char>(name[i + j])) << (8 * j);
        }
        h = (h ^ lowerWord(word)) * kMultiplier;
        h ^= h >> 29;
    }
    return h;
}

} // namespace

// The file's bytes with a hash index of its sections and keys (first occurrence of each, which
// is the one Windows finds). Names and values stay in the bytes (only names with non-ASCII
// bytes are decoded at once), so a file is indexed at about the speed it is read.
struct ParsedProfile {
    static constexpr uint32_t kNone = UINT32_MAX; // `section` of a section's own entry

    struct Entry {
        uint64_t hash = 0;
        uint32_t section = kNone; // a key's section: the index of the section's entry
        uint32_t nameBegin = 0;   // in `bytes`, or in `names` when decoded
        uint32_t nameSize = 0;
        uint32_t valueBegin = 0; // a key's trimmed and unquoted value, in `bytes`
        uint32_t valueSize = 0;
        bool decodedName = false; // folded UTF-8 form in `names`
        bool first = false;       // the first of its name in its section
    };

    ProfileBytes file;
    std::string_view bytes; // of `file`
    Grammar grammar;
    std::string names;
    std::vector<Entry> entries;  // in file order
    std::vector<uint32_t> table; // entry index + 1; 0 is a free slot
    unsigned shift = 64;         // 64 - log2(table size)

    size_t home(uint64_t hash) const { return static_cast<size_t>(hash >> shift); }

    std::string_view nameOf(const Entry& e) const {
        return (e.decodedName ? std::string_view(names) : bytes).substr(e.nameBegin, e.nameSize);
    }

    // Most names are asked for as the file spells them: an exact match is tried first.
    static bool sameName(std::string_view a, std::string_view b) {
        return a == b || equalsNoCase(a, b);
    }

    void setName(Entry& e, std::string_view raw) {
        const std::string_view name = trimBlanks(raw);
        if (isAsciiText(name)) {
            e.nameBegin = static_cast<uint32_t>(name.data() - bytes.data());
            e.nameSize = static_cast<uint32_t>(name.size());
        } else {
            // Lowering raw double-byte characters would change their trail bytes.
            const std::string folded = asciiLower(decodeName(name, grammar));
            e.decodedName = true;
            e.nameBegin = static_cast<uint32_t>(names.size());
            e.nameSize = static_cast<uint32_t>(folded.size());
            names.append(folded);
        }
        e.hash = hashName(nameOf(e), e.section);
    }

    void buildTable() {
        size_t size = 8;
        shift = 61;
        while (size < entries.size() * 2) {
            size *= 2;
            --shift;
        }
        table.assign(size, 0);
        const size_t mask = size - 1;
        for (uint32_t i = 0; i < entries.size(); ++i) {
            Entry& e = entries[i];
            for (size_t slot = home(e.hash);; slot = (slot + 1) & mask) {
                if (table[slot] == 0) {
                    table[slot] = i + 1;
                    e.first = true;
                    break;
                }
                const Entry& other = entries[table[slot] - 1];
                if (other.hash == e.hash && other.section == e.section &&
                    sameName(nameOf(other), nameOf(e)))
                    break; // a repeat: the first one stays
            }
        }
    }

    // The index of the entry named `name` (UTF-8, without regard to case) in `section`, or
    // kNone; sections are looked for with kNone as their section.
    uint32_t find(uint32_t section, std::string_view name) const {
        name = trimView(name);
        const uint64_t h = hashName(name, section);
        const size_t mask = table.size() - 1;
        for (size_t slot = home(h); table[slot] != 0; slot = (slot + 1) & mask) {
            const Entry& e = entries[table[slot] - 1];
            if (e.hash == h && e.section == section && sameName(nameOf(e), name))
                return table[slot] - 1;
        }
        return kNone;
    }

    // `index` when that entry is the one `find(section, name)` gives: a cheap first guess for
    // readers that walk a section key after key.
    bool isEntry(uint32_t index, uint32_t section, std::string_view name) const {
        if (index >= entries.size())
            return false;
        const Entry& e = entries[index];
        return e.section == section && e.first && sameName(nameOf(e), trimView(name));
    }

    std::string_view valueOf(uint32_t index) const {
        const Entry& e = entries[index];
        return bytes.substr(e.valueBegin, e.valueSize);
    }

    std::optional<std::string_view> value(std::string_view section, std::string_view key) const {
        const uint32_t header = find(kNone, section);
        if (header == kNone)
            return std::nullopt;
        const uint32_t e = find(header, key);
        if (e == kNone)
            return std::nullopt;
        return valueOf(e);
    }
};

namespace {

ProfileBytes bytesOf(std::string_view text) {
    ProfileBytes bytes{std::make_unique_for_overwrite<char[]>(text.size()), text.size()};
    std::memcpy(bytes.data.get(), text.data(), text.size());
    return bytes;
}

// A file's bytes as the grammar reads them: a UTF-16 file as its UTF-8 text.
ProfileBytes textOf(ProfileBytes bytes) {
    const Utf16 form = utf16Of(bytes.view());
    if (form == Utf16::No)
        return bytes;
    return bytesOf(utf16AsUtf8(bytes.view(), form));
}

std::shared_ptr<const ParsedProfile> parse(ProfileBytes bytes) {
    auto parsed = std::make_shared<ParsedProfile>();
    parsed->file = textOf(std::move(bytes));
    parsed->bytes = parsed->file.view();
    parsed->grammar = grammarOf(parsed->bytes);
    const Grammar& grammar = parsed->grammar;
    const std::string_view all = parsed->bytes;
    auto& entries = parsed->entries;
    // Lines of the games' files run about 20 to 40 bytes.
    entries.reserve(all.size() / 24 + 8);
    uint32_t section = ParsedProfile::kNone;
    SignificantLines lines(all, grammar);
    for (ProfileLine line; lines.next(line);) {
        if (line.kind == ProfileLine::Section) {
            ParsedProfile::Entry& e = entries.emplace_back();
            parsed->setName(e, line.name);
            section = static_cast<uint32_t>(entries.size() - 1);
            continue;
        }
        const std::string_view value = unquote(trimBlanks(line.value));
        ParsedProfile::Entry& e = entries.emplace_back();
        e.section = section;
        parsed->setName(e, line.name);
        e.valueBegin = static_cast<uint32_t>(value.data() - all.data());
        e.valueSize = static_cast<uint32_t>(value.size());
    }
    parsed->buildTable();
    return parsed;
}

std::shared_ptr<const ParsedProfile> parse(std::string_view text) {
    return parse(bytesOf(text));
}

void lookupInto(const ParsedProfile* parsed, std::string_view section, std::string_view key,
                std::string_view defaultValue, std::string& out) {
    if (parsed) {
        if (const auto value = parsed->value(section, key)) {
            finishValueInto(*value, parsed->grammar, out);
            return;
        }
    }
    if (defaultValue.empty())
        out.clear();
    else
        finishValueInto(utf8ToAnsi(defaultValue), Grammar{0, false, ansiCodePageIsShiftJis()}, out);
}

std::string lookup(const ParsedProfile* parsed, std::string_view section, std::string_view key,
                   std::string_view defaultValue) {
    std::string out;
    lookupInto(parsed, section, key, defaultValue, out);
    return out;
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

// Opens a host file once, takes its stamp from the open file and reads it, unless the stamp
// equals `known`. Folders count as missing, pipes and devices as unreadable (never read).
FileState readProfileBytes(const std::string& host, const FileStamp* known, FileStamp& stamp,
                           ProfileBytes& bytes) {
    ProfileFile file;
    size_t size = 0;
    if (const FileState state = file.open(host, stamp, size); state != FileState::Read)
        return state;
    if (known && *known == stamp)
        return FileState::Unchanged;
    size_t capacity = size + 1;
    bytes.data = std::make_unique_for_overwrite<char[]>(capacity);
    size_t done = 0;
    while (true) {
        if (done == capacity) { // the file grew while being read
            auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::memcpy(larger.get(), bytes.data.get(), done);
            bytes.data = std::move(larger);
            capacity *= 2;
        }
        const ptrdiff_t n = file.read(bytes.data.get() + done, capacity - done);
        if (n < 0)
            return FileState::Unreadable;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
        // A file read short of the room it was given is at its end: no call to find that out.
        if (done < capacity && done >= size)
            break;
    }
    bytes.size = done;
    return FileState::Read;
}

// The parse of a host file, from the cache while the file's stamp is unchanged; nothing when
// the file is missing or unreadable. Call with the cache locked.
std::shared_ptr<const ParsedProfile> load(const std::string& host) {
    const auto hit = cache().find(host);
    FileStamp stamp;
    ProfileBytes bytes;
    switch (
        readProfileBytes(host, hit == cache().end() ? nullptr : &hit->second.stamp, stamp, bytes)) {
    case FileState::Missing:
        cache().erase(host);
        return nullptr;
    case FileState::Unreadable:
        return nullptr;
    case FileState::Unchanged:
        return hit->second.parsed;
    case FileState::Read:
        break;
    }
    auto parsed = parse(std::move(bytes));
    cache().insert_or_assign(host, CacheEntry{stamp, parsed});
    return parsed;
}

// The line end of the file's first line; CR LF for a file of one line or none.
std::string_view detectLineEnd(std::string_view bytes, const std::vector<Line>& lines) {
    for (const Line& line : lines) {
        if (line.next == line.end)
            break;
        if (bytes[line.end] == '\n')
            return "\n";
        return line.next == line.end + 2 ? "\r\n" : "\r";
    }
    return "\r\n";
}

} // namespace

std::string readIniString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::string_view file) {
    const std::string host = hostPathText(file);
    std::shared_ptr<const ParsedProfile> parsed;
    {
        std::lock_guard lock(cacheMutex());
        parsed = load(host);
    }
    return lookup(parsed.get(), section, key, defaultValue);
}

namespace {

// Read afresh and kept out of the cache: snapshots and readers serve callers that read many
// files once (a catalogue of thousands of panels), which the cache would only hold on to.
FileState readUncached(std::string_view file, ProfileBytes& bytes) {
    FileStamp stamp;
    FileState state = FileState::Missing;
    if (const auto spelled = hostPathAsSpelled(file))
        state = readProfileBytes(*spelled, nullptr, stamp, bytes);
    if (state == FileState::Missing) // names on disk may differ in case
        state = readProfileBytes(hostPathText(file), nullptr, stamp, bytes);
    return state;
}

} // namespace

ProfileSnapshot readIniFile(std::string_view file) {
    ProfileBytes bytes;
    ProfileSnapshot snapshot;
    switch (readUncached(file, bytes)) {
    case FileState::Missing:
        break;
    case FileState::Unreadable:
    case FileState::Unchanged:
        snapshot.exists_ = true;
        break;
    case FileState::Read:
        snapshot.exists_ = true;
        snapshot.parsed_ = parse(std::move(bytes));
        break;
    }
    return snapshot;
}

uint32_t ProfileSnapshot::sectionIndex(std::string_view section) const {
    if (!hintValid_ || hintSection_ != section) {
        hintSection_.assign(section);
        hintSectionIndex_ = parsed_->find(ParsedProfile::kNone, section);
        hintNext_ = hintSectionIndex_ + 1;
        hintValid_ = true;
    }
    return hintSectionIndex_;
}

std::vector<std::string> ProfileSnapshot::sectionNames() const {
    std::vector<std::string> names;
    if (!parsed_)
        return names;
    for (const auto& e : parsed_->entries)
        if (e.section == ParsedProfile::kNone && e.first)
            names.push_back(asciiLower(parsed_->nameOf(e)));
    return names;
}

void ProfileSnapshot::valueInto(std::string_view section, std::string_view key,
                                std::string_view defaultValue, std::string& out) const {
    if (parsed_) {
        const uint32_t header = sectionIndex(section);
        if (header != ParsedProfile::kNone) {
            uint32_t e = hintNext_;
            if (!parsed_->isEntry(e, header, key))
                e = parsed_->find(header, key);
            if (e != ParsedProfile::kNone) {
                hintNext_ = e + 1;
                finishValueInto(parsed_->valueOf(e), parsed_->grammar, out);
                return;
            }
        }
    }
    lookupInto(nullptr, section, key, defaultValue, out);
}

std::string ProfileSnapshot::value(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    std::string out;
    valueInto(section, key, defaultValue, out);
    return out;
}

struct ProfileReader::State {
    explicit State(ProfileBytes read)
        : file(textOf(std::move(read))), grammar(grammarOf(file.view())),
          lines(file.view(), grammar) {}
    ProfileBytes file;
    Grammar grammar;
    SignificantLines lines;
    ProfileLine line;
};

ProfileReader::ProfileReader(std::string_view file) {
    ProfileBytes bytes;
    const FileState state = readUncached(file, bytes);
    exists_ = state != FileState::Missing;
    if (state == FileState::Read)
        state_ = std::make_unique<State>(std::move(bytes));
}

ProfileReader::~ProfileReader() = default;

bool ProfileReader::next() {
    if (!state_ || !state_->lines.next(state_->line))
        return false;
    isSection_ = state_->line.kind == ProfileLine::Section;
    name_ = trimBlanks(state_->line.name);
    return true;
}

bool ProfileReader::findSection(std::string_view section) {
    section = trimView(section);
    const bool ascii = isAsciiText(section);
    const std::string folded = ascii ? std::string() : asciiLower(section);
    while (next()) {
        if (isSection_ &&
            (ascii ? equalsNoCase(name_, section) : foldName(name_, state_->grammar) == folded))
            return true;
    }
    return false;
}

std::string_view ProfileReader::value(std::string& scratch) const {
    return finishValue(unquote(trimBlanks(state_->line.value)), state_->grammar, scratch);
}

std::optional<std::string_view> ProfileReader::valueBefore(char separator,
                                                           std::string& scratch) const {
    const Grammar& grammar = state_->grammar;
    // The separator is never a second byte, so the first such byte is the character. Far
    // enough from the 255-byte cut, the value's text before it is the raw text before it.
    const std::string_view raw = trimBlanks(unquote(trimBlanks(state_->line.value)));
    size_t at = findCharOrHigh(raw, separator);
    const bool ascii = at == raw.size() || raw[at] == separator;
    if (!ascii)
        at = std::min(raw.find(separator, at), raw.size());
    if (at == raw.size())
        return std::nullopt;
    if (at >= 250) {
        const std::string_view value = finishValue(raw, grammar, scratch);
        const size_t cut = value.find(separator);
        if (cut == std::string_view::npos)
            return std::nullopt;
        return value.substr(0, cut);
    }
    const std::string_view before = raw.substr(0, at);
    if (grammar.utf8 || ascii)
        return before;
    scratch = ansiToUtf8(before);
    return scratch;
}

namespace {

// A key as the writer sets it, converted to the file's code page.
struct EncodedEdit {
    std::string sectionBytes;
    std::string keyBytes;
    std::string valueBytes;
    std::string foldedSection;
    std::string foldedKey;
};

EncodedEdit encodeEdit(std::string_view section, std::string_view key, std::string_view value) {
    // A line break would end the line early and add lines of the caller's choosing.
    for (const std::string_view text : {section, key, value})
        if (text.find_first_of("\r\n") != std::string_view::npos)
            throw ArgumentError("a line break cannot be written into a profile file");
    return {utf8ToAnsi(trimView(section)), utf8ToAnsi(trimView(key)), utf8ToAnsi(value),
            asciiLower(trimView(section)), asciiLower(trimView(key))};
}

// The file's bytes with one key set: its line replaced in place, or added at the end of its
// section, or with its section at the end of the file.
std::string setKeyInBytes(const std::string& bytes, const EncodedEdit& edit) {
    const Grammar grammar = grammarOf(bytes);
    const std::vector<Line> lines = splitLines(bytes, grammar);
    const std::string_view eol = detectLineEnd(bytes, lines);
    // The text is ANSI, as Windows' functions take it, and goes into the file in its encoding.
    const auto inFile = [&](const std::string& ansi) {
        return grammar.utf8 ? ansiToUtf8(ansi) : ansi;
    };

    std::optional<size_t> sectionLine;
    std::optional<size_t> keyIndex;
    std::optional<size_t> lastContent; // last non-blank line of the section
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view text =
            std::string_view(bytes).substr(lines[i].begin, lines[i].end - lines[i].begin);
        const ProfileLine line = classifyLine(text, grammar);
        if (line.kind == ProfileLine::Section) {
            if (sectionLine)
                break;
            if (foldName(line.name, grammar) == edit.foldedSection) {
                sectionLine = i;
                lastContent = i;
            }
            continue;
        }
        if (!sectionLine)
            continue;
        if (!trimBlanks(text).empty())
            lastContent = i;
        if (line.kind == ProfileLine::Key && foldName(line.name, grammar) == edit.foldedKey) {
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
        const std::string_view fileKey = trimBlanks(classifyLine(text, grammar).name);
        out.append(bytes, 0, line.begin);
        out.append(fileKey).append("=").append(inFile(edit.valueBytes));
        out.append(bytes, line.end, std::string::npos);
    } else if (sectionLine) {
        const Line& after = lines[*lastContent];
        out.append(bytes, 0, after.next);
        if (after.next == after.end)
            out.append(eol); // the section ended the file without a line end
        out.append(inFile(edit.keyBytes)).append("=").append(inFile(edit.valueBytes)).append(eol);
        out.append(bytes, after.next, std::string::npos);
    } else {
        out = bytes;
        if (!lines.empty() && lines.back().next == lines.back().end)
            out.append(eol); // the last line has no line end
        out.append("[").append(inFile(edit.sectionBytes)).append("]").append(eol);
        out.append(inFile(edit.keyBytes)).append("=").append(inFile(edit.valueBytes)).append(eol);
    }
    return out;
}

void writeEdits(const std::vector<EncodedEdit>& edits, std::string_view file) {
    const std::filesystem::path hostFile = hostPath(file);
    const std::string host = hostFile.string();

    // Held from reading to replacing, so a second Vokari's edit is never lost.
    const FolderLock folderLock(hostFile.parent_path());
    removeLeftovers(hostFile.parent_path());
    std::lock_guard lock(cacheMutex());
    std::string bytes;
    if (hostFileStamp(hostFile))
        bytes = readHostFile(hostFile);
    // A UTF-16 file is edited as its UTF-8 text and goes back as UTF-16, its odd last byte kept.
    const Utf16 form = utf16Of(bytes);
    std::string text = form == Utf16::No ? std::move(bytes) : utf16AsUtf8(bytes, form);
    for (const EncodedEdit& edit : edits)
        text = setKeyInBytes(text, edit);
    if (form != Utf16::No) {
        const std::string odd = bytes.size() % 2 ? bytes.substr(bytes.size() - 1) : std::string();
        bytes = utf8AsUtf16(text, form) + odd;
    } else {
        bytes = std::move(text);
    }

    writeFileAtomic(host, bytes);
    if (const auto stamp = hostFileStamp(hostFile))
        cache().insert_or_assign(host, CacheEntry{*stamp, parse(std::string_view(bytes))});
    else
        cache().erase(host);
}

} // namespace

void writeIniString(std::string_view section, std::string_view key, std::string_view value,
                    std::string_view file) {
    writeEdits({encodeEdit(section, key, value)}, file);
}

void writeIniStrings(const std::vector<ProfileEdit>& edits, std::string_view file) {
    std::vector<EncodedEdit> encoded;
    for (const ProfileEdit& edit : edits)
        encoded.push_back(encodeEdit(edit.section, edit.key, edit.value));
    writeEdits(encoded, file);
}

void clearProfileCache() {
    std::lock_guard lock(cacheMutex());
    cache().clear();
}

} // namespace vokari::platform
