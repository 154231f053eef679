#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The Wine prefixes a player is likely to have: plain Wine, Lutris, Bottles, PlayOnLinux and
// Steam's Proton each keep their own. Only folders that look like a prefix (a system.reg and a
// dosdevices or drive_c folder) are reported; a broken listing or settings file is skipped.
namespace vokari::platform {

struct WinePrefixFound {
    std::filesystem::path path;
    std::string source; // WINEPREFIX, wine, wineprefixes, lutris, bottles, playonlinux, steam
    std::string name;   // a readable name: the Lutris game or bottle where known, else the folder
};

// Every prefix found under `home` (and $WINEPREFIX when `winePrefixEnv` is not empty), each
// once, in the order of the sources above.
std::vector<WinePrefixFound> findWinePrefixes(const std::filesystem::path& home,
                                              std::string_view winePrefixEnv);

// The same for the current user ($HOME, $WINEPREFIX); none on Windows.
std::vector<WinePrefixFound> findWinePrefixes();

bool looksLikeWinePrefix(const std::filesystem::path& folder);

// The value of a top-level or nested `key:` line of a YAML file, unquoted; the first one met.
// Tolerant: anything it cannot read gives an empty text. Exposed for tests.
std::string yamlValue(std::string_view text, std::string_view key);

// Every "path" value of a Steam libraryfolders.vdf, unescaped. Exposed for tests.
std::vector<std::string> vdfLibraryPaths(std::string_view text);

// The value of `"key" "value"` in a Steam .vdf/.acf text, the first one met.
std::string vdfValue(std::string_view text, std::string_view key);

} // namespace vokari::platform
