#pragma once

// Shared by the Windows side of the platform files (NAME_win32.cpp) only.
#ifdef _WIN32

#include <string>
#include <string_view>

namespace vokari::platform {

// UTF-8 to and from the UTF-16 the wide-character API takes; bytes that are not UTF-8 come
// back as U+FFFD rather than failing.
std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

// The errno value the core's errors carry for a Windows error code (GetLastError()).
int errnoFromWin32(unsigned long error);
// errnoFromWin32(GetLastError()), also stored in errno.
int lastErrno();

} // namespace vokari::platform

#endif
