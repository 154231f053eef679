#pragma once

#include "platform/wine_prefixes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Which Wine prefix stands for the Windows machine when the user has not named one: the prefix
// saved in the settings file, else the first prefix found that holds a game.
namespace vokari {

struct GamePrefix {
    platform::WinePrefixFound prefix;
    std::vector<int16_t> games; // the versions installed in it, in order
};

// The versions whose registry key the prefix's system.reg holds.
std::vector<int16_t> gamesInPrefix(const std::filesystem::path& prefix);

// Every prefix found for the current user, with its games.
std::vector<GamePrefix> findGamePrefixes();

// The saved prefix when it still looks like a prefix, else the first found that holds a game;
// nothing when neither (the default prefix stays).
std::optional<std::filesystem::path> chooseWinePrefix(const std::vector<GamePrefix>& found,
                                                      const std::string& saved);

// WINE_PREFIX of [VokariWindow]; empty when missing or unreadable.
std::string readSavedWinePrefix();
// Writes WINE_PREFIX; false when the settings file cannot be written.
bool writeSavedWinePrefix(const std::filesystem::path& prefix);

// True when the user named the prefix ($WINEPREFIX): no other is looked for or offered.
bool winePrefixNamedByUser();

// At start-up, unless the user named a prefix: finds the prefixes, makes the chosen one the
// prefix every lookup uses, and returns what was found (for the launcher's choice).
std::vector<GamePrefix> applyWinePrefixChoice();

} // namespace vokari
