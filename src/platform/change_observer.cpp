#include "platform/change_observer.h"

#include "platform/folder_listings.h"

#include <cerrno>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

thread_local ChangeObserver* current = nullptr;

} // namespace

ChangeObserver* changeObserver() {
    return current;
}

ObserverScope::ObserverScope(ChangeObserver* observer) : previous_(current) {
    current = observer;
}

ObserverScope::~ObserverScope() {
    current = previous_;
}

int createFoldersObserved(const fs::path& host) {
    std::vector<fs::path> missing;
    for (fs::path p = host; !p.empty() && p != p.root_path(); p = p.parent_path()) {
        struct stat st;
        if (::stat(p.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                return ENOTDIR;
            break;
        }
        missing.push_back(p);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (current)
            current->beforeAddFolder(*it);
        if (::mkdir(it->c_str(), 0777) != 0) {
            const int err = errno;
            if (current)
                current->failed(*it);
            if (err != EEXIST)
                return err;
            noteAdded(*it, HostKind::Folder); // made meanwhile
            continue;
        }
        noteAdded(*it, HostKind::Folder);
        if (current)
            current->made(*it);
    }
    return 0;
}

} // namespace vokari::platform
