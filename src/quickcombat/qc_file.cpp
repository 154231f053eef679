#include "quickcombat/qc_file.h"

#include "common/decimal_text.h"
#include "common/file_helpers.h"
#include "frame/installation.h"
#include "journal/change_journal.h"
#include "platform/byte_scan.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "platform/host_paths.h"
#include "platform/text.h"
#include "platform/write_behind.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vokari {
namespace {

enum class Section { None, Group, Defaults, Strings };

// A decimal number rounded to a whole one (halves to the even neighbour), as the game's own
// tools convert; nothing when it is not a number or falls outside [low, high].
std::optional<int64_t> wholeNumber(std::string_view text, int64_t low, int64_t high) {
    const auto value = parseDecimal(text);
    if (!value)
        return std::nullopt;
    // nearbyint follows the default rounding mode, which rounds halves to even.
    const double rounded = std::nearbyint(*value);
    if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high))
        return std::nullopt;
    return static_cast<int64_t>(rounded);
}

// Reads the lines of a file. Lines are the file's own bytes in the code page and each text is
// decoded as it is taken: none of the bytes the lines are split at ("=", ".", quotes, blanks,
// line ends) is ever the second byte of a character in Shift-JIS or another ANSI code page,
// so the texts come out as from decoding the whole file, without a second copy of it. Lines
// the document does not read are kept as they are, in the part of the file they stand in.
class Reader {
public:
    Reader(QcGroups& document, std::string file) : doc_(document), file_(std::move(file)) {}

    void line(std::string_view raw, int number) {
        number_ = number;
        if (raw.empty()) // the writer puts one after every entry
            return;
        if (section_ == Section::Group && entryLine(raw))
            return;
        otherLine(raw);
    }

    void finish() { placeWaitingLines(); }

private:
    // Any line but an entry's as the writer puts it.
    [[gnu::noinline]] void otherLine(std::string_view raw) {
        const std::string_view text = trimView(raw);
        if (text.empty())
            return;
        if (text.front() == ';') {
            keep(raw);
            return;
        }
        if (text.front() == '[' && header(text))
            return;
        if (section_ == Section::Strings && quotedStringsLine(text, raw))
            return;
        const size_t equals = text.find('=');
        // Other sections' headers too (their keys count for the section before); before the
        // first section nothing is read.
        if (equals == std::string_view::npos || section_ == Section::None) {
            keep(raw);
            return;
        }
        const std::string_view key = trimView(text.substr(0, equals));
        const std::string_view value = trimView(text.substr(equals + 1));
        bool taken = false;
        try {
            switch (section_) {
            case Section::None:
                break;
            case Section::Group:
                taken = groupLine(baseKey(key), value);
                break;
            case Section::Defaults:
                taken = defaultsLine(baseKey(key), value);
                break;
            case Section::Strings:
                taken = stringLine(unquoteKey(field(key, keyText_)), value);
                break;
            }
        } catch (const FormatError&) {
            throw;
        } catch (const Error& e) {
            fail(e.what());
        }
        if (!taken)
            keep(raw);
    }

    // A line the document does not read, for the part of the file it stands in. Until a group
    // section names its group, its lines wait: for that group, or for the one before when the
    // section names none.
    void keep(std::string_view raw) {
        switch (section_) {
        case Section::None:
            doc_.keepLine(QcFilePart::Head, raw);
            break;
        case Section::Group:
            if (hasSectionGroup_)
                group_->keepLine(raw);
            else
                waiting_.emplace_back(raw);
            break;
        case Section::Defaults:
            doc_.keepLine(QcFilePart::Defaults, raw);
            break;
        case Section::Strings:
            doc_.keepLine(QcFilePart::Strings, raw);
            break;
        }
    }

    void placeWaitingLines() {
        for (const std::string& raw : waiting_) {
            if (group_)
                group_->keepLine(raw);
            else
                doc_.keepLine(QcFilePart::Head, raw);
        }
        waiting_.clear();
    }

    enum class EntryKey { Aircraft, FamilyType, Name };

