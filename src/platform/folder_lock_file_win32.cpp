#include "platform/folder_lock_file.h"

#include "platform/windows_api.h"

#include <windows.h>

namespace vokari::platform {

LockFileHandle openLockFile(const std::filesystem::path& file, int& err) {
    // Others may open it too: the byte lock, not the sharing mode, is what keeps them out.
    const HANDLE handle =
        ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        err = lastErrno();
        return kNoLockFile;
    }
    err = 0;
    return reinterpret_cast<LockFileHandle>(handle);
}

LockAttempt tryLockFile(LockFileHandle file) {
    OVERLAPPED at = {};
    if (::LockFileEx(reinterpret_cast<HANDLE>(file),
                     LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return LockAttempt::Taken;
    const DWORD error = ::GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? LockAttempt::HeldElsewhere
                                                                      : LockAttempt::Failed;
}

void closeLockFile(LockFileHandle file) {
    const HANDLE handle = reinterpret_cast<HANDLE>(file);
    // Closing drops the lock only once the system gets to it; unlocking first frees it now.
    OVERLAPPED at = {};
    ::UnlockFileEx(handle, 0, 1, 0, &at);
    ::CloseHandle(handle);
}

} // namespace vokari::platform
