#include "copy/copy_table.h"

#include "common/file_helpers.h"
#include "platform/file_copy.h"
#include "platform/host_paths.h"

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
        CopyEntry entry;
        entry.parent = parent;
        entry.relative = prefix + shownName(item.name);
        entry.isFolder = item.kind == HostKind::Folder;
        if (!isWindowsName(item.name))
            entry.problem = CopyProblem::UnsafeName;
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

CopyTable collectCopyTable(std::string_view name, std::string_view sourceGame,
                           std::string_view targetGame) {
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
