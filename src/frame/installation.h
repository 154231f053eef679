#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Where the games are installed, the names the tools share inside a game folder, and the
// program's work directory.
namespace vokari {

inline constexpr int16_t kGameNone = 0;
inline constexpr int16_t kGameCfs1 = 1;
inline constexpr int16_t kGameCfs2 = 2;

// The registry value InstalledTo of the game's key plus one backslash; empty when the version
// is not 1 or 2 or the value cannot be read (the game is not installed). Whether the folder
// exists is not checked.
std::string gameFolder(int16_t version);

namespace platform {
class RegistrySource;
}
// The same, read from another registry (a prefix that is not the current one).
std::string gameFolderIn(platform::RegistrySource& source, int16_t version);

// The registry key (under HKEY_LOCAL_MACHINE) of a game version; empty for other versions.
std::string gameRegistryKey(int16_t version);

// Reads one string value; false (and `value` empty) when the key or value is missing, is not
// a string, or is longer than 1023 bytes in the ANSI code page.
bool readRegistryText(uint32_t hive, std::string_view keyPath, std::string_view valueName,
                      std::string& value);

std::string aircraftFolderName();  // "Aircraft\"
std::string quickCombatFileName(); // "QuickCom\qc_plane.qcb"

// The temp directory as a Windows path ending in a backslash.
std::string tempDirectory();

// The temp directory followed by "vokaritmp\", or "vokaritmp-UID\" when other users share
// the temp directory. Builds the path only.
std::string workDirectory();

// Creates the work directory, private to the user, and returns it. Throws IoError when it is a
// link or belongs to someone else: it is never used then.
std::string ensureWorkDirectory();

// Deletes the work directory and what is in it; returns how many entries inside it could not
// be deleted (0 when there was nothing to delete). A work directory that is a link or belongs
// to another user is left alone and counts as 1.
int removeWorkDirectory();

// Starts the system's information program. False when none can be started; the About box
// then shows its message.
bool runSystemInfo();

} // namespace vokari
