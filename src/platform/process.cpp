#include "platform/process.h"

#include <cerrno>
#include <csignal>

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vokari::platform {

int currentProcessId() {
    return static_cast<int>(::getpid());
}

bool processIsRunning(int pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

bool isExecutable(const std::filesystem::path& file) {
    return ::access(file.c_str(), X_OK) == 0;
}

std::vector<std::filesystem::path> pathFolders() {
    const char* path = std::getenv("PATH");
    const std::string dirs = path ? path : "/usr/bin:/bin";
    std::vector<std::filesystem::path> folders;
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string dir = dirs.substr(start, end - start);
        folders.emplace_back(dir.empty() ? "." : dir);
        start = end + 1;
    }
    return folders;
}

std::optional<std::filesystem::path> findProgramOnPath(const std::string& name) {
    if (name.empty())
        return std::nullopt;
    if (name.find('/') != std::string::npos)
        return isExecutable(name) ? std::optional<std::filesystem::path>(name) : std::nullopt;
    for (const auto& dir : pathFolders()) {
        const std::filesystem::path candidate = dir / name;
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec) && isExecutable(candidate))
            return candidate;
    }
    return std::nullopt;
}

bool startDetached(const std::filesystem::path& program, const std::vector<std::string>& args) {
    // Fork twice so the program is adopted by init and never becomes our zombie. Everything the
    // child needs is built before the fork: it may only make system calls.
    std::string programText = program.string();
    std::vector<std::string> copies = args;
    std::vector<char*> argv;
    argv.push_back(programText.data());
    for (auto& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return false;
    }
    if (child == 0) {
        ::setsid();
        pid_t grandchild = 0;
        const int rc =
            ::posix_spawn(&grandchild, programText.c_str(), nullptr, nullptr, argv.data(), environ);
        const char result = rc == 0 ? 1 : 0;
        [[maybe_unused]] auto written = ::write(ready[1], &result, 1);
        ::_exit(0);
    }
    ::close(ready[1]);
    char result = 0;
    const bool reported = ::read(ready[0], &result, 1) == 1;
    ::close(ready[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return reported && result == 1;
}

int startChild(const std::filesystem::path& program, const std::vector<std::string>& args) {
    std::string programText = program.string();
    std::vector<std::string> copies = args;
    std::vector<char*> argv;
    argv.push_back(programText.data());
    for (auto& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, programText.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return 0;
    return static_cast<int>(pid);
}

bool childEnded(int pid) {
    int status = 0;
    const pid_t rc = ::waitpid(static_cast<pid_t>(pid), &status, WNOHANG);
    return rc != 0;
}

std::optional<std::filesystem::path> desktopOpener() {
    return findProgramOnPath("xdg-open");
}

bool startSystemInfoProgram() {
    for (const char* name : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"}) {
        if (auto program = findProgramOnPath(name))
            return startDetached(*program, {});
    }
    return false;
}

} // namespace vokari::platform
