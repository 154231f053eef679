#pragma once

#include <filesystem>
#include <string>

namespace vokari::platform {

// Held while the program runs, so a second copy can tell it is not alone. The system releases
// it when the process ends, however it ends. A lock file on POSIX; a named mutex on Windows,
// named after the user, `name` and `folder`.
class InstanceLock {
public:
    // The lock file lives in `folder` (default: the runtime directory).
    explicit InstanceLock(std::string name, std::filesystem::path folder = {});
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process now holds the lock (or already did); false when another does.
    bool tryAcquire();
    bool held() const;
    void release();

private:
#ifdef _WIN32
    std::wstring name_;
    void* mutex_ = nullptr; // the mutex's HANDLE
#else
    std::filesystem::path file_;
    int fd_ = -1;
#endif
};

} // namespace vokari::platform
