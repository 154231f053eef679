#pragma once

#include <cstdint>
#include <filesystem>

// The system's side of FolderLock: a lock file held open with an exclusive lock on it (and
// canonicalFolder, declared in folder_lock.h). Only folder_lock.cpp includes this.
namespace vokari::platform {

using LockFileHandle = intptr_t; // a descriptor on POSIX, a HANDLE on Windows
inline constexpr LockFileHandle kNoLockFile = -1;

// Opens (creating) the lock file `file`, never through a link; kNoLockFile and the error
// number in `err` when it cannot.
LockFileHandle openLockFile(const std::filesystem::path& file, int& err);

enum class LockAttempt { Taken, HeldElsewhere, Failed };
// Takes the lock without waiting. The lock belongs to the open file, not the process: a second
// handle of this process is refused too.
LockAttempt tryLockFile(LockFileHandle file);

// Closes the file, which drops its lock.
void closeLockFile(LockFileHandle file);

} // namespace vokari::platform
