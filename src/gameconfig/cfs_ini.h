#pragma once

#include "common/keyed_collection.h"
#include "gameconfig/ini_key.h"

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

// The handful of settings of the game's configuration file that the game offers no screen for.
// Only changed settings are written back, each on its own key line, so the rest of the game's
// file stays as the game wrote it.
namespace vokari {

// What a setting holds, for checking a value before it is written.
enum class SettingKind {
    Switch,      // 0 or 1
    WholeNumber, // a whole number from `minimum` to `maximum`
    Text,        // text in the game's code page, on one line
};

struct CfsIniSetting {
    const char* section;
    const char* key;
    const char* defaultValue; // used when the file lacks the key
    SettingKind kind = SettingKind::Text;
    int minimum = 0;
    int maximum = 0;
};

// The twelve known settings, in the order they are read and written; the same for both games.
const std::array<CfsIniSetting, 12>& cfsIniSettings();

// Why `value` cannot be written to `setting`, naming the values it takes; empty when it can.
std::string settingValueProblem(const CfsIniSetting& setting, std::string_view value);

// The configuration file's name inside the game folder: "COMBATFS.CFG" for the first game,
// "cfs2.cfg" for the second, empty for any other version.
std::string cfsIniFileName(int16_t version);

class CfsIni {
public:
    using Section = KeyedCollection<IniKey>;

    CfsIni(); // the five sections, empty

    // Stores the version and the configuration file of its game folder. The path stays empty
    // for a version other than 1 or 2 and for a game that is not installed.
    void setVersion(int16_t version);
    int16_t version() const { return version_; }
    const std::string& filePath() const { return filePath_; }

    // Loads the twelve settings, taking the default for every key the file lacks (or all of
    // them when there is no file). Once per object: a second call fails on the first key.
    void readFile();

    // The settings below throw KeyError for anything but the twelve known settings; section
    // and key names match without regard to case.
    std::string getKeyValue(std::string_view section, std::string_view keyName) const;
    // Throws ArgumentError for a value with a line break, which would split the key's line.
    void setKeyValue(std::string_view section, std::string_view keyName, std::string_view keyValue);
    template <std::integral T>
    requires(!std::same_as<T, bool>) void setKeyValue(std::string_view section,
                                                      std::string_view keyName, T keyValue) {
        setKeyValue(section, keyName, std::string_view(std::to_string(keyValue)));
    }
    bool isKeyChanged(std::string_view section, std::string_view keyName) const;
    // Whether any setting is changed: whether saveFile would write.
    bool hasChanges() const;

    // Writes every changed setting in one replacement of the file and clears their flags: all
    // or nothing. Throws ArgumentError, before anything is written, when a value has no form in
    // the file's code page, and IoError when the file cannot be written (or there is none to
    // write to); every setting then stays marked changed.
    void saveFile();

    const KeyedCollection<Section>& sections() const { return sections_; }

private:
    IniKey& key(std::string_view section, std::string_view keyName);
    const IniKey& key(std::string_view section, std::string_view keyName) const;
    void readKey(const char* section, const char* keyName, const char* defaultValue);

    KeyedCollection<Section> sections_;
    int16_t version_ = 0;
    std::string filePath_;
};

} // namespace vokari
