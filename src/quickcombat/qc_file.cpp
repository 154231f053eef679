#include "quickcombat/qc_file.h"

#include "common/decimal_text.h"
#include "common/error.h"
#include "common/file_helpers.h"
#include "common/text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

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

class Reader {
public:
    Reader(ClsQCGroups& document, std::string file) : doc_(document), file_(std::move(file)) {}

    void line(std::string_view raw, int number) {
        number_ = number;
        const std::string_view text = trimView(raw);
        if (text.empty() || text.front() == ';')
            return;
        if (startsWithNoCase(text, "[option.")) {
            section_ = Section::Group;
            return;
        }
        if (startsWithNoCase(text, "[player default aircraft]")) {
            section_ = Section::Defaults;
            return;
        }
        if (startsWithNoCase(text, "[strings]")) {
            section_ = Section::Strings;
            return;
        }
        if (section_ == Section::Strings && quotedStringsLine(text))
            return;
        const size_t equals = text.find('=');
        if (equals == std::string_view::npos)
            return; // other sections' headers too: their keys count for the section before
        const std::string_view key = trimView(text.substr(0, equals));
        const std::string_view value = trimView(text.substr(equals + 1));
        try {
            switch (section_) {
            case Section::None:
                break;
            case Section::Group:
                groupLine(baseKey(key), value);
                break;
            case Section::Defaults:
                defaultsLine(baseKey(key), value);
                break;
            case Section::Strings:
                doc_.addString(unquoteKey(key), value);
                break;
            }
        } catch (const FormatError&) {
            throw;
        } catch (const Error& e) {
            fail(e.what());
        }
    }

private:
    // A key in double quotes runs to the quote that "=" follows, so it may hold "=" itself (a
    // folder named P51=D gives the key P51=DName). False when the line is not of that form.
    bool quotedStringsLine(std::string_view text) {
        if (text.front() != '"')
            return false;
        for (size_t close = text.find('"', 1); close != std::string_view::npos;
             close = text.find('"', close + 1)) {
            const std::string_view rest = trimView(text.substr(close + 1));
            if (!rest.empty() && rest.front() == '=') {
                doc_.addString(text.substr(1, close - 1), trimView(rest.substr(1)));
                return true;
            }
        }
        return false;
    }

    // aircraft.0, AIRCRAFT.17 and aircraft are one key: the number is not read.
    static std::string_view baseKey(std::string_view key) {
        return trimView(key.substr(0, key.find('.')));
    }

    void groupLine(std::string_view key, std::string_view value) {
        if (equalsNoCase(key, "OptionName")) {
            group_ = &doc_.addGroup();
            group_->setDefineName(value);
        } else if (equalsNoCase(key, "aircraft")) {
            if (!group_)
                fail("an aircraft line comes before any OptionName line");
            plane_ = &doc_.addPlane(*group_, value);
            plane_->setAircraftPath(value);
        } else if (equalsNoCase(key, "family_type")) {
            if (!plane_)
                fail("a family_type line comes before any aircraft line");
            plane_->setAircraftType(
                static_cast<int16_t>(number(key, value, std::numeric_limits<int16_t>::min(),
                                            std::numeric_limits<int16_t>::max())));
        } else if (equalsNoCase(key, "name")) {
            if (!plane_)
                fail("a name line comes before any aircraft line");
            // The writer's line for an entry without a name: it stays without one, rather
            // than taking whatever string its folder's key holds.
            if (value.empty())
                plane_->clearDefineName();
            else
                plane_->setDefineName(value);
        }
    }

    void defaultsLine(std::string_view key, std::string_view value) {
        constexpr int64_t low = std::numeric_limits<int32_t>::min();
        constexpr int64_t high = std::numeric_limits<int32_t>::max();
        if (equalsNoCase(key, "aircraft"))
            doc_.setDefaultPlaneName(value);
        else if (equalsNoCase(key, "GunAmmo"))
            doc_.setDefaultpGunAmmo(static_cast<int32_t>(number(key, value, low, high)));
        else if (equalsNoCase(key, "CannonAmmo"))
            doc_.setDefaultpCannonAmmo(static_cast<int32_t>(number(key, value, low, high)));
    }

    int64_t number(std::string_view key, std::string_view value, int64_t low, int64_t high) {
        const auto n = wholeNumber(value, low, high);
        if (!n)
            fail(std::string(key) + " needs a number from " + std::to_string(low) + " to " +
                 std::to_string(high) + ", not \"" + std::string(value) + "\"");
        return *n;
    }

    [[noreturn]] void fail(const std::string& message) {
        throw FormatError(file_ + ", line " + std::to_string(number_) + ": " + message);
    }

    ClsQCGroups& doc_;
    std::string file_;
    int number_ = 0;
    Section section_ = Section::None;
    ClsQCGrp* group_ = nullptr;
    ClsQCPlane* plane_ = nullptr;
};

