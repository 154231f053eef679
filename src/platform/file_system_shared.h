#pragma once

#include "platform/file_copy.h"
#include "platform/file_system.h"

#include <string>
#include <string_view>
#include <vector>

// What file_system.cpp, file_copy.cpp and their Windows sides share. Used by platform/ only.
namespace vokari::platform {

// A name a Windows path can hold: anything else would be read as separators, a drive or a
// pattern once joined into one, and name another file.
bool isWindowsName(std::string_view name);

// Sorts a folder's entries by name without regard to case, then as spelled.
void sortDirEntries(std::vector<DirEntry>& entries);

// Sorts a folder's entries as FolderHandle::list gives them.
void sortHostEntries(std::vector<HostEntry>& entries);

// The start of this process's staging names: a sweep leaves them, they are live.
std::string ownStagingPrefix();
// Adds to what leftoversRemoved() tells.
void countLeftoversRemoved(size_t count);

// Deletes the host folder `host` and everything in it as removeHostTree says, without telling
// the listings (each system's side).
long removeTree(const std::string& host, std::vector<std::string>* leftBehind,
                ReadOnlyFiles readOnly);

} // namespace vokari::platform
