#include "copy/copy_table.h"

#include "common/file_helpers.h"
#include "common/text.h"
#include "platform/host_paths.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vokari {
namespace {

struct Listed {
    std::string name;
    bool isFolder = false;
    bool isLink = false;
};

bool isFolderAt(const std::string& host) {
    struct stat st;
    return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A control character would reach a terminal or a label as it is.
std::string shownName(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    return out;
}

// Folders, plain files and links of an open folder, hidden ones left out, in the order the
// other listings use. Takes `fd` over. False when the folder cannot be read.
bool listFolder(int fd, std::vector<Listed>& out, int& err) {
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        err = errno;
        ::close(fd);
        return false;
    }
    errno = 0;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name = e->d_name;
        if (name.empty() || name[0] == '.')
            continue; // ".", ".." and hidden entries
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISDIR(st.st_mode)   ? DT_DIR
                   : S_ISREG(st.st_mode) ? DT_REG
                   : S_ISLNK(st.st_mode) ? DT_LNK
                                         : DT_UNKNOWN;
        }
        if (type == DT_DIR || type == DT_REG || type == DT_LNK)
            out.push_back(Listed{std::string(name), type == DT_DIR, type == DT_LNK});
        // sockets, devices, pipes: no such thing belongs to a game
    }
    err = errno;
    ::closedir(dir);
    std::sort(out.begin(), out.end(), [](const Listed& a, const Listed& b) {
        const std::string la = asciiLower(a.name);
        const std::string lb = asciiLower(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    return err == 0;
}

// Lists the open folder `fd` (taken over) and its sub-folders. Returns 0, or the error that
// kept the folder itself from being listed.
int collect(int fd, size_t parent, std::vector<CopyEntry>& entries) {
    std::vector<Listed> listed;
    int err = 0;
    const int listFd = ::dup(fd);
    if (listFd < 0 || !listFolder(listFd, listed, err)) {
        ::close(fd);
        return listFd < 0 ? errno : err;
    }
    const size_t first = entries.size();
    const std::string prefix = parent == kTopFolder ? "" : entries[parent].relative + "\\";
    for (auto& item : listed) {
        CopyEntry entry;
        entry.parent = parent;
        entry.relative = prefix + shownName(item.name);
        entry.isFolder = item.isFolder;
        if (!isWindowsName(item.name))
            entry.problem = CopyProblem::UnsafeName;
        else if (item.isLink)
            entry.problem = CopyProblem::Link;
        entry.name = std::move(item.name);
        entries.push_back(std::move(entry));
    }
    const size_t last = entries.size();
    for (size_t i = first; i < last; ++i) {
        if (!entries[i].isFolder || entries[i].problem != CopyProblem::None)
            continue;
        const int child =
            ::openat(fd, entries[i].name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int childErr = child < 0 ? errno : collect(child, i, entries);
        if (childErr) {
            entries[i].problem = CopyProblem::Unreadable;
            entries[i].err = childErr;
        }
    }
    ::close(fd);
    return 0;
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
    if (!isFolderAt(table.source))
        return table;
    if (!isFolderAt(table.target)) {
        CopyEntry whole;
        whole.isFolder = true;
        whole.problem = CopyProblem::NoTargetFolder;
        table.entries.push_back(std::move(whole));
        return table;
    }
    const int fd = ::open(table.source.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int err = fd < 0 ? errno : collect(fd, kTopFolder, table.entries);
    if (err) {
        CopyEntry whole;
        whole.isFolder = true;
        whole.problem = CopyProblem::Unreadable;
        whole.err = err;
        table.entries.push_back(std::move(whole));
    }
    return table;
}

std::string hostRelative(const CopyTable& table, size_t index) {
    std::string out;
    for (size_t i = index; i != kTopFolder; i = table.entries[i].parent)
        out = out.empty() ? table.entries[i].name : table.entries[i].name + "/" + out;
    return out;
}

} // namespace vokari
