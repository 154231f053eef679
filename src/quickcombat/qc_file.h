#pragma once

#include "quickcombat/qc_groups.h"

#include <memory>
#include <string>
#include <string_view>

// The game's quick-combat definition file (QuickCom\qc_plane.qcb): read leniently into a new
// document, written back in one canonical layout. Text in the ANSI code page, CR LF lines.
// Lines the document does not read (comments, unknown keys and sections) are kept as they are
// and written back in the part of the file they stood in.
namespace vokari {

// Replaces `document` with a new one filled from folder + relativePath. Throws IoError when the
// file cannot be read and FormatError (naming the file and line) on a value or line order the
// document cannot take, or on a text it would take that holds a NUL byte or bytes that do not
// decode in the code page; `document` then keeps what was read before that line, and says from
// which line it was not read (QcGroups::unreadFromLine), as it does when reading breaks off or
// when a file that is there cannot be read at all (from line 1).
void readQCFile(std::unique_ptr<QcGroups>& document, std::string_view folder,
                std::string_view relativePath);

// Whether a document read only in part (QcGroups::unreadFromLine) may be written: the file then
// loses the lines that were not read.
enum class PartialDocument { Refuse, Write };

// Writes the document over folder + relativePath, after copying the file once to ".bak" (an
// existing backup is kept). The file is replaced whole or not at all. Throws IoError when it
// cannot be replaced (read-only, missing folder), and FormatError when a text has no form in the
// code page or, unless `partial` says Write, when the document was read only in part.
void writeQCFile(const QcGroups& document, std::string_view folder, std::string_view relativePath,
                 PartialDocument partial = PartialDocument::Refuse);

// The bytes writeQCFile writes for a document, refused as it refuses them; nothing is written.
std::string qcFileBytes(const QcGroups& document, std::string_view folder,
                        std::string_view relativePath);

// The file's text for a document, in UTF-8 (kept lines decoded for showing).
std::string qcFileText(const QcGroups& document);

// A strings key enclosed in "%" or double quotes loses its first and last character.
std::string unquoteKey(std::string_view key);

} // namespace vokari
