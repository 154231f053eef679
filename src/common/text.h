#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The first CR or LF at or after `pos`, or the end of the text. Sixteen bytes at a time where
// the processor allows: readers of large files split every line with it.
inline size_t findLineBreak(std::string_view text, size_t pos) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; pos + 16 <= text.size(); pos += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + pos));
        const int hits =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (hits)
            return pos + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(hits)));
    }
#endif
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n')
        ++pos;
    return pos;
}

// Replaces every occurrence of `from` (which must not be empty).
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// Lines joined by CR LF, as message boxes and the games' files use them.
inline constexpr std::string_view kCrLf = "\r\n";

} // namespace vokari
