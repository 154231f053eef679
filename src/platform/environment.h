#pragma once

#include <filesystem>
#include <string>

// Where the program keeps its own files on this system.
namespace vokari::platform {

// TEMP, else TMPDIR, else /tmp; on Windows TEMP, else the system's GetTempPathW.
std::filesystem::path hostTempDirectory();

// $XDG_DATA_HOME/vokari, else ~/.local/share/vokari; on Windows %LOCALAPPDATA%\Vokari.
std::filesystem::path userDataDirectory();

// $XDG_CONFIG_HOME/vokari, else ~/.config/vokari; on Windows %APPDATA%\Vokari.
std::filesystem::path userConfigDirectory();

// $XDG_RUNTIME_DIR, else the temp directory; on Windows the temp directory (the user's own).
std::filesystem::path runtimeDirectory();

// The folder of the running executable (empty when it cannot be told).
std::filesystem::path executableDirectory();

// The current user's id as text (on POSIX the user number, on Windows the SID), for names
// that must differ between the users of one machine.
std::string currentUserId();

// True when the current user may create files in `folder`.
bool isWritableDirectory(const std::filesystem::path& folder);

// Creates `folder` with mode 0700 when missing (on Windows with the rights of the folder it is
// in: the user's own in the user's profile). Throws IoError when it is a symbolic link, not a
// folder, or belongs to another user: such a folder is never used.
void ensurePrivateDirectory(const std::filesystem::path& folder);

// True when other users may create files in `folder` too (/tmp): names made there must
// differ between users. On Windows every folder outside the user's profile counts.
bool isSharedDirectory(const std::filesystem::path& folder);

// True when `folder` exists, is no link, and belongs to the current user.
bool isOwnPlainDirectory(const std::filesystem::path& folder);

} // namespace vokari::platform
