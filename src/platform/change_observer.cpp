#include "platform/change_observer.h"

#include "platform/folder_listings.h"

#include <cerrno>
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

std::future<void> runObserved(std::function<void()> work) {
    return std::async(std::launch::async, [work = std::move(work), observer = current] {
        const ObserverScope scope(observer);
        work();
    });
}

int createFoldersObserved(const fs::path& host) {
    std::vector<fs::path> missing;
    for (fs::path p = host; !p.empty() && p != p.root_path(); p = p.parent_path()) {
        std::error_code ec;
        const fs::file_status st = fs::status(p, ec);
        if (fs::exists(st)) {
            if (!fs::is_directory(st))
                return ENOTDIR;
            break;
        }
        missing.push_back(p);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (current)
            current->beforeAddFolder(*it);
        std::error_code ec;
        if (!fs::create_directory(*it, ec)) {
            const int err = ec ? ec.value() : EEXIST;
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

void tellObserver(ChangeObserver* observer, const std::filesystem::path& host, int err,
                  const std::optional<HashAndTime>& written) {
    if (!observer)
        return;
    if (err)
        observer->failed(host);
    else if (written)
        observer->madeFile(host, *written);
    else
        observer->made(host);
}

} // namespace vokari::platform
