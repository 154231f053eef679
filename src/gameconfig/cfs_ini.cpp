#include "gameconfig/cfs_ini.h"

#include "common/file_helpers.h"
#include "frame/installation.h"
#include "journal/change_journal.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/folder_lock.h"
#include "platform/host_paths.h"
#include "platform/profile.h"

#include <vector>

namespace vokari {

const std::array<CfsIniSetting, 12>& cfsIniSettings() {
    static const std::array<CfsIniSetting, 12> settings{{
        {"MAIN", "ShowLogo", "1"},
        {"MAIN", "ShowMovie", "1"},
        {"MAIN", "DISPLAY_FRACTIONAL_MINUTES", "1"},
        {"PANELS", "HUD_COLOR", "0"},
        {"PREFS", "PANEL_MASKING_OFF", ""},
        {"MULTIPLAYER", "SP_PLAYER_NAME", "Unknown Soldier"},
        {"MULTIPLAYER", "SP_PLAYER_COLOR_INDEX", "0"},
        {"MULTIPLAYER", "SP_DISPLAY_CHEAT_WARNINGS", "0"},
        {"MULTIPLAYER", "COLLISION_SECS", "2"},
        {"MULTIPLAYER", "STARTING_ALTITUDE", "1524"},
        {"MULTIPLAYER", "SP_PLAYER_AIRCRAFT", ""},
        {"CONTROLS", "PAN_RATE", "400"},
    }};
    return settings;
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
