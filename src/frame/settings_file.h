#pragma once

#include <optional>
#include <string>
#include <string_view>

// The program's own settings file VOKARI.INI: window placement and the chosen game.
namespace vokari {

// VOKARI_INI when set; else VOKARI.INI beside the executable when that folder is writable
// (portable use); else VOKARI.INI in the user's settings folder
// (platform::userConfigDirectory: $XDG_CONFIG_HOME/vokari, on Windows %APPDATA%\Vokari).
std::string settingsFilePath();

// The value of one key of the settings file; `defaultValue` when it is missing or the file
// cannot be read.
std::string readSetting(std::string_view section, std::string_view key,
                        std::string_view defaultValue = {});

// Sets one value in the settings file, creating its folder when missing. Never throws: the
// first failure of the run is reported on standard error, the value is lost. False then.
bool writeSetting(std::string_view section, std::string_view key, std::string_view value);

// A window as placement sees it: its name (the settings section) and its geometry in twips.
class PlacementWindow {
public:
    virtual ~PlacementWindow() = default;
    virtual std::string placementName() const = 0;
    virtual double heightTwips() const = 0;
    virtual double widthTwips() const = 0;
    virtual double topTwips() const = 0;
    virtual double leftTwips() const = 0;
    virtual void setHeightTwips(double height) = 0;
    virtual void setWidthTwips(double width) = 0;
    virtual void moveTwips(double left, double top) = 0;
    virtual double screenWidthTwips() const = 0;
    virtual double screenHeightTwips() const = 0;
};

// Applies the saved placement while a window loads: the size first (when `restoreSize`), then
// the position, centred on the screen by default. Nothing here ever fails the window.
void restoreWindowPlacement(PlacementWindow& window, bool restoreSize);

// Stores FORM_HEIGHT, FORM_WIDTH, FORM_TOP and FORM_LEFT, in that order, while a window unloads.
// A settings file that cannot be written loses the values (see writeSetting).
void saveWindowPlacement(const PlacementWindow& window);

// Decimal text of a single-precision number, as the settings file stores them ("7890", "412.5").
std::string formatSingle(double value);

// The number in `text` as a single-precision value, or nothing when it is not a number.
std::optional<float> parseSingle(std::string_view text);

inline constexpr double kTwipsPerInch = 1440.0;
inline double pixelsToTwips(double pixels, double dpi) {
    return pixels * kTwipsPerInch / dpi;
}
inline double twipsToPixels(double twips, double dpi) {
    return twips * dpi / kTwipsPerInch;
}

} // namespace vokari
