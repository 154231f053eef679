#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers typed into the settings window or found in the game's file.
namespace vokari {

// The number in `text`: blanks around it, an optional sign, digits with an optional decimal
// point, an optional exponent. Full-width digits, sign and point (as a Japanese input method
// types them) count as their ASCII forms. Nothing when the text is not such a number.
std::optional<double> parseNumber(std::string_view text);

// The number in `text` formatted as "###0": rounded half away from zero to a whole number,
// without separators. Nothing when the text is not a number.
std::optional<std::string> formatWholeNumber(std::string_view text);

// The whole number that `text` holds ("1", " 2 ", "3.0"), or nothing when it holds anything
// else: no number, a fraction, or a value out of the int range.
std::optional<int> parseWholeNumber(std::string_view text);

} // namespace vokari
