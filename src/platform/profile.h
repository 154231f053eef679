#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// "[section] key=value" files, read and written the way Windows' profile functions do, which
// is what the games' files and the tool's own settings file were written for.
namespace vokari::platform {

// The value of `key` in `[section]` of `file`, or `defaultValue`. Section and key names match
// without regard to case; the first matching section and key win; a header's name runs to the
// last "]" of its line, and a line starting "[" without one is no header; a line without "="
// is a key with an empty value, one starting ";" a comment; blanks around names and values
// are ignored; one pair of enclosing " or ' quotes is removed; the value is cut to what fits
// 255 bytes of the ANSI code page and trimmed. Lines end at LF, CR LF or a lone CR; ^Z counts
// as a blank; names are read character by character in CP932; after a UTF-8 byte-order mark
// the file is UTF-8, after a UTF-16 one UTF-16. The file is parsed once and served from
// memory until its size or modification time changes.
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

// A profile file read once, front to back, by the rules of the lookups above: for readers that
// take a few sections as they come (a panel's gauges) and need no index. Keys before the first
// section are passed over, as lookups never find them.
class ProfileReader {
public:
    explicit ProfileReader(std::string_view file);
    ~ProfileReader();
    ProfileReader(const ProfileReader&) = delete;
    ProfileReader& operator=(const ProfileReader&) = delete;

    // The file exists as a file (it may still be unreadable: it then has no lines).
    bool exists() const { return exists_; }
    // Moves to the next section header or key line; false at the end of the file.
    bool next();
    // Moves past the header of the first section named `section` (without regard to case);
    // false, at the end of the file, when there is none.
    bool findSection(std::string_view section);
    bool isSection() const { return isSection_; }
    // The section's name or the key, trimmed, in the file's bytes: an ASCII name matches as
    // equalsNoCase says, and no other name matches an ASCII one.
    std::string_view name() const { return name_; }
    // The key's value as a lookup gives it: a view of the file's bytes (valid while the reader
    // lives), or of `scratch` when it had to be decoded.
    std::string_view value(std::string& scratch) const;
    // The text of that value before its first `separator` (ASCII punctuation below '@', which
    // no double-byte character holds), without looking at the rest; nothing when the value
    // holds no separator.
    std::optional<std::string_view> valueBefore(char separator, std::string& scratch) const;

private:
    struct State;
    std::unique_ptr<State> state_;
    bool exists_ = false;
    bool isSection_ = false;
    std::string_view name_;
};

// Sets `key` in `[section]` of `file`: the key's line is replaced in place, a missing key is
// added at the end of its section, a missing section at the end of the file, a missing file is
// created. Every other byte stays as it was; a UTF-16 file stays UTF-16. The file is replaced
// atomically (see writeFileAtomic: read-only files are refused, links written through). Throws
// IoError when the file cannot be written, ArgumentError when a text holds CR or LF or has no
// form in the code page.
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
