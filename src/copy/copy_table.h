#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The entries of one folder tree of the first game, listed (and so counted) before anything is
// copied. The listing works on the host folder itself: names are taken as they are on disk,
// never turned into Windows paths, and links are never entered.
namespace vokari {

// Why an entry is not copied.
enum class CopyProblem {
    None,
    UnsafeName,      // a name a Windows path cannot hold
    DeviceName,      // CON, NUL, COM1, ... with or without an extension: Windows opens a device
    DotOrSpaceAtEnd, // Windows drops it, so the game would look for another name
    NotInCodePage,   // the second game's code page cannot spell it
    CaseTwin,        // the copy already gives the second game this name in another letter case
    Link,            // a symbolic link: never followed
    Unreadable,      // a folder whose entries could not be listed (err)
    NoTargetFolder,  // the second game lacks the top folder, which the copy does not create
    InTheWay,        // a file where the folder goes, or a folder where the file goes
    FolderNotCopied, // the folder it belongs in was not copied
    System,          // the system refused (err)
};

inline constexpr size_t kTopFolder = static_cast<size_t>(-1);

struct CopyEntry {
    size_t parent = kTopFolder; // index of the folder entry holding it
    std::string name;           // as on disk in the first game
    std::string relative;       // for showing: below the top folder, "P51D\panel\panel.cfg"
    bool isFolder = false;
    CopyProblem problem = CopyProblem::None; // found while listing
    int err = 0;
};

// One tree: a folder before its contents; all entries of a folder side by side, in listing
// order, followed folder by folder by those of its sub-folders.
struct CopyTable {
    std::string name;   // "AIRCRAFT" or "GAUGES"
    std::string source; // host folders
    std::string target;
    std::vector<CopyEntry> entries;
};

// False for names with \ : * ? " < > | or a control character.
bool isWindowsName(std::string_view name);

// Why the second game could not use a file of this name on disk; None when it can.
CopyProblem nameProblem(std::string_view name);

// Lists the tree `name` of the game folder `sourceGame` for copying into `targetGame` (Windows
// folders, the top folder matched without regard to case). No source folder: no entries. No
// target folder, or a source folder that cannot be read: one entry for the whole tree.
CopyTable collectCopyTable(std::string_view name, std::string_view sourceGame,
                           std::string_view targetGame);

} // namespace vokari
