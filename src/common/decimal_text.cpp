#include "common/decimal_text.h"

#include "platform/text.h"

#include <charconv>
#include <cmath>

namespace vokari {

std::optional<double> parseDecimal(std::string_view text) {
    std::string_view t = trimView(text);
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    if (t.empty() || !((t.front() >= '0' && t.front() <= '9') || t.front() == '.'))
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(t.data(), t.data() + t.size(), value);
    if (result.ec != std::errc() || result.ptr != t.data() + t.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace vokari