    // An entry line as the writer puts it ("aircraft.0=...", "family_type.0=...",
    // "name.0=..."): most lines of a large file, taken without the general parsing to the same
    // effect. False for any other line.
    bool entryLine(std::string_view raw) {
        // Literal prefixes, so that each comparison is a few loads rather than a call.
        EntryKey which;
        std::string_view key;
        if (raw.starts_with("aircraft.")) {
            which = EntryKey::Aircraft;
            key = "aircraft";
        } else if (raw.starts_with("family_type.")) {
            which = EntryKey::FamilyType;
            key = "family_type";
        } else if (raw.starts_with("name.")) {
            which = EntryKey::Name;
            key = "name";
        } else {
            return false;
        }
        size_t equals = key.size() + 1;
        while (equals < raw.size() && raw[equals] >= '0' && raw[equals] <= '9')
            ++equals;
        if (equals == raw.size() || raw[equals] != '=')
            return false;
        entry(which, key, trimView(raw.substr(equals + 1)));
        return true;
    }

    void entry(EntryKey which, std::string_view key, std::string_view value) {
        try {
            entryValue(which, key, field(value, valueText_));
        } catch (const FormatError&) {
            throw;
        } catch (const Error& e) {
            fail(e.what());
        }
    }

    bool header(std::string_view text) {
        Section next;
        if (startsWithNoCase(text, "[option."))
            next = Section::Group;
        else if (startsWithNoCase(text, "[player default aircraft]"))
            next = Section::Defaults;
        else if (startsWithNoCase(text, "[strings]"))
            next = Section::Strings;
        else
            return false;
        if (!waiting_.empty())
            placeWaitingLines();
        section_ = next;
        hasSectionGroup_ = false;
        doc_.setHasQuickCombatSections(true);
        return true;
    }

    // A key in double quotes runs to the quote that "=" follows, so it may hold "=" itself (a
    // folder named P51=D gives the key P51=DName). False when the line is not of that form.
    bool quotedStringsLine(std::string_view text, std::string_view raw) {
        if (text.front() != '"')
            return false;
        for (size_t close = text.find('"', 1); close != std::string_view::npos;
             close = text.find('"', close + 1)) {
            const std::string_view rest = trimView(text.substr(close + 1));
            if (!rest.empty() && rest.front() == '=') {
                if (!stringLine(field(text.substr(1, close - 1), keyText_),
                                trimView(rest.substr(1))))
                    keep(raw);
                return true;
            }
        }
        return false;
    }

    // An empty key names no string: the line is not read.
    bool stringLine(std::string_view key, std::string_view rawValue) {
        if (key.empty())
            return false;
        doc_.addString(key, field(rawValue, valueText_));
        return true;
    }

    // A text of the file as the document holds it; `buffer` keeps a decoded one.
    std::string_view field(std::string_view raw, std::string& buffer) {
        if (isAsciiWithoutNul(raw))
            return raw;
        return decoded(raw, buffer);
    }

    // A text the document would hold changed is refused rather than taken: a NUL byte, or
    // bytes that do not decode in the code page.
    [[gnu::noinline]] std::string_view decoded(std::string_view raw, std::string& buffer) {
        const auto shown = [raw] {
            return replaceAll(platform::ansiToUtf8(raw), std::string_view("\0", 1), "\\0");
        };
        if (raw.find('\0') != std::string_view::npos)
            fail("a text holds a NUL byte: \"" + shown() + "\"");
        if (!platform::ansiToUtf8Exact(raw, buffer))
            fail("a text does not decode in code page " + platform::ansiCodePage() + ": \"" +
                 shown() + "\"");
        return buffer;
    }

    // aircraft.0, AIRCRAFT.17 and aircraft are one key: the number is not read.
    static std::string_view baseKey(std::string_view key) {
        return trimView(key.substr(0, key.find('.')));
    }

    // False for a key the document does not read, whose value then stays undecoded.
    bool groupLine(std::string_view key, std::string_view rawValue) {
        if (equalsNoCase(key, "aircraft")) {
            entryValue(EntryKey::Aircraft, key, field(rawValue, valueText_));
        } else if (equalsNoCase(key, "OptionName")) {
            group_ = &doc_.addGroup(field(rawValue, valueText_));
            hasSectionGroup_ = true;
            if (!waiting_.empty())
                placeWaitingLines();
        } else if (equalsNoCase(key, "family_type")) {
            entryValue(EntryKey::FamilyType, key, field(rawValue, valueText_));
        } else if (equalsNoCase(key, "name")) {
            entryValue(EntryKey::Name, key, field(rawValue, valueText_));
        } else {
            return false;
        }
        return true;
    }

