#include "platform/process.h"

#include <cerrno>
#include <csignal>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
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

namespace {

constexpr std::chrono::milliseconds kVerdictPoll(100);

// What the watcher of startDetachedChecked tells through its pipe.
constexpr char kStarted = 's';
constexpr char kNotStarted = 'n';
constexpr char kEndedWell = '0';
constexpr char kFailed = 'f';

// Reads one byte, again after a signal; 0 at the end of the pipe.
char readByte(int fd) {
    char byte = 0;
    ssize_t n = 0;
    do {
        n = ::read(fd, &byte, 1);
    } while (n < 0 && errno == EINTR);
    return n == 1 ? byte : 0;
}

} // namespace

namespace {

// A program and its arguments as posix_spawn takes them, built before a fork.
struct SpawnArguments {
    SpawnArguments(const std::filesystem::path& path, const std::vector<std::string>& args)
        : program(path.string()), copies(args) {
        argv.push_back(program.data());
        for (auto& a : copies)
            argv.push_back(a.data());
        argv.push_back(nullptr);
    }
    std::string program;
    std::vector<std::string> copies;
    std::vector<char*> argv;
};

} // namespace

bool startDetached(const std::filesystem::path& program, const std::vector<std::string>& args) {
    // Fork twice so the program is adopted by init and never becomes our zombie. Everything the
    // child needs is built before the fork: it may only make system calls.
    SpawnArguments spawn(program, args);
    const std::string& programText = spawn.program;
    std::vector<char*>& argv = spawn.argv;
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

bool startDetachedChecked(const std::filesystem::path& program,
                          const std::vector<std::string>& args,
                          std::chrono::milliseconds verdictWait,
                          const std::function<void()>& pump) {
    // As startDetached, with a watcher in between that waits for the program and tells how it
    // ended. The watcher is left to init, so neither becomes our zombie; once we stop
    // listening, its last write ends it.
    SpawnArguments spawn(program, args);
    const std::string& programText = spawn.program;
    std::vector<char*>& argv = spawn.argv;
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::setsid();
        if (::fork() != 0)
            ::_exit(0);
        pid_t spawned = 0;
        if (::posix_spawn(&spawned, programText.c_str(), nullptr, nullptr, argv.data(), environ) !=
            0) {
            [[maybe_unused]] auto written = ::write(report[1], &kNotStarted, 1);
            ::_exit(0);
        }
        [[maybe_unused]] auto written = ::write(report[1], &kStarted, 1);
        int status = 0;
        pid_t ended = 0;
        do {
            ended = ::waitpid(spawned, &status, 0);
        } while (ended < 0 && errno == EINTR);
        // Not knowing how it ended is no failure.
        const bool failed = ended == spawned && !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        written = ::write(report[1], failed ? &kFailed : &kEndedWell, 1);
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    bool started = readByte(report[0]) == kStarted;
    const auto deadline = std::chrono::steady_clock::now() + verdictWait;
    while (started) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd watched{report[0], POLLIN, 0};
        const int ready =
            ::poll(&watched, 1, static_cast<int>(std::min(left, kVerdictPoll).count()));
        if (ready > 0) {
            // The end of the pipe without a verdict: the watcher was stopped, nothing failed.
            started = readByte(report[0]) != kFailed;
            break;
        }
        if (ready < 0 && errno != EINTR)
            break;
        if (pump)
            pump();
    }
    ::close(report[0]);
    return started;
}

int startChild(const std::filesystem::path& program, const std::vector<std::string>& args) {
    SpawnArguments spawn(program, args);
    const std::string& programText = spawn.program;
    std::vector<char*>& argv = spawn.argv;
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

bool openDetached(const std::filesystem::path& file, std::chrono::milliseconds verdictWait,
                  const std::function<void()>& pump) {
    const auto opener = desktopOpener();
    return opener && startDetachedChecked(*opener, {file.string()}, verdictWait, pump);
}

int openAsChild(const std::filesystem::path& file) {
    const auto opener = desktopOpener();
    return opener ? startChild(*opener, {file.string()}) : 0;
}

bool startSystemInfoProgram() {
    for (const char* name : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"}) {
        if (auto program = findProgramOnPath(name))
            return startDetached(*program, {});
    }
    return false;
}

} // namespace vokari::platform
