#pragma once

#include "installer/cfs_arc_list.h"

#include <string>
#include <vector>

// Archives inside a package: each is unpacked into a sub-folder of its own in the work
// directory (two nested archives of one name must not meet) and read into the same list.
namespace vokari {

// The archive entries of the list, in order: what the user is asked about.
std::vector<const CfsArcFile*> nestedArchives(const CfsArcList& list);

// A new, empty sub-folder of the work directory (Windows path ending in a backslash).
// Throws IoError.
std::string newNestedArchiveFolder();

// Unpacks one nested archive into a new sub-folder and reads it into the list. Returns the
// result of the first step that failed, else that of ReadArchive. `folder`, when given, gets
// the sub-folder as soon as it exists (for a caller that removes it when done). `failure`,
// when given, gets the nested archive and why it was not read (reason empty when it was).
int32_t readNestedArchive(CfsArcList& list, intptr_t owner, const CfsArcFile& entry,
                          std::string* folder = nullptr, ExtractionFailure* failure = nullptr);

} // namespace vokari