    void entryValue(EntryKey which, std::string_view key, std::string_view value) {
        if (which == EntryKey::Aircraft) {
            if (!group_)
                fail("an aircraft line comes before any OptionName line");
            plane_ = &doc_.addPlane(*group_, value);
            if (plane_->aircraftPath() != value)
                plane_->setAircraftPath(value);
        } else if (which == EntryKey::FamilyType) {
            if (!plane_)
                fail("a family_type line comes before any aircraft line");
            plane_->setAircraftType(
                static_cast<int16_t>(number(key, value, std::numeric_limits<int16_t>::min(),
                                            std::numeric_limits<int16_t>::max())));
        } else {
            if (!plane_)
                fail("a name line comes before any aircraft line");
            // The writer's line for an entry without a name: it stays without one, rather
            // than taking whatever string its folder's key holds.
            if (value.empty())
                plane_->clearDefineName();
            else if (value != plane_->defineName())
                plane_->setDefineName(value);
        }
    }

    bool defaultsLine(std::string_view key, std::string_view rawValue) {
        constexpr int64_t low = std::numeric_limits<int32_t>::min();
        constexpr int64_t high = std::numeric_limits<int32_t>::max();
        if (equalsNoCase(key, "aircraft"))
            doc_.setDefaultPlaneName(field(rawValue, valueText_));
        else if (equalsNoCase(key, "GunAmmo"))
            doc_.setDefaultpGunAmmo(
                static_cast<int32_t>(number(key, field(rawValue, valueText_), low, high)));
        else if (equalsNoCase(key, "CannonAmmo"))
            doc_.setDefaultpCannonAmmo(
                static_cast<int32_t>(number(key, field(rawValue, valueText_), low, high)));
        else
            return false;
        return true;
    }

    int64_t number(std::string_view key, std::string_view value, int64_t low, int64_t high) {
        // Plain digits, as the writer puts them, need no decimal parsing.
        if (!value.empty() && value.size() <= 9 &&
            std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            int64_t n = 0;
            for (char c : value)
                n = n * 10 + (c - '0');
            if (n >= low && n <= high)
                return n;
        }
        const auto n = wholeNumber(value, low, high);
        if (!n)
            fail(std::string(key) + " needs a number from " + std::to_string(low) + " to " +
                 std::to_string(high) + ", not \"" + std::string(value) + "\"");
        return *n;
    }

    [[noreturn]] void fail(const std::string& message) {
        throw LineError(platform::displayPath(file_), number_, message);
    }

    QcGroups& doc_;
    std::string file_;
    std::string keyText_;
    std::string valueText_;
    int number_ = 0;
    Section section_ = Section::None;
    QcGroup* group_ = nullptr;
    QcPlane* plane_ = nullptr;
    // Whether the group section being read has named its group (group_) yet.
    bool hasSectionGroup_ = false;
    std::vector<std::string> waiting_;
};

// Every text the file holds, with a wording of where it sits in the document, made only when
// a refusal needs it. Entries are named under the first group that holds them.
template <typename Visit> void visitTexts(const QcGroups& document, Visit&& visit) {
    int g = 0;
    for (const auto& groupItem : document.groups()) {
        const QcGroup& group = *groupItem.value;
        ++g;
        const auto groupPlace = [&] {
            return "group " + std::to_string(g) + " \"" + group.viewName() + "\"";
        };
        visit(group.defineName(), [&] { return "the name of " + groupPlace(); });
        for (const auto& planeItem : group.planes()) {
            const QcPlane& plane = *planeItem.value;
            visit(plane.aircraftPath(), [&] { return "an aircraft folder in " + groupPlace(); });
            visit(plane.defineName(), [&] {
                return "the name of aircraft " + plane.aircraftPath() + " in " + groupPlace();
            });
        }
    }
    visit(document.defaultPlaneName(), [] { return std::string("the default aircraft"); });
    document.stringList().forEach([&visit](const std::string& key, const std::string& value) {
        visit(key, [&] { return "the key of string \"" + key + "\""; });
        visit(value, [&] { return "string \"" + key + "\""; });
    });
}

