#pragma once

#include <string>
#include <string_view>

// The system's converter behind codepage.cpp: iconv on POSIX, the code page functions of
// Windows there. Only the platform's code page files include this.
namespace vokari::platform {

// Converts `in` between code pages named as VOKARI_CODEPAGE names them ("UTF-8" is one side).
// On a sequence with no counterpart either throws (`strict`: CodePageError naming the
// character when converting from UTF-8, else ArgumentError) or writes `replacement` and
// goes on after one byte. ArgumentError when the system does not know a code page.
std::string convert(std::string_view in, const char* to, const char* from, bool strict,
                    std::string_view replacement);

} // namespace vokari::platform
