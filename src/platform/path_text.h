#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Host paths to and from the UTF-8 text the core keeps names in. On Windows a path made from
// a narrow string reads it in the ANSI code page, which cannot hold every name a player has
// (a name outside CP932, say): every conversion between the two goes through these.
namespace vokari::platform {

std::filesystem::path pathFromUtf8(std::string_view text);
std::string utf8Of(const std::filesystem::path& path);

// utf8Of without a copy where the system keeps paths in UTF-8 already, for lookups made by the
// thousand (the folder listings are keyed by it).
#ifdef _WIN32
inline std::string hostText(const std::filesystem::path& path) {
    return utf8Of(path);
}
#else
inline const std::string& hostText(const std::filesystem::path& path) {
    return path.native();
}
#endif

} // namespace vokari::platform
