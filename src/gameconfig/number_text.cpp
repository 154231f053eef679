#include "gameconfig/number_text.h"

#include "common/decimal_text.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace vokari {
namespace {

// Full-width forms U+FF0B '＋', U+FF0D '－', U+FF0E '．', U+FF10..U+FF19 '０'..'９' (UTF-8
// EF BC 8B..99) become ASCII; U+3000 (E3 80 80) becomes a blank. Other text is kept.
std::string halfWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBC) {
            const auto last = static_cast<unsigned char>(text[i + 2]);
            if (last >= 0x8B && last <= 0x99 && last != 0x8C && last != 0x8F) {
                out.push_back(static_cast<char>(last - 0x8B + '+'));
                i += 2;
                continue;
            }
        }
        if (c == 0xE3 && text.substr(i, 3) == "\xE3\x80\x80") {
            out.push_back(' ');
            i += 2;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

} // namespace

std::optional<double> parseNumber(std::string_view text) {
    return parseDecimal(halfWidth(text));
}

std::optional<std::string> formatWholeNumber(std::string_view text) {
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    double whole = std::round(*value);
    if (whole == 0)
        whole = 0; // no "-0"
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", whole);
    return std::string(buffer);
}

std::optional<int> parseWholeNumber(std::string_view text) {
    const auto value = parseNumber(text);
    if (!value || *value != std::trunc(*value) || *value < INT_MIN || *value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(*value);
}

} // namespace vokari
