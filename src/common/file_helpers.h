#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Taking Windows paths apart, testing for files, copying text files and finding files. The
// exact results on the edge cases (which separator ends up in a result, what an empty result
// means) are what the callers rely on.
namespace vokari {

// True when `path` names at least one normal file; `*` and `?` in its last part match any file.
// Folders, hidden and system files do not count.
bool fileExists(std::string_view path);

// The lines of `bytes` (ended by CR LF, CR or LF) each followed by CR LF.
std::string crLfLines(std::string_view bytes);

// When `source` exists: its lines (ended by CR LF, CR or LF) each followed by CR LF, written to
// `target`, which is created or replaced whole (never left half written). Otherwise nothing
// happens. Throws IoError.
void copyTextFile(std::string_view source, std::string_view target);

// Splits at the last `separator`: `folder` gets every earlier part followed by a backslash
// (whatever the separator), `fileName` the rest. Without a separator the folder is empty.
void splitPath(std::string_view path, std::string& folder, std::string& fileName,
               std::string_view separator = "\\");

// The part after the last separator; the whole text when there is none.
std::string lastPathElement(std::string_view path, std::string_view separator = "\\");

// Everything before the last separator; empty when there is none. a\b\ gives a\b.
std::string parentPath(std::string_view path, std::string_view separator = "\\");

// The text after the last "." of the whole path (not only the last element).
std::string fileExtension(std::string_view path);

// `path` without its last "." and what follows; unchanged when that is empty.
std::string removeExtension(std::string_view path);

// Shortens a path for display, keeping the last element whole: leading folders are kept
// while they fit in `maxLength`, then "...\" stands for the rest.
std::string abbreviatePath(std::string_view path, int32_t maxLength,
                           std::string_view separator = "\\");

// The full path of the first file named `fileName` (without regard to case) in the tree under
// `rootPath`, or the empty text. Links to folders are not followed.
std::string findFileInTree(std::string_view fileName, std::string_view rootPath);

// In an aircraft's own folder, "aircraft.cfg" and "aircraft.cfg.rst" (the aircraft switched
// off) are one file in two states: the other name of `name` (any letter case), else empty.
std::string_view aircraftFileTwin(std::string_view name);

// True for a folder path relative to the game folder that is an aircraft's own folder,
// "Aircraft\P51D\" (either separator, any letter case, the last separator optional).
bool isAircraftOwnFolder(std::string_view relative);

// `folder` followed by `name`, with exactly the one backslash between them that a folder path
// meant to be extended already ends in (added when missing).
std::string joinPath(std::string_view folder, std::string_view name);

} // namespace vokari
