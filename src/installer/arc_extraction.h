#pragma once

#include "installer/cfs_arc_list.h"

#include <string>
#include <string_view>
#include <vector>

// Unpacking planned entries: each archive is read once, entries are written in plan order
// (so a file written earlier in the run counts as existing for later ones; an entry skipped
// for one is reported), and only ever as a regular file under its own plain name in its
// destination folder. Each entry's data is held to what the listing showed (size, and CRC for
// ZIP) and the file keeps the time the package records for it.
namespace vokari {

struct ExtractionStep {
    const CfsArcFile* entry = nullptr;
    std::string folder;        // full Windows path, ending in a backslash
    bool skipExisting = false; // leave an existing file alone
    bool backup = false;       // copy an existing file to ".bak" once before replacing it
    // An aircraft's own folder: its file switched off ("aircraft.cfg.rst") is the file
    // "aircraft.cfg" replaces, so the aircraft keeps its state and one file.
    bool aircraftFolder = false;
};

// `gameFolder` (a Windows path), when given, is locked for the run, and leftovers of a killed
// run are removed from the folders written to.
std::vector<ExtractionFailure> runExtraction(const std::vector<ExtractionStep>& steps,
                                             const ExtractionProgress& progress = {},
                                             const std::string& gameFolder = {},
                                             ExtractionCounts* counts = nullptr);

// Why the entry must never be written (a link, a device, a name that is no plain file name);
// empty when it may be. `problem`, when given, gets the same as a code.
std::string refusalReason(const CfsArcFile& entry, ExtractionProblem* problem = nullptr);

bool hasControlCharacter(std::string_view text);

// A folder path relative to the game folder that cannot lead out of it: no drive, no leading
// separator, no ".." element, no control character.
bool isContainedRelativeFolder(std::string_view folder);

} // namespace vokari