// Every text the file holds, with a wording of where it sits in the document, made only when
// a refusal needs it. Entries are named under the first group that holds them.
template <typename Visit> void visitTexts(const ClsQCGroups& document, Visit&& visit) {
    int g = 0;
    for (const auto& groupItem : document.Groups()) {
        const ClsQCGrp& group = *groupItem.value;
        ++g;
        const auto groupPlace = [&] {
            return "group " + std::to_string(g) + " \"" + group.viewName() + "\"";
        };
        visit(group.defineName(), [&] { return "the name of " + groupPlace(); });
        for (const auto& planeItem : group.Planes()) {
            const ClsQCPlane& plane = *planeItem.value;
            visit(plane.aircraftPath(), [&] { return "an aircraft folder in " + groupPlace(); });
            visit(plane.defineName(), [&] {
                return "the name of aircraft " + plane.aircraftPath() + " in " + groupPlace();
            });
        }
    }
    visit(document.defaultPlaneName(), [] { return std::string("the default aircraft"); });
    const ClsStringList& strings = document.stringList();
    for (const auto& key : strings.Keys()) {
        visit(key.value, [&] { return "the key of string \"" + key.value + "\""; });
        if (const std::string* value = strings.find(key.value))
            visit(*value, [&] { return "string \"" + key.value + "\""; });
    }
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
// line, a strings key that would be cut short, or one with no form in the code page (looked
// for only once the whole text has failed to convert).
void checkTexts(const ClsQCGroups& document, const std::string& file, bool encoding) {
    const ClsStringList& strings = document.stringList();
    visitTexts(document, [&](std::string_view text, auto place) {
        const auto refuse = [&](const std::string& why) {
            throw FormatError(file + ": cannot be saved: " + place() + " " + why);
        };
        if (encoding) {
            if (const std::string bad = platform::unencodableCharacters(text); !bad.empty())
                refuse("has characters with no form in code page " + platform::ansiCodePage() +
                       ": " + bad);
        } else if (std::any_of(text.begin(), text.end(),
                               [](char c) { return c == '\r' || c == '\n'; })) {
            refuse("holds a line break");
        }
    });
    if (encoding)
        return;
    for (const auto& key : strings.Keys())
        if (!keyReadsBack(key.value))
            throw FormatError(file + ": cannot be saved: the key of string \"" + key.value +
                              "\" holds a quote followed by \"=\"");
}

} // namespace

std::string unquoteKey(std::string_view key) {
    if (key.empty() || (key.front() != '%' && key.front() != '"'))
        return std::string(key);
    if (key.size() < 2)
        return std::string();
    return std::string(key.substr(1, key.size() - 2));
}

void readQCFile(std::unique_ptr<ClsQCGroups>& document, std::string_view folder,
                std::string_view relativePath) {
    const std::string file = std::string(folder) + std::string(relativePath);
    document = std::make_unique<ClsQCGroups>();
    std::string text;
    try {
        text = platform::ansiToUtf8(platform::readFileBytes(file));
    } catch (const Error& e) {
        throw IoError(file + ": the quick-combat file cannot be opened (" + e.what() + ")");
    }
    Reader reader(*document, file);
    // Lines end in CR LF or CR; a lone LF counts too, so a file saved by a Unix editor is not
    // taken as one long line.
    int number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        reader.line(std::string_view(text).substr(pos, end - pos), ++number);
        if (end == text.size())
            break;
        pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

std::string qcFileText(const ClsQCGroups& document) {
    std::string out;
    // Appended piece by piece: a file of thousands of groups is written in one pass.
    const auto number = [&out](long long n) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, n);
        out.append(digits, result.ptr);
    };
    const auto keyLine = [&out, &number](std::string_view key, long long n,
                                         std::string_view value) {
        out.append(key);
        number(n);
        out.append("=").append(value).append(kCrLf);
    };
    int g = 0;
    for (const auto& groupItem : document.Groups()) {
        const ClsQCGrp& group = *groupItem.value;
        out.append(kCrLf).append("[option.");
        number(g++);
        out.append("]").append(kCrLf);
        out.append("OptionName=").append(group.defineName()).append(kCrLf);
        int p = 0;
        for (const auto& planeItem : group.Planes()) {
            const ClsQCPlane& plane = *planeItem.value;
            keyLine("aircraft.", p, plane.aircraftPath());
            out.append("family_type.");
            number(p);
            out.append("=");
            number(plane.aircraftType());
            out.append(kCrLf);
            keyLine("name.", p, plane.defineName());
            out.append(kCrLf);
            ++p;
        }
    }
    out.append("[player default aircraft]").append(kCrLf);
    out.append("aircraft=").append(document.defaultPlaneName()).append(kCrLf);
    out.append("GunAmmo=");
    number(document.defaultpGunAmmo());
    out.append(kCrLf).append("CannonAmmo=");
    number(document.defaultpCannonAmmo());
    out.append(kCrLf).append(kCrLf).append("[strings]").append(kCrLf);
    const ClsStringList& strings = document.stringList();
    for (const auto& key : strings.Keys()) {
        out.append("\"").append(key.value).append("\" = ");
        if (const std::string* value = strings.find(key.value))
            out.append(*value);
        out.append(kCrLf);
    }
    return out;
}

void writeQCFile(const ClsQCGroups& document, std::string_view folder,
                 std::string_view relativePath) {
    const std::string file = std::string(folder) + std::string(relativePath);
    checkTexts(document, file, false);
    std::string bytes;
    try {
        bytes = platform::utf8ToAnsi(qcFileText(document));
    } catch (const ArgumentError& e) {
        checkTexts(document, file, true);
        throw FormatError(file + ": a name or string has no form in code page " +
                          platform::ansiCodePage() + " (" + e.what() + ")");
    }
    const std::string backup = file + ".bak";
    if (!fileExists(backup))
        copyTextFile(file, backup);
    // Windows refuses to replace a read-only file; a rename would not.
    const auto attributes = platform::fileAttributes(file);
    if (attributes && (*attributes & platform::kAttrReadOnly))
        throw IoError(file + ": the quick-combat file is read-only");
    platform::writeFileAtomic(file, bytes);
}

} // namespace vokari
