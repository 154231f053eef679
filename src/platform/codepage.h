#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace vokari::platform {

// The ANSI code page of the games' files; CP932 unless VOKARI_CODEPAGE names another
// iconv encoding (on Windows one that names a code page: CP1252, WINDOWS-1252, ISO-8859-1...).
const std::string& ansiCodePage();
void setAnsiCodePage(std::string name);
// True when the code page is Shift-JIS (CP932 and its other names).
bool ansiCodePageIsShiftJis();

// ANSI bytes -> UTF-8. A byte sequence that does not decode becomes U+FFFD; callers that must
// keep such bytes work on the raw bytes instead (the profile writer does).
std::string ansiToUtf8(std::string_view bytes);
// The same, or nothing when a byte sequence does not decode: for readers that must not take a
// text changed.
std::optional<std::string> ansiToUtf8Exact(std::string_view bytes);
// The same into `out`, which keeps its room for the next text: false where the above gives
// nothing.
bool ansiToUtf8Exact(std::string_view bytes, std::string& out);

// UTF-8 -> ANSI bytes. Throws ArgumentError when a character has no ANSI form.
std::string utf8ToAnsi(std::string_view text);
// The same appended to `out`, which is left as it was when it throws.
void utf8ToAnsi(std::string_view text, std::string& out);

// The characters of a UTF-8 text that have no ANSI form, each once, in text order; empty when
// the whole text can be written. A byte that is not UTF-8 shows as U+FFFD.
std::string unencodableCharacters(std::string_view text);

// True when every byte is below 0x80: such text is the same in every code page and in UTF-8.
// Eight bytes at a time, and inline: readers ask it of every value of a large file.
inline bool isAsciiText(std::string_view text) {
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    if (i < text.size() && text.size() >= 8) { // the last eight bytes, overlapping
        uint64_t word;
        std::memcpy(&word, text.data() + text.size() - 8, 8);
        return !(word & 0x8080808080808080ull);
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

// True when `bytes` decode cleanly from the ANSI code page.
bool isValidAnsi(std::string_view bytes);

// While it lives, the calling thread's character type is UTF-8, whatever the program's locale;
// libarchive converts entry names to UTF-8 only then.
class ThreadUtf8Locale {
public:
    ThreadUtf8Locale();
    ~ThreadUtf8Locale();
    ThreadUtf8Locale(const ThreadUtf8Locale&) = delete;
    ThreadUtf8Locale& operator=(const ThreadUtf8Locale&) = delete;

private:
    void* locale_ = nullptr; // the system's locale handles
    void* previous_ = nullptr;
};

} // namespace vokari::platform
