#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vokari::platform {

// This program's process id.
int currentProcessId();

// True while the process `pid` of this user runs.
bool processIsRunning(int pid);

// True when the current user may run `file`.
bool isExecutable(const std::filesystem::path& file);

// The folders of PATH in order (an empty entry is the current folder); /usr/bin and /bin when
// PATH is unset.
std::vector<std::filesystem::path> pathFolders();

// The full path of an executable named `name` in the folders of PATH.
std::optional<std::filesystem::path> findProgramOnPath(const std::string& name);

// Starts a program detached from this one (it outlives us and leaves no zombie). False when it
// could not be started.
bool startDetached(const std::filesystem::path& program, const std::vector<std::string>& args);

// Starts a program detached, as startDetached, then waits up to `verdictWait` for its verdict,
// running `pump` between polls: false when it could not be started or ended in that time with
// a status other than 0. A program still running then counts as started. For an opener that
// ends at once when it finds nothing to open a file with, and may stay with the program it
// started.
bool startDetachedChecked(const std::filesystem::path& program,
                          const std::vector<std::string>& args,
                          std::chrono::milliseconds verdictWait, const std::function<void()>& pump);

// Starts a program as a child of this one, to be waited for with childEnded. Its process id,
// or 0 when it could not be started.
int startChild(const std::filesystem::path& program, const std::vector<std::string>& args);

// Whether the child `pid` has ended; an ended child is reaped. True also for a process that is
// no child of ours.
bool childEnded(int pid);

// The program that opens a file with the desktop's choice of program for its type (xdg-open);
// nothing on Windows, whose shell opens files itself.
std::optional<std::filesystem::path> desktopOpener();

// Opens `file` with the desktop's choice of program for its type, detached, as
// startDetachedChecked: false when nothing could open it. Through the opener on POSIX, through
// the shell (ShellExecuteExW) on Windows.
bool openDetached(const std::filesystem::path& file, std::chrono::milliseconds verdictWait,
                  const std::function<void()>& pump);

// The same as a child to be waited for with childEnded: its process id, 0 when nothing could
// open the file, or -1 when the file went to a program already running (which counts as
// ended).
int openAsChild(const std::filesystem::path& file);

// Starts the desktop's system-information program, if one is installed.
bool startSystemInfoProgram();

} // namespace vokari::platform
