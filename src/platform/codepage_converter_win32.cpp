#include "platform/codepage_converter.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/text.h"

#include <cstdlib>
#include <locale.h>
#include <windows.h>

namespace vokari::platform {
namespace {

// A code page number for the names iconv takes; 0 when unknown.
UINT codePageNumber(std::string_view name) {
    const std::string folded = asciiLower(name);
    if (folded == "utf-8" || folded == "utf8")
        return CP_UTF8;
    if (folded == "cp932" || folded == "ms932" || folded == "shift_jis" || folded == "sjis" ||
        folded == "shift-jis" || folded == "windows-31j")
        return 932;
    if (folded == "ascii" || folded == "us-ascii")
        return 20127;
    if (folded == "latin1")
        return 28591;
    if (folded == "euc-jp")
        return 20932;
    std::string_view digits = folded;
    for (const std::string_view prefix : {"cp", "windows-", "iso-8859-", "iso8859-"}) {
        if (digits.rfind(prefix, 0) == 0) {
            digits.remove_prefix(prefix.size());
            if (prefix.rfind("iso", 0) == 0) {
                const UINT part = static_cast<UINT>(std::atoi(std::string(digits).c_str()));
                return part > 0 && part <= 16 ? 28590 + part : 0;
            }
            break;
        }
    }
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos ||
        digits.size() > 5)
        return 0;
    return static_cast<UINT>(std::atoi(std::string(digits).c_str()));
}

UINT codePageOf(const char* name, const char* to, const char* from) {
    const UINT page = codePageNumber(name);
    if (page == 0 || !::IsValidCodePage(page))
        throw ArgumentError(std::string("code page not supported: ") + from + " -> " + to);
    return page;
}

// The UTF-16 of bytes in `page`, or nothing when a sequence has no counterpart.
std::optional<std::wstring> wideOf(std::string_view bytes, UINT page) {
    if (bytes.empty())
        return std::wstring();
    const int size = static_cast<int>(bytes.size());
    const int n = ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data(), n);
    // A lone surrogate is no character, though the UTF-8 decoder lets it through.
    for (size_t i = 0; i < out.size(); ++i) {
        const wchar_t unit = out[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < out.size() && out[i + 1] >= 0xDC00 &&
            out[i + 1] <= 0xDFFF) {
            ++i;
            continue;
        }
        if (unit >= 0xD800 && unit <= 0xDFFF)
            return std::nullopt;
    }
    return out;
}

// The bytes of UTF-16 text in `page`, or nothing when a character has no form there (no
// look-alike stands in for it).
std::optional<std::string> bytesOf(std::wstring_view text, UINT page) {
    if (text.empty())
        return std::string();
    const int size = static_cast<int>(text.size());
    const bool utf8 = page == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf8 ? nullptr : &usedDefault;
    const int n = ::WideCharToMultiByte(page, flags, text.data(), size, nullptr, 0, nullptr, used);
    if (n <= 0 || usedDefault)
        return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(page, flags, text.data(), size, out.data(), n, nullptr, used);
    if (usedDefault)
        return std::nullopt;
    return out;
}

// Where Windows' tables and iconv's differ, iconv's answer: these code points have no form in
// the code page, whatever Windows makes of them (Windows' Japanese table gives the bytes 0x80,
// 0xA0 and 0xFD to 0xFF characters of their own; its Western ones give the bytes they leave
// out the control characters of the same number).
bool isLeftOut(wchar_t unit, UINT page) {
    if (page == 932)
        return unit == 0x80 || (unit >= 0xF8F0 && unit <= 0xF8F3);
    if (page >= 1250 && page <= 1258)
        return unit >= 0x80 && unit <= 0x9F;
    return false;
}

