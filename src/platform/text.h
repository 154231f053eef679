#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vokari {

// ASCII letters only: the games' names are compared the way Windows compares file names,
// and Japanese text has no case. Inline: readers of large files call it for every byte.
inline char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string asciiLower(std::string_view text);
inline bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}
bool startsWithNoCase(std::string_view text, std::string_view prefix);

// Appends the UTF-8 form of one code point.
void appendUtf8(std::string& out, uint32_t codePoint);
bool endsWithNoCase(std::string_view text, std::string_view suffix);

// Blanks are spaces and tabs, as in the games' text files.
inline std::string_view trimView(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.substr(begin, end - begin);
}
std::string trim(std::string_view text);

// Replaces every occurrence of `from` (which must not be empty).
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// Lines joined by CR LF, as message boxes and the games' files use them.
inline constexpr std::string_view kCrLf = "\r\n";

} // namespace vokari