// A quoted strings key is read up to the quote that "=" follows.
bool keyReadsBack(std::string_view key) {
    for (size_t quote = key.find('"'); quote != std::string_view::npos;
         quote = key.find('"', quote + 1)) {
        const std::string_view rest = trimView(key.substr(quote + 1));
        if (!rest.empty() && rest.front() == '=')
            return false;
    }
    return true;
}

// Refuses, naming it, a text the file could not give back as it is: one that would break its
// line, or one with no form in the code page. Looked for only once the whole text has shown
// such a text, so a save does not word every place.
void checkTexts(const QcGroups& document, const std::string& file, bool encoding) {
    visitTexts(document, [&](std::string_view text, auto place) {
        const auto refuse = [&](const std::string& why) {
            throw FormatError(file + ": cannot be saved: " + place() + " " + why);
        };
        if (encoding) {
            const std::string bad = platform::unencodableCharacters(text);
            if (bad.empty())
                return;
            // The text itself goes with it, for a window to word.
            try {
                throw CodePageError(std::string(text), bad, platform::ansiCodePage());
            } catch (const CodePageError&) {
                std::throw_with_nested(FormatError(file + ": cannot be saved: " + place() +
                                                   " has characters with no form in code page " +
                                                   platform::ansiCodePage() + ": " + bad));
            }
        } else if (std::any_of(text.begin(), text.end(),
                               [](char c) { return c == '\r' || c == '\n'; })) {
            refuse("holds a line break");
        }
    });
}

void checkStringKeys(const QcGroups& document, const std::string& file) {
    document.stringList().forEach([&file](const std::string& key, const std::string&) {
        if (!keyReadsBack(key))
            throw FormatError(file + ": cannot be saved: the key of string \"" + key +
                              "\" holds a quote followed by \"=\"");
    });
}

} // namespace

std::string unquoteKey(std::string_view key) {
    if (key.empty() || (key.front() != '%' && key.front() != '"'))
        return std::string(key);
    if (key.size() < 2)
        return std::string();
    return std::string(key.substr(1, key.size() - 2));
}

namespace {

// Splits text handed over a block at a time into lines, as if it came whole. Lines end in
// CR LF or CR; a lone LF counts too, so a file saved by a Unix editor is not taken as one long
// line.
class LineSplitter {
public:
    explicit LineSplitter(Reader& reader) : reader_(reader) {}

    void block(std::string_view text) {
        size_t pos = 0;
        if (afterCr_ && !text.empty()) {
            afterCr_ = false;
            if (text.front() == '\n')
                pos = 1; // the LF of a CR LF that the block before ended in
        }
        if (!carry_.empty()) { // a line begun in the block before
            const size_t end = findLineBreak(text, pos);
            carry_.append(text.substr(pos, end - pos));
            if (end == text.size())
                return;
            reader_.line(carry_, ++number_);
            carry_.clear();
            pos = after(text, end);
        }
        while (pos < text.size()) {
            const size_t end = findLineBreak(text, pos);
            if (end == text.size()) {
                carry_.assign(text.substr(pos));
                return;
            }
            reader_.line(text.substr(pos, end - pos), ++number_);
            pos = after(text, end);
        }
    }

    void finish() {
        if (!carry_.empty())
            reader_.line(carry_, ++number_);
    }
    // The lines handed to the reader so far.
    int count() const { return number_; }

private:
    // Where the line after the break at `end` begins.
    size_t after(std::string_view text, size_t end) {
        if (text[end] != '\r')
            return end + 1;
        if (end + 1 == text.size()) {
            afterCr_ = true;
            return end + 1;
        }
        return end + (text[end + 1] == '\n' ? 2 : 1);
    }

    Reader& reader_;
    std::string carry_;
    bool afterCr_ = false;
    int number_ = 0;
};

} // namespace

void readQCFile(std::unique_ptr<QcGroups>& document, std::string_view folder,
                std::string_view relativePath) {
    const std::string file = std::string(folder) + std::string(relativePath);
    document = std::make_unique<QcGroups>();
    Reader reader(*document, file);
    LineSplitter lines(reader);
    bool isOpen = false;
    try {
        platform::readFileBlocks(file, [&](std::string_view block) {
            isOpen = true;
            lines.block(block);
        });
        lines.finish();
    } catch (const LineError& e) {
        // What came before the line stays, the lines waiting for a group too.
        reader.finish();
        document->setUnreadFromLine(e.line());
        throw;
    } catch (const IoError& e) {
        // A file that is there but could not be read whole is not an empty one: saving over it
        // would lose what it holds.
        const int err = e.errorNumber();
        if (isOpen || (err != 0 && err != ENOENT && err != ENOTDIR)) {
            reader.finish();
            document->setUnreadFromLine(lines.count() + 1);
        }
        std::throw_with_nested(
            IoError(file + ": the quick-combat file cannot be opened (" + e.what() + ")"));
    }
    reader.finish();
}

