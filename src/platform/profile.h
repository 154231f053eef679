#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// "[section] key=value" files, read and written the way Windows' profile functions do, which
// is what the games' files and the tool's own settings file were written for.
namespace vokari::platform {

// The value of `key` in `[section]` of `file`, or `defaultValue`. Section and key names match
// without regard to case; the first matching section and key win; blanks around names and
// values are ignored; one pair of enclosing " or ' quotes is removed; the value is cut to 255
// bytes (in the file's code page) and trimmed. The file is parsed once and served from memory
// until its size or modification time changes.
std::string readIniString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::string_view file);

struct ParsedProfile;

// One profile file read once, for readers that look up many keys of the same file (a panel's
// gauges): every lookup answers as readIniString would, without mapping and checking the file
// again. The file is read afresh, whatever readIniString's cache holds.
class ProfileSnapshot {
public:
    // The file exists as a file (it may still be unreadable: its lookups then give defaults).
    bool exists() const { return exists_; }
    std::string value(std::string_view section, std::string_view key,
                      std::string_view defaultValue) const;
    // The names of the file's sections as lookups match them: trimmed, decoded, ASCII letters
    // lowered; each once, in file order.
    std::vector<std::string> sectionNames() const;
    // The same into `out`, reusing its storage.
    void valueInto(std::string_view section, std::string_view key, std::string_view defaultValue,
                   std::string& out) const;

private:
    friend ProfileSnapshot readIniFile(std::string_view file);
    uint32_t sectionIndex(std::string_view section) const;

    std::shared_ptr<const ParsedProfile> parsed_;
    bool exists_ = false;
    // Where the last lookup ended: readers walk a section key after key (gauge00, gauge01, ...),
    // so the entry after it is tried first. A snapshot serves one reader at a time.
    mutable std::string hintSection_;
    mutable uint32_t hintSectionIndex_ = 0;
    mutable uint32_t hintNext_ = 0;
    mutable bool hintValid_ = false;
};

ProfileSnapshot readIniFile(std::string_view file);

// Sets `key` in `[section]` of `file`: the key's line is replaced in place, a missing key is
// added at the end of its section, a missing section at the end of the file, a missing file is
// created. Every other byte stays as it was. The file is replaced atomically (see
// writeFileAtomic: read-only files are refused, links written through). Throws IoError when
// the file cannot be written, ArgumentError when a text holds CR or LF or has no form in the
// code page.
void writeIniString(std::string_view section, std::string_view key, std::string_view value,
                    std::string_view file);

// One key to set by writeIniStrings.
struct ProfileEdit {
    std::string section;
    std::string key;
    std::string value;
};

// Sets several keys as writeIniString does each, in order, in one replacement of the file: all
// of them are written or none. Every text is converted before the file is touched.
void writeIniStrings(const std::vector<ProfileEdit>& edits, std::string_view file);

// Forgets every parsed file (tests that rewrite files within one clock tick).
void clearProfileCache();

} // namespace vokari::platform
