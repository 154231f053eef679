#include "platform/codepage_converter.h"

#include "platform/codepage.h"
#include "platform/error.h"

#include <cerrno>
#include <iconv.h>
#include <locale.h>
#include <string>
#include <type_traits>

namespace vokari::platform {
namespace {

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

} // namespace

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

static_assert(std::is_pointer_v<locale_t>, "locale handles are kept as pointers");

ThreadUtf8Locale::ThreadUtf8Locale()
    : locale_(::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
    if (locale_)
        previous_ = ::uselocale(static_cast<locale_t>(locale_));
}

ThreadUtf8Locale::~ThreadUtf8Locale() {
    if (locale_) {
        ::uselocale(static_cast<locale_t>(previous_));
        ::freelocale(static_cast<locale_t>(locale_));
    }
}

} // namespace vokari::platform
