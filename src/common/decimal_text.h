#pragma once

#include <optional>
#include <string_view>

namespace vokari {

// The decimal number that `text` holds: blanks around it, an optional sign, digits with an
// optional decimal point, an optional exponent. Nothing for anything else, "inf" and "nan"
// included.
std::optional<double> parseDecimal(std::string_view text);

} // namespace vokari
