#include "gameconfig/cfs_ini.h"

#include "common/file_helpers.h"
#include "frame/installation.h"
#include "gameconfig/number_text.h"
#include "journal/change_journal.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/folder_lock.h"
#include "platform/host_paths.h"
#include "platform/profile.h"
#include "platform/text.h"

#include <vector>

namespace vokari {

const std::array<CfsIniSetting, 12>& cfsIniSettings() {
    constexpr auto kSwitch = SettingKind::Switch;
    constexpr auto kNumber = SettingKind::WholeNumber;
    constexpr auto kText = SettingKind::Text;
    constexpr int kMax = 2147483647;
    static const std::array<CfsIniSetting, 12> settings{{
        {"MAIN", "ShowLogo", "1", kSwitch},
        {"MAIN", "ShowMovie", "1", kSwitch},
        {"MAIN", "DISPLAY_FRACTIONAL_MINUTES", "1", kSwitch},
        {"PANELS", "HUD_COLOR", "0", kNumber, 0, kMax},
        {"PREFS", "PANEL_MASKING_OFF", "", kSwitch},
        {"MULTIPLAYER", "SP_PLAYER_NAME", "Unknown Soldier", kText},
        {"MULTIPLAYER", "SP_PLAYER_COLOR_INDEX", "0", kNumber, 0, 15},
        {"MULTIPLAYER", "SP_DISPLAY_CHEAT_WARNINGS", "0", kSwitch},
        {"MULTIPLAYER", "COLLISION_SECS", "2", kNumber, 0, kMax},
        {"MULTIPLAYER", "STARTING_ALTITUDE", "1524", kNumber, 0, kMax},
        {"MULTIPLAYER", "SP_PLAYER_AIRCRAFT", "", kText},
        {"CONTROLS", "PAN_RATE", "400", kNumber, 0, kMax},
    }};
    return settings;
}

std::string settingValueProblem(const CfsIniSetting& setting, std::string_view value) {
    const std::string name = std::string(setting.section) + " " + setting.key;
    switch (setting.kind) {
    case SettingKind::Switch:
        if (trimView(value) == "0" || trimView(value) == "1")
            return {};
        return name + " takes 0 or 1";
    case SettingKind::WholeNumber: {
        const auto number = parseWholeNumber(value);
        if (number && *number >= setting.minimum && *number <= setting.maximum)
            return {};
        return name + " takes a whole number from " + std::to_string(setting.minimum) +
               (setting.maximum == 2147483647 ? " up" : " to " + std::to_string(setting.maximum));
    }
    case SettingKind::Text:
        if (value.find_first_of("\r\n") != std::string_view::npos)
            return name + " takes text on one line";
        if (const std::string bad = platform::unencodableCharacters(value); !bad.empty())
            return name + " takes text in the game's code page (" + platform::ansiCodePage() +
                   "), which cannot spell " + bad;
        return {};
    }
    return {};
}

std::string cfsIniFileName(int16_t version) {
    switch (version) {
    case kGameCfs1:
        return "COMBATFS.CFG";
    case kGameCfs2:
        return "cfs2.cfg";
    default:
        return {};
    }
}

CfsIni::CfsIni() {
    for (const char* name : {"MAIN", "PANELS", "PREFS", "MULTIPLAYER", "CONTROLS"})
        sections_.add(name, Section());
}

void CfsIni::setVersion(int16_t version) {
    version_ = version;
    const std::string name = cfsIniFileName(version);
    const std::string folder = name.empty() ? std::string() : gameFolder(version);
    // Without a game folder the bare name would be a file in whatever the current folder is.
    filePath_ = folder.empty() ? std::string() : folder + name;
}

void CfsIni::readFile() {
    for (const CfsIniSetting& s : cfsIniSettings())
        readKey(s.section, s.key, s.defaultValue);
}

void CfsIni::readKey(const char* section, const char* keyName, const char* defaultValue) {
    const std::string value =
        filePath_.empty() ? std::string(defaultValue)
                          : platform::readIniString(section, keyName, defaultValue, filePath_);
    IniKey k;
    k.setKeyName(keyName);
    k.setKeyValue(value);
    sections_.item(section).add(keyName, std::move(k));
}

IniKey& CfsIni::key(std::string_view section, std::string_view keyName) {
    if (!sections_.keyExists(section) || !sections_.item(section).keyExists(keyName))
        throw KeyError("unknown setting: [" + std::string(section) + "] " + std::string(keyName));
    return sections_.item(section).item(keyName);
}

const IniKey& CfsIni::key(std::string_view section, std::string_view keyName) const {
    return const_cast<CfsIni*>(this)->key(section, keyName);
}

std::string CfsIni::getKeyValue(std::string_view section, std::string_view keyName) const {
    return key(section, keyName).keyValue();
}

void CfsIni::setKeyValue(std::string_view section, std::string_view keyName,
                         std::string_view keyValue) {
    IniKey& k = key(section, keyName);
    if (keyValue.find_first_of("\r\n") != std::string_view::npos)
        throw ArgumentError("a setting's value must be one line: [" + std::string(section) + "] " +
                            std::string(keyName));
    k.setKeyValue(keyValue);
}

bool CfsIni::isKeyChanged(std::string_view section, std::string_view keyName) const {
    return key(section, keyName).changed();
}

bool CfsIni::hasChanges() const {
    for (const CfsIniSetting& s : cfsIniSettings())
        if (key(s.section, s.key).changed())
            return true;
    return false;
}

void CfsIni::saveFile() {
    std::vector<platform::ProfileEdit> edits;
    for (const CfsIniSetting& s : cfsIniSettings()) {
        const IniKey& k = key(s.section, s.key);
        if (!k.changed())
            continue;
        // Every value is checked before anything is written, so a save is all or nothing.
        if (const std::string bad = platform::unencodableCharacters(k.keyValue()); !bad.empty())
            throw CodePageError(k.keyValue(), bad, platform::ansiCodePage());
        edits.push_back({s.section, s.key, k.keyValue()});
    }
    if (edits.empty())
        return;
    if (filePath_.empty())
        throw IoError("no configuration file to write: game " + std::to_string(version_) +
                      " is not installed");
    {
        const std::string game = gameFolder(version_);
        const platform::FolderLock lock(platform::hostPath(game));
        const JournalScope journal(platform::hostPath(game), "settings", version_,
                                   lastPathElement(filePath_));
        platform::writeIniStrings(edits, filePath_);
    }
    for (const platform::ProfileEdit& edit : edits)
        key(edit.section, edit.key).setChanged(false);
}

} // namespace vokari