namespace {

// The file's text put together piece by piece, in UTF-8 or, with `encode`, in the code page,
// and handed on a block at a time: a large file is never held whole, and the block stays in
// the cache while it fills. Texts that are not ASCII are converted one by one.
class TextOut {
public:
    using Sink = std::function<void(std::string_view)>;
    TextOut(bool encode, Sink sink) : encode_(encode), sink_(std::move(sink)) {}
    // A literal: its size is known here, so the copy is a few moves rather than a call.
    template <size_t N> void put(const char (&literal)[N]) {
        if (used_ + (N - 1) > sizeof block_)
            flush();
        std::memcpy(block_ + used_, literal, N - 1);
        used_ += N - 1;
    }
    void put(std::string_view piece) {
        if (used_ + piece.size() > sizeof block_) {
            flush();
            if (piece.size() > sizeof block_) {
                sink_(piece);
                return;
            }
        }
        std::memcpy(block_ + used_, piece.data(), piece.size());
        used_ += piece.size();
    }
    // A text of the document. One with a line break (which would end its line early) or with
    // no form in the code page is noted; the caller finds and names it.
    void text(std::string_view value) {
        if (isAsciiLine(value))
            put(value);
        else
            otherText(value);
    }
    // A text that is not plain ASCII, or that holds a line break.
    [[gnu::noinline]] void otherText(std::string_view value) {
        lineBreak_ |= findLineBreak(value, 0) != value.size();
        if (!encode_ || platform::isAsciiText(value)) {
            put(value);
            return;
        }
        try {
            encoded_.clear();
            platform::utf8ToAnsi(value, encoded_);
            put(encoded_);
        } catch (const ArgumentError&) {
            unencodable_ = true;
        }
    }
    // Lines kept from the file: its own bytes, given back as they are (and shown decoded in the
    // UTF-8 text).
    void keptLines(std::string_view lines) {
        if (lines.empty())
            return;
        if (encode_)
            put(lines);
        else
            put(platform::ansiToUtf8(lines));
    }
    void number(long long n) {
        if (n >= 0 && n < 100 && used_ + 2 <= sizeof block_) { // entry counters and types
            if (n >= 10)
                block_[used_++] = static_cast<char>('0' + n / 10);
            block_[used_++] = static_cast<char>('0' + n % 10);
            return;
        }
        otherNumber(n);
    }
    [[gnu::noinline]] void otherNumber(long long n) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, n);
        put(std::string_view(digits, static_cast<size_t>(result.ptr - digits)));
    }
    void flush() {
        if (used_ > 0)
            sink_(std::string_view(block_, used_));
        used_ = 0;
    }
    bool lineBreak() const { return lineBreak_; }
    bool unencodable() const { return unencodable_; }

private:
    bool encode_;
    Sink sink_;
    size_t used_ = 0;
    bool lineBreak_ = false;
    bool unencodable_ = false;
    std::string encoded_; // a text in the code page, its room kept for the next
    char block_[256 * 1024];
};

