#include "platform/environment.h"

#include "platform/error.h"
#include "platform/file_system.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

const char* env(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

fs::path home() {
    const char* h = env("HOME");
    return fs::path(h ? h : "/");
}

} // namespace

fs::path hostTempDirectory() {
    if (const char* t = env("TEMP"))
        return t;
    if (const char* t = env("TMPDIR"))
        return t;
    return "/tmp";
}

fs::path userDataDirectory() {
    if (const char* d = env("XDG_DATA_HOME"))
        return fs::path(d) / "vokari";
    return home() / ".local" / "share" / "vokari";
}

fs::path userConfigDirectory() {
    if (const char* d = env("XDG_CONFIG_HOME"))
        return fs::path(d) / "vokari";
    return home() / ".config" / "vokari";
}

fs::path runtimeDirectory() {
    if (const char* d = env("XDG_RUNTIME_DIR"))
        return d;
    return hostTempDirectory();
}

fs::path executableDirectory() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

std::string currentUserId() {
    return std::to_string(::getuid());
}

bool isWritableDirectory(const fs::path& folder) {
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool isSharedDirectory(const fs::path& folder) {
    struct stat st;
    return ::stat(folder.c_str(), &st) == 0 && (st.st_mode & (S_IWOTH | S_ISVTX)) != 0;
}

bool isOwnPlainDirectory(const fs::path& folder) {
    struct stat st;
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

void ensurePrivateDirectory(const fs::path& folder) {
    struct stat st;
    if (::lstat(folder.c_str(), &st) != 0) {
        std::error_code ec;
        fs::create_directories(folder.parent_path(), ec);
        if (createPrivateFolder(folder) != 0 && ::lstat(folder.c_str(), &st) != 0)
            throw IoError(FileAction::CreateFolder, folder.string(), errno);
    }
    // A link, not a folder, or another user's: never used.
    if (!isOwnPlainDirectory(folder))
        throw IoError(FileAction::Use, folder.string(), EPERM);
}

} // namespace vokari::platform
