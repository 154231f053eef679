#pragma once

#include <string>
#include <string_view>

namespace vokari {

// ASCII letters only: the games' names are compared the way Windows compares file names,
// and Japanese text has no case.
char asciiLower(char c);
std::string asciiLower(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
bool endsWithNoCase(std::string_view text, std::string_view suffix);

// Blanks are spaces and tabs, as in the games' text files.
std::string_view trimView(std::string_view text);
std::string trim(std::string_view text);

// Replaces every occurrence of `from` (which must not be empty).
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// Lines joined by CR LF, as message boxes and the games' files use them.
inline constexpr std::string_view kCrLf = "\r\n";

} // namespace vokari
