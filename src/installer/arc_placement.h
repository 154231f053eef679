#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vokari {

class CfsArcFile;

// The four placement passes over the entries of one archive, in listing order: the panel
// package, marker files (aircraft, ships, campaigns), extensions, and un-placing archives and
// descriptions. `archiveName` is the archive's file name; `minimumVersion` is raised to 2 by
// the extension pass, never lowered.
void placeArchiveEntries(const std::vector<CfsArcFile*>& entries, const std::string& archiveName,
                         int16_t version, const std::string& cfsPath, int16_t& minimumVersion);

} // namespace vokari
