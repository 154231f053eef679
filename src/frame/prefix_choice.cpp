#include "frame/prefix_choice.h"

#include "frame/installation.h"
#include "frame/settings_file.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/profile.h"
#include "platform/registry.h"

#include <cstdlib>

namespace fs = std::filesystem;

namespace vokari {
namespace {

constexpr std::string_view kSection = "FrmVokari";
constexpr std::string_view kKey = "WINE_PREFIX";

} // namespace

std::vector<int16_t> gamesInPrefix(const fs::path& prefix) {
    platform::WineRegistry registry(prefix / "system.reg");
    std::vector<int16_t> games;
    for (const int16_t version : {kGameCfs1, kGameCfs2}) {
        if (!gameFolderIn(registry, version).empty())
            games.push_back(version);
    }
    return games;
}

std::vector<GamePrefix> findGamePrefixes() {
    std::vector<GamePrefix> out;
    for (auto& prefix : platform::findWinePrefixes()) {
        std::vector<int16_t> games = gamesInPrefix(prefix.path);
        out.push_back(GamePrefix{std::move(prefix), std::move(games)});
    }
    return out;
}

std::optional<fs::path> chooseWinePrefix(const std::vector<GamePrefix>& found,
                                         const std::string& saved) {
    if (!saved.empty() && platform::looksLikeWinePrefix(saved))
        return platform::pathFromUtf8(saved);
    for (const auto& entry : found) {
        if (!entry.games.empty())
            return entry.prefix.path;
    }
    return std::nullopt;
}

std::string readSavedWinePrefix() {
    try {
        return platform::readIniString(kSection, kKey, "", settingsFilePath());
    } catch (...) {
        return {};
    }
}

bool writeSavedWinePrefix(const fs::path& prefix) {
    try {
        platform::writeIniString(kSection, kKey, platform::utf8Of(prefix), settingsFilePath());
        return true;
    } catch (...) {
        return false;
    }
}

bool winePrefixNamedByUser() {
    const char* env = std::getenv("WINEPREFIX");
    return env && *env;
}

std::vector<GamePrefix> applyWinePrefixChoice() {
    if (winePrefixNamedByUser())
        return {};
    std::vector<GamePrefix> found = findGamePrefixes();
    if (auto chosen = chooseWinePrefix(found, readSavedWinePrefix()))
        platform::setWinePrefixOverride(*chosen);
    return found;
}

} // namespace vokari
