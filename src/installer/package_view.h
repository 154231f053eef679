#pragma once

#include <string>
#include <string_view>

// How a file of a package is shown when the user asks to see it.
namespace vokari {

enum class ViewKind {
    Nothing, // a program (".exe"): never started from a package
    Text,    // the games' text files, shown decoded in the built-in viewer
    Desktop, // anything else: the desktop's program for its type
};

// By the upper-case extension of the entry's path: "EXE" nothing; "TXT", "CFG", "MIS", "CMG"
// text; anything else the desktop.
ViewKind viewKindOf(std::string_view fullPath);

// A text file of the games (ANSI code page) as UTF-8 with LF line ends. Throws IoError.
std::string readViewText(std::string_view path);

} // namespace vokari
