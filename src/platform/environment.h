#pragma once

#include <filesystem>
#include <string>

// Where the program keeps its own files on this system.
namespace vokari::platform {

// TEMP, else TMPDIR, else /tmp.
std::filesystem::path hostTempDirectory();

// $XDG_DATA_HOME/vokari, else ~/.local/share/vokari.
std::filesystem::path userDataDirectory();

// $XDG_CONFIG_HOME/vokari, else ~/.config/vokari.
std::filesystem::path userConfigDirectory();

// $XDG_RUNTIME_DIR, else the temp directory.
std::filesystem::path runtimeDirectory();

// The folder of the running executable (empty when it cannot be told).
std::filesystem::path executableDirectory();

// The current user's id as text (on POSIX the user number), for names that must differ
// between the users of one machine.
std::string currentUserId();

// True when the current user may create files in `folder`.
bool isWritableDirectory(const std::filesystem::path& folder);

// Creates `folder` with mode 0700 when missing. Throws IoError when it is a symbolic link,
// not a folder, or belongs to another user: such a folder is never used.
void ensurePrivateDirectory(const std::filesystem::path& folder);

// True when other users may create files in `folder` too (/tmp): names made there must
// differ between users.
bool isSharedDirectory(const std::filesystem::path& folder);

// True when `folder` exists, is no link, and belongs to the current user.
bool isOwnPlainDirectory(const std::filesystem::path& folder);

} // namespace vokari::platform
