#include "platform/codepage.h"

#include "common/error.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <string>
#include <string_view>

namespace vokari::platform {
namespace {

std::string& codePageName() {
    static std::string name = [] {
        const char* env = std::getenv("VOKARI_CODEPAGE");
        return std::string(env && *env ? env : "CP932");
    }();
    return name;
}

// Converts with iconv; on an undecodable sequence either throws or writes `replacement` and
// skips one byte.
// Opening a converter costs more than converting a title: each thread keeps the last one per
// direction, reset before use.
class Converter {
public:
    iconv_t get(const char* to, const char* from) {
        if (cd_ != invalid() && to_ == to && from_ == from) {
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            return cd_;
        }
        close();
        cd_ = iconv_open(to, from);
        if (cd_ == invalid())
            throw ArgumentError(std::string("code page not supported: ") + from + " -> " + to);
        to_ = to;
        from_ = from;
        return cd_;
    }
    ~Converter() { close(); }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    void close() {
        if (cd_ != invalid())
            iconv_close(cd_);
        cd_ = invalid();
    }
    iconv_t cd_ = invalid();
    std::string to_;
    std::string from_;
};

iconv_t converter(const char* to, const char* from) {
    thread_local Converter toUtf8;
    thread_local Converter fromUtf8;
    return (std::string_view(to) == "UTF-8" ? toUtf8 : fromUtf8).get(to, from);
}

// The UTF-8 character that `text` begins with.
std::string utf8CharacterAt(std::string_view text) {
    if (text.empty())
        return {};
    const auto lead = static_cast<unsigned char>(text[0]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::string(text.substr(0, length));
}

std::string convert(std::string_view in, const char* to, const char* from, bool strict,
                    std::string_view replacement) {
    iconv_t cd = converter(to, from);
    std::string out;
    out.resize(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        if (rc != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            const size_t used = out.size() - dstLeft;
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = out.size() - used;
            continue;
        }
        // EILSEQ or EINVAL: a sequence that has no counterpart
        if (strict) {
            if (std::string_view(from) != "UTF-8")
                throw ArgumentError("text cannot be converted to " + std::string(to));
            throw CodePageError(std::string(in), utf8CharacterAt(std::string_view(src, srcLeft)),
                                to);
        }
        if (dstLeft < replacement.size() + 1) {
            const size_t used = out.size() - dstLeft;
            out.resize(out.size() * 2 + replacement.size());
            dst = out.data() + used;
            dstLeft = out.size() - used;
        }
        for (char c : replacement) {
            *dst++ = c;
            --dstLeft;
        }
        ++src;
        --srcLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(out.size() - dstLeft);
    return out;
}

} // namespace

// Eight bytes at a time: profile values are checked on every lookup.
bool isAsciiText(std::string_view text) {
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

const std::string& ansiCodePage() {
    return codePageName();
}

void setAnsiCodePage(std::string name) {
    codePageName() = std::move(name);
}

std::string ansiToUtf8(std::string_view bytes) {
    if (isAsciiText(bytes))
        return std::string(bytes);
    return convert(bytes, "UTF-8", ansiCodePage().c_str(), false, "\xEF\xBF\xBD");
}

std::string utf8ToAnsi(std::string_view text) {
    if (isAsciiText(text))
        return std::string(text);
    return convert(text, ansiCodePage().c_str(), "UTF-8", true, {});
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
