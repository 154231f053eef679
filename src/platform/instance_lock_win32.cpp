#include "platform/instance_lock.h"

#include "platform/environment.h"
#include "platform/folder_lock.h"
#include "platform/windows_api.h"

#include <windows.h>

namespace vokari::platform {

// A mutex in the session's namespace: each user who is logged on runs a copy of their own.
// The folder a caller names (a test's) keeps its copies apart from the program's.
InstanceLock::InstanceLock(std::string name, std::filesystem::path folder)
    : name_(L"Local\\" + wideFromUtf8(name + "-" + currentUserId() +
                                      (folder.empty() ? "" : "-" + folderKey(folder)))) {}

InstanceLock::~InstanceLock() {
    release();
}

bool InstanceLock::tryAcquire() {
    if (mutex_)
        return true;
    ::SetLastError(ERROR_SUCCESS); // a new mutex need not clear it
    const HANDLE mutex = ::CreateMutexW(nullptr, TRUE, name_.c_str());
    if (!mutex)
        return true; // no mutex to be had: better to run than to refuse forever
    // The mutex lives while a handle to it is open, and the system closes a process's handles
    // when it ends: one that is there already has a holder. (Waiting on it would not tell:
    // a thread that owns a mutex may take it again.)
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return false;
    }
    mutex_ = mutex;
    return true;
}

bool InstanceLock::held() const {
    return mutex_ != nullptr;
}

void InstanceLock::release() {
    if (mutex_) {
        ::ReleaseMutex(static_cast<HANDLE>(mutex_));
        ::CloseHandle(static_cast<HANDLE>(mutex_));
        mutex_ = nullptr;
    }
}

} // namespace vokari::platform