// ...and these have a form in CP932 that Windows gives only as a look-alike: the JIS forms
// of the signs that CP932 maps to other code points.
std::optional<std::string_view> jisForm(wchar_t unit) {
    switch (unit) {
    case 0x00A2:
        return "\x81\x91";
    case 0x00A3:
        return "\x81\x92";
    case 0x00A5:
        return "\x5C";
    case 0x00AC:
        return "\x81\xCA";
    case 0x2014:
        return "\x81\x5C";
    case 0x2016:
        return "\x81\x61";
    case 0x203E:
        return "\x7E";
    case 0x2212:
        return "\x81\x7C";
    case 0x301C:
        return "\x81\x60";
    default:
        return std::nullopt;
    }
}

std::optional<std::string> convertWhole(std::string_view in, UINT to, UINT from) {
    const auto wide = wideOf(in, from);
    if (!wide)
        return std::nullopt;
    for (const wchar_t unit : *wide) {
        if (isLeftOut(unit, from) || isLeftOut(unit, to))
            return std::nullopt;
    }
    if (to != 932)
        return bytesOf(*wide, to);
    std::string out;
    size_t start = 0;
    for (size_t i = 0; i <= wide->size(); ++i) {
        const auto jis = i < wide->size() ? jisForm((*wide)[i]) : std::nullopt;
        if (i < wide->size() && !jis)
            continue;
        const auto run = bytesOf(std::wstring_view(*wide).substr(start, i - start), to);
        if (!run)
            return std::nullopt;
        out += *run;
        if (jis)
            out += *jis;
        start = i + 1;
    }
    return out;
}

// The width of the character `in` starts with: as its lead byte announces it in UTF-8, two
// bytes after a lead byte of a double-byte code page, else one.
size_t characterWidth(std::string_view in, UINT page) {
    const auto lead = static_cast<unsigned char>(in.front());
    size_t width = 1;
    if (page == CP_UTF8)
        width = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    else if (::IsDBCSLeadByteEx(page, lead))
        width = 2;
    return std::min(width, in.size());
}

} // namespace

std::string convert(std::string_view in, const char* to, const char* from, bool strict,
                    std::string_view replacement) {
    const UINT toPage = codePageOf(to, to, from);
    const UINT fromPage = codePageOf(from, to, from);
    if (auto whole = convertWhole(in, toPage, fromPage))
        return *whole;
    // Character by character, to tell which one has no counterpart.
    std::string out;
    size_t pos = 0;
    while (pos < in.size()) {
        const std::string_view character = in.substr(pos, characterWidth(in.substr(pos), fromPage));
        if (auto converted = convertWhole(character, toPage, fromPage)) {
            out += *converted;
            pos += character.size();
            continue;
        }
        if (strict) {
            if (fromPage != CP_UTF8)
                throw ArgumentError("text cannot be converted to " + std::string(to));
            throw CodePageError(std::string(in), std::string(character), to);
        }
        out += replacement;
        ++pos;
    }
    return out;
}

// The C runtime's character type of this thread only, UTF-8 where the runtime has such a
// locale (the UCRT); the older msvcrt has none, and there this changes nothing.
ThreadUtf8Locale::ThreadUtf8Locale() {
    const int before = ::_configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    const char* current = ::setlocale(LC_CTYPE, nullptr);
    std::string* previous = new std::string(current ? current : "C");
    if (::setlocale(LC_CTYPE, ".UTF-8") || ::setlocale(LC_CTYPE, ".65001")) {
        locale_ = reinterpret_cast<void*>(static_cast<intptr_t>(before));
        previous_ = previous;
        return;
    }
    delete previous;
    ::_configthreadlocale(before);
}

ThreadUtf8Locale::~ThreadUtf8Locale() {
    if (!previous_)
        return;
    auto* previous = static_cast<std::string*>(previous_);
    ::setlocale(LC_CTYPE, previous->c_str());
    delete previous;
    ::_configthreadlocale(static_cast<int>(reinterpret_cast<intptr_t>(locale_)));
}

} // namespace vokari::platform
