#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Looking along text several bytes at a time: the readers and writers of large files ask these
// of every line.
namespace vokari {

namespace byte_scan {

static_assert(std::endian::native == std::endian::little, "the first hit is the lowest bit");

inline constexpr uint64_t kOnes = 0x0101010101010101ull;
inline constexpr uint64_t kHighs = 0x8080808080808080ull;

inline uint64_t load(const char* at) {
    uint64_t word;
    std::memcpy(&word, at, 8);
    return word;
}

// The high bit of each byte of `word` equal to `c`. A bit above the lowest may be false, but
// only above a true one: the lowest tells where, and none tells that there is none.
inline uint64_t bytesEqual(uint64_t word, char c) {
    const uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & kHighs;
}

} // namespace byte_scan

// The first CR or LF at or after `pos`, or the end of the text: sixteen or eight bytes at a
// time, then byte by byte.
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
    for (; pos + 8 <= text.size(); pos += 8) {
        const uint64_t word = byte_scan::load(text.data() + pos);
        if (const uint64_t hits =
                byte_scan::bytesEqual(word, '\r') | byte_scan::bytesEqual(word, '\n'))
            return pos + static_cast<size_t>(std::countr_zero(hits)) / 8;
    }
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n')
        ++pos;
    return pos;
}

// Where the first `c` or the first byte from 0x80 up lies; the size when neither does.
inline size_t findCharOrHigh(std::string_view text, char c) {
    using namespace byte_scan;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        const uint64_t word = load(text.data() + i);
        if (const uint64_t hits = bytesEqual(word, c) | (word & kHighs))
            return i + static_cast<size_t>(std::countr_zero(hits)) / 8;
    }
    while (i < text.size() && text[i] != c && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    return i;
}

namespace byte_scan {

// True when `text` is ASCII and holds neither `a` nor `b`, eight bytes at a time.
inline bool isAsciiWithout(std::string_view text, char a, char b) {
    const auto clean = [a, b](uint64_t word) {
        return !((word & kHighs) | bytesEqual(word, a) | bytesEqual(word, b));
    };
    if (text.size() < 8) {
        for (const char c : text)
            if (static_cast<unsigned char>(c) >= 0x80 || c == a || c == b)
                return false;
        return true;
    }
    for (size_t i = 0; i + 8 <= text.size(); i += 8)
        if (!clean(load(text.data() + i)))
            return false;
    return clean(load(text.data() + text.size() - 8)); // the last eight, overlapping
}

} // namespace byte_scan

// True when the text is ASCII and holds no CR or LF.
inline bool isAsciiLine(std::string_view text) {
    return byte_scan::isAsciiWithout(text, '\r', '\n');
}

// True when every byte is ASCII and none is NUL.
inline bool isAsciiWithoutNul(std::string_view text) {
    return byte_scan::isAsciiWithout(text, '\0', '\0');
}

} // namespace vokari
