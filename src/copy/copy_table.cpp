#include "copy/copy_table.h"

#include "common/file_helpers.h"
#include "platform/codepage.h"
#include "platform/file_copy.h"
#include "platform/folder_listings.h"
#include "platform/host_paths.h"
#include "platform/text.h"

#include <algorithm>

#include <cerrno>

namespace vokari {
namespace {

using platform::FolderHandle;
using platform::HostKind;

// A control character would reach a terminal or a label as it is.
std::string shownName(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    return out;
}

// ".bak" (the installer's) and ".org" (the alias window's), any letter case.
bool isBackupName(std::string_view name) {
    return endsWithNoCase(name, ".bak") || endsWithNoCase(name, ".org");
}

// Lists `folder` and its sub-folders. Returns 0, or the error that kept the folder itself from
// being listed.
int collect(const FolderHandle& folder, size_t parent, std::vector<CopyEntry>& entries) {
    std::vector<platform::HostEntry> listed;
    if (const int err = folder.list(listed))
        return err;
    const size_t first = entries.size();
    const std::string prefix = parent == kTopFolder ? "" : entries[parent].relative + "\\";
    for (auto& item : listed) {
        if (item.kind == HostKind::Other)
            continue; // sockets, devices, pipes: no such thing belongs to a game
        if (item.kind != HostKind::Folder && isBackupName(item.name))
            continue; // the first game's own backups, no add-on
        CopyEntry entry;
        entry.parent = parent;
        entry.relative = prefix + shownName(item.name);
        entry.isFolder = item.kind == HostKind::Folder;
        if (const CopyProblem problem = nameProblem(item.name); problem != CopyProblem::None)
            entry.problem = problem;
        else if (item.kind == HostKind::Link)
            entry.problem = CopyProblem::Link;
        entry.name = std::move(item.name);
        entries.push_back(std::move(entry));
    }
    const size_t last = entries.size();
    for (size_t i = first; i < last; ++i) {
        if (!entries[i].isFolder || entries[i].problem != CopyProblem::None)
            continue;
        int err = 0;
        const auto child = folder.openChild(entries[i].name, err);
        if (child)
            err = collect(*child, i, entries);
        if (err) {
            entries[i].problem = CopyProblem::Unreadable;
            entries[i].err = err;
        }
    }
    return 0;
}

CopyEntry wholeTree(CopyProblem problem, int err) {
    CopyEntry whole;
    whole.isFolder = true;
    whole.problem = problem;
    whole.err = err;
    return whole;
}

} // namespace

bool isWindowsName(std::string_view name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
        if (std::string_view("\\:*?\"<>|/").find(c) != std::string_view::npos)
            return false;
    }
    return !name.empty();
}

CopyProblem nameProblem(std::string_view name) {
    if (!isWindowsName(name))
        return CopyProblem::UnsafeName;
    if (name.back() == '.' || name.back() == ' ')
        return CopyProblem::DotOrSpaceAtEnd;
    const std::string stem = asciiLower(name.substr(0, name.find('.')));
    static constexpr std::string_view kDevices[] = {"con", "prn", "aux", "nul"};
    const bool numbered = stem.size() == 4 &&
                          (stem.starts_with("com") || stem.starts_with("lpt")) && stem[3] >= '1' &&
                          stem[3] <= '9';
    if (numbered || std::find(std::begin(kDevices), std::end(kDevices), stem) != std::end(kDevices))
        return CopyProblem::DeviceName;
    if (!platform::isAsciiText(name) && !platform::unencodableCharacters(name).empty())
        return CopyProblem::NotInCodePage;
    return CopyProblem::None;
}

CopyTable collectCopyTable(std::string_view name, std::string_view sourceGame,
                           std::string_view targetGame) {
    const platform::ListingScope listings;
    CopyTable table;
    table.name = std::string(name);
    table.source = platform::hostPathText(joinPath(sourceGame, name));
    table.target = platform::hostPathText(joinPath(targetGame, name));
    int err = 0;
    const auto source = FolderHandle::open(table.source, err);
    if (!source) {
        if (err != ENOENT && err != ENOTDIR)
            table.entries.push_back(wholeTree(CopyProblem::Unreadable, err));
        return table; // no such folder: nothing to copy
    }
    if (!FolderHandle::open(table.target, err))
        table.entries.push_back(wholeTree(CopyProblem::NoTargetFolder, 0));
    else if ((err = collect(*source, kTopFolder, table.entries)))
        table.entries.push_back(wholeTree(CopyProblem::Unreadable, err));
    return table;
}

} // namespace vokari
