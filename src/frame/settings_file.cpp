#include "frame/settings_file.h"

#include "common/decimal_text.h"
#include "platform/environment.h"
#include "platform/path_text.h"
#include "platform/profile.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace vokari {

std::string settingsFilePath() {
    if (const char* env = std::getenv("VOKARI_INI"); env && *env)
        return env;
    const auto exeDir = platform::executableDirectory();
    // An installed program (bin/ beside share/vokari) keeps its settings per user, even for a
    // user who may write to its folder.
    std::error_code ec;
    const bool installed = std::filesystem::is_directory(exeDir / ".." / "share" / "vokari", ec);
    if (!installed && platform::isWritableDirectory(exeDir))
        return platform::utf8Of(exeDir / "VOKARI.INI");
    return platform::utf8Of(platform::userConfigDirectory() / "VOKARI.INI");
}

std::string readSetting(std::string_view section, std::string_view key,
                        std::string_view defaultValue) {
    try {
        return platform::readIniString(section, key, defaultValue, settingsFilePath());
    } catch (...) {
        return std::string(defaultValue);
    }
}

bool writeSetting(std::string_view section, std::string_view key, std::string_view value) {
    const std::string file = settingsFilePath();
    try {
        // ~/.config/vokari does not exist before the first save.
        const std::filesystem::path folder = platform::pathFromUtf8(file).parent_path();
        std::error_code ec;
        if (!folder.empty() && !std::filesystem::exists(folder, ec))
            std::filesystem::create_directories(folder, ec);
        platform::writeIniString(section, key, value, file);
        return true;
    } catch (const std::exception& e) {
        // Settings are a convenience: the windows carry on, but the loss is said once.
        static std::atomic<bool> reported = false;
        if (!reported.exchange(true))
            std::cerr << "vokari: settings are not saved: " << e.what() << std::endl;
        return false;
    }
}

std::string formatSingle(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    return std::string(buffer, result.ptr);
}

std::optional<float> parseSingle(std::string_view text) {
    const auto value = parseDecimal(text);
    if (!value || !std::isfinite(static_cast<float>(*value)))
        return std::nullopt;
    return static_cast<float>(*value);
}

void restoreWindowPlacement(PlacementWindow& window, bool restoreSize) {
    try {
        const std::string file = settingsFilePath();
        const std::string section = window.placementName();
        if (restoreSize) {
            // A size that is not a usable number leaves the window at its designed size.
            const auto height =
                parseSingle(platform::readIniString(section, "FORM_HEIGHT", "7890", file));
            if (height && *height > 0)
                window.setHeightTwips(*height);
            const auto width =
                parseSingle(platform::readIniString(section, "FORM_WIDTH", "9720", file));
            if (width && *width > 0)
                window.setWidthTwips(*width);
        }
        // A position that is not a number counts as 0; one off the screen is kept.
        const std::string topDefault =
            formatSingle((window.screenHeightTwips() - window.heightTwips()) / 2);
        const float top =
            parseSingle(platform::readIniString(section, "FORM_TOP", topDefault, file)).value_or(0);
        const std::string leftDefault =
            formatSingle((window.screenWidthTwips() - window.widthTwips()) / 2);
        const float left =
            parseSingle(platform::readIniString(section, "FORM_LEFT", leftDefault, file))
                .value_or(0);
        window.moveTwips(left, top);
    } catch (...) {
        // Placement is a convenience: a window opens whatever the settings file holds.
    }
}

void saveWindowPlacement(const PlacementWindow& window) {
    const std::string section = window.placementName();
    const std::pair<const char*, double> values[] = {{"FORM_HEIGHT", window.heightTwips()},
                                                     {"FORM_WIDTH", window.widthTwips()},
                                                     {"FORM_TOP", window.topTwips()},
                                                     {"FORM_LEFT", window.leftTwips()}};
    for (const auto& [key, value] : values)
        writeSetting(section, key, formatSingle(value));
}

} // namespace vokari
