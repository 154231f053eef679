#include "platform/folder_lock_file.h"

#include "platform/folder_lock.h"
#include "platform/windows_api.h"

#include <vector>
#include <windows.h>

namespace vokari::platform {

std::string canonicalFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
    if (ec)
        absolute = folder;
    std::wstring text = absolute.lexically_normal().native();
    // The folder as the disk spells it, links resolved: the same folder named in another case
    // or through a link is the same lock. A folder that is not there keeps the spelling given.
    const HANDLE handle =
        ::CreateFileW(text.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        std::vector<wchar_t> buffer(MAX_PATH);
        DWORD n = 0;
        while ((n = ::GetFinalPathNameByHandleW(
                    handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS)) >= buffer.size())
            buffer.resize(n + 1);
        ::CloseHandle(handle);
        if (n > 0) {
            text.assign(buffer.data(), n);
            if (text.rfind(L"\\\\?\\UNC\\", 0) == 0)
                text.replace(0, 8, L"\\\\");
            else if (text.rfind(L"\\\\?\\", 0) == 0)
                text.erase(0, 4);
        }
    }
    // A drive's root keeps its separator.
    while (text.size() > 1 && (text.back() == L'\\' || text.back() == L'/') &&
           text[text.size() - 2] != L':')
        text.pop_back();
    return utf8FromWide(text);
}

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
