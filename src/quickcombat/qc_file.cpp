#include "quickcombat/qc_file.h"

#include "common/decimal_text.h"
#include "common/error.h"
#include "common/file_helpers.h"
#include "common/text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <exception>
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
            plane_ = &doc_.addPlane(group_->groupId(), value);
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
        throw LineError(platform::displayPath(file_), number_, message);
    }

    ClsQCGroups& doc_;
    std::string file_;
    int number_ = 0;
    Section section_ = Section::None;
    ClsQCGrp* group_ = nullptr;
    ClsQCPlane* plane_ = nullptr;
};

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
        std::throw_with_nested(
            IoError(file + ": the quick-combat file cannot be opened (" + e.what() + ")"));
    }
    Reader reader(*document, file);
    // Lines end in CR LF or CR; a lone LF counts too, so a file saved by a Unix editor is not
    // taken as one long line.
    int number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find_first_of("\r\n", pos);
        const size_t stop = end == std::string::npos ? text.size() : end;
        reader.line(std::string_view(text).substr(pos, stop - pos), ++number);
        if (end == std::string::npos)
            break;
        pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

std::string qcFileText(const ClsQCGroups& document) {
    std::string out;
    auto line = [&out](std::string_view text) { out.append(text).append(kCrLf); };
    int g = 0;
    for (const auto& groupItem : document.Groups()) {
        const ClsQCGrp& group = *groupItem.value;
        line("");
        line("[option." + std::to_string(g++) + "]");
        line("OptionName=" + group.defineName());
        int p = 0;
        for (const auto& planeItem : group.Planes()) {
            const ClsQCPlane& plane = *planeItem.value;
            const std::string n = std::to_string(p++);
            line("aircraft." + n + "=" + plane.aircraftPath());
            line("family_type." + n + "=" + std::to_string(plane.aircraftType()));
            line("name." + n + "=" + plane.defineName());
            line("");
        }
    }
    line("[player default aircraft]");
    line("aircraft=" + document.defaultPlaneName());
    line("GunAmmo=" + std::to_string(document.defaultpGunAmmo()));
    line("CannonAmmo=" + std::to_string(document.defaultpCannonAmmo()));
    line("");
    line("[strings]");
    const ClsStringList& strings = document.stringList();
    for (const auto& key : strings.Keys())
        line("\"" + key.value + "\" = " + strings.Item(key.value));
    return out;
}

void writeQCFile(const ClsQCGroups& document, std::string_view folder,
                 std::string_view relativePath) {
    const std::string file = std::string(folder) + std::string(relativePath);
    std::string bytes;
    try {
        bytes = platform::utf8ToAnsi(qcFileText(document));
    } catch (const ArgumentError& e) {
        std::throw_with_nested(FormatError(file + ": a name or string has no form in code page " +
                                           platform::ansiCodePage() + " (" + e.what() + ")"));
    }
    const std::string backup = file + ".bak";
    if (!fileExists(backup))
        copyTextFile(file, backup);
    // Windows refuses to replace a read-only file; a rename would not.
    const auto attributes = platform::fileAttributes(file);
    if (attributes && (*attributes & platform::kAttrReadOnly))
        throw IoError(FileAction::Write, platform::displayPath(file), EROFS);
    platform::writeFileAtomic(file, bytes);
}

} // namespace vokari