void buildText(const QcGroups& document, TextOut& out) {
    out.keptLines(document.keptLines(QcFilePart::Head));
    int g = 0;
    for (const auto& groupItem : document.groups()) {
        const QcGroup& group = *groupItem.value;
        out.put("\r\n[option.");
        out.number(g++);
        out.put("]\r\nOptionName=");
        out.text(group.defineName());
        out.put("\r\n");
        int p = 0;
        for (const auto& planeItem : group.planes()) {
            const QcPlane& plane = *planeItem.value;
            out.put("aircraft.");
            out.number(p);
            out.put("=");
            out.text(plane.aircraftPath());
            out.put("\r\nfamily_type.");
            out.number(p);
            out.put("=");
            out.number(plane.aircraftType());
            out.put("\r\nname.");
            out.number(p);
            out.put("=");
            out.text(plane.defineName());
            out.put("\r\n\r\n");
            ++p;
        }
        out.keptLines(group.keptLines());
    }
    out.put("[player default aircraft]\r\naircraft=");
    out.text(document.defaultPlaneName());
    out.put("\r\nGunAmmo=");
    out.number(document.defaultpGunAmmo());
    out.put("\r\nCannonAmmo=");
    out.number(document.defaultpCannonAmmo());
    out.put("\r\n");
    out.keptLines(document.keptLines(QcFilePart::Defaults));
    out.put("\r\n[strings]\r\n");
    document.stringList().forEach([&out](const std::string& key, const std::string& value) {
        out.put("\"");
        out.text(key);
        out.put("\" = ");
        out.text(value);
        out.put("\r\n");
    });
    out.keptLines(document.keptLines(QcFilePart::Strings));
}

} // namespace

std::string qcFileText(const QcGroups& document) {
    std::string text;
    auto out = std::make_unique<TextOut>(false, [&text](std::string_view block) { text += block; });
    buildText(document, *out);
    out->flush();
    return text;
}

namespace {

// Refuses, naming it, a text the put-together file could not give back as it is.
void refuseWhatCannotBeWritten(const QcGroups& document, const std::string& file,
                               const TextOut& out) {
    if (out.lineBreak())
        checkTexts(document, file, false);
    if (out.unencodable()) {
        checkTexts(document, file, true);
        throw FormatError(file + ": a name or string has no form in code page " +
                          platform::ansiCodePage());
    }
    checkStringKeys(document, file);
}

} // namespace

std::string qcFileBytes(const QcGroups& document, std::string_view folder,
                        std::string_view relativePath) {
    const std::string file = std::string(folder) + std::string(relativePath);
    std::string bytes;
    auto out =
        std::make_unique<TextOut>(true, [&bytes](std::string_view block) { bytes += block; });
    buildText(document, *out);
    out->flush();
    refuseWhatCannotBeWritten(document, file, *out);
    return bytes;
}

void writeQCFile(const QcGroups& document, std::string_view folder, std::string_view relativePath,
                 PartialDocument partial) {
    const std::string file = std::string(folder) + std::string(relativePath);
    if (const auto line = document.unreadFromLine(); line && partial == PartialDocument::Refuse) {
        const std::string n = std::to_string(*line);
        throw FormatError(file + ": cannot be saved: the file was read only up to line " + n +
                          ", so saving would lose line " + n +
                          " and every group and line after it");
    }
    const platform::FolderLock lock(folder.empty() ? platform::hostPath(file).parent_path()
                                                   : platform::hostPath(folder));
    platform::removeLeftovers(platform::hostPath(file).parent_path());
    const int game = folder.empty()                    ? 0
                     : folder == gameFolder(kGameCfs2) ? kGameCfs2
                     : folder == gameFolder(kGameCfs1) ? kGameCfs1
                                                       : 0;
    const JournalScope journal(folder.empty() ? platform::hostPath(file).parent_path()
                                              : platform::hostPath(folder),
                               "qc-save", game, std::string(relativePath));
    // Written to a file beside the target as it is put together; the target is replaced only
    // once every text has been found sound, and a refusal leaves nothing behind.
    std::optional<platform::AtomicFileWriter> temp;
    std::optional<platform::WriteBehind> writing;
    auto out = std::make_unique<TextOut>(true, [&](std::string_view block) {
        if (!temp) {
            temp.emplace(platform::hostPath(file));
            writing.emplace([&temp](std::string_view written) { temp->write(written); });
        }
        writing->put(block);
    });
    buildText(document, *out);
    refuseWhatCannotBeWritten(document, file, *out);
    // The file as it was before the first save, byte for byte with its date.
    platform::makeBackup(platform::hostPath(file), platform::hostPath(file + ".bak"));
    // Windows refuses to replace a read-only file; a rename would not.
    const auto attributes = platform::fileAttributes(file);
    if (attributes && (*attributes & platform::kAttrReadOnly))
        throw IoError(FileAction::Write, platform::displayPath(file), EROFS);
    out->flush();
    if (writing)
        writing->finish();
    else // nothing was put
        temp.emplace(platform::hostPath(file));
    temp->commit();
}

} // namespace vokari
