#pragma once

#include "platform/folder_listings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vokari::platform {

// The Wine prefix that stands for the Windows machine: its drives map Windows paths to host
// files and its system.reg is the registry. An override (demo, tests) wins over $WINEPREFIX,
// which wins over ~/.wine. On Windows no path goes through it and the registry is the system's.
std::filesystem::path winePrefix();
void setWinePrefixOverride(std::optional<std::filesystem::path> prefix);
std::optional<std::filesystem::path> winePrefixOverride();

// Maps a Windows path (C:\Games\CFS2\Aircraft) to the host file it names. The drive letter goes
// through the prefix's dosdevices links (z: is / when the prefix has none); each component is
// matched against the disk without regard to case; a component that does not exist keeps the
// spelling given, and so do all after it. "\" and "/" both separate; repeated separators count
// as one. A host absolute path (/home/x) is taken as it stands, matched the same way. Within a
// ListingScope each folder is read once for all lookups. On Windows the path is the host path:
// only its spelling is made one ("\" between parts, "." and ".." taken by their text), and the
// file system matches names without regard to case.
std::filesystem::path hostPath(std::string_view windowsPath);
// The same as text, for callers that only pass it on to the system (cheaper than a path).
std::string hostPathText(std::string_view windowsPath);

// hostPathText into `host`, and what is there when a ListingScope's listings tell (None:
// nothing); empty when only the system can tell (always on Windows).
std::optional<HostKind> hostPathKind(std::string_view windowsPath, std::string& host);

// The host file `windowsPath` names when it exists exactly as spelled: the drive through its
// dosdevices link, every name as given. Callers that open a file try this first (the system
// checks the names while opening) and go to hostPath only when nothing is there. Nothing for
// paths with "." or ".." parts, which hostPath resolves by their text.
std::optional<std::string> hostPathAsSpelled(std::string_view windowsPath);

// A Windows path as the user finds it on this system, for messages: the host path here (a
// folder path that ends in a separator keeps a trailing "/"; on Windows the Windows path).
std::string displayPath(std::string_view windowsPath);

// The Windows path of a host file, for showing: the drive whose target holds it, else Z:; on
// Windows its absolute path.
std::string windowsPath(const std::filesystem::path& host);

} // namespace vokari::platform
