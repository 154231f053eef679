#include "platform/host_paths.h"

#include <cstdlib>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

std::optional<fs::path>& prefixOverride() {
    static std::optional<fs::path> value;
    return value;
}

// An environment variable as a path; an empty one counts as unset.
std::optional<fs::path> envPath(const char* name) {
#ifdef _WIN32
    // The wide form: the narrow one holds only what the ANSI code page can.
    std::wstring wide(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = ::_wgetenv(wide.c_str());
#else
    const char* value = std::getenv(name);
#endif
    if (!value || !*value)
        return std::nullopt;
    return fs::path(value);
}

} // namespace

fs::path winePrefix() {
    if (prefixOverride())
        return *prefixOverride();
    if (auto env = envPath("WINEPREFIX"))
        return *env;
#ifdef _WIN32
    const auto home = envPath("USERPROFILE");
#else
    const auto home = envPath("HOME");
#endif
    return home.value_or(fs::path("/")) / ".wine";
}

void setWinePrefixOverride(std::optional<fs::path> prefix) {
    prefixOverride() = std::move(prefix);
}

std::optional<fs::path> winePrefixOverride() {
    return prefixOverride();
}

} // namespace vokari::platform
