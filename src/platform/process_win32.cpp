#include "platform/process.h"

#include "platform/path_text.h"
#include "platform/windows_api.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <mutex>
#include <unordered_map>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace fs = std::filesystem;

namespace vokari::platform {
namespace {

constexpr std::chrono::milliseconds kVerdictPoll(100);

std::wstring lower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// The extensions of programs, lower case: PATHEXT, or the usual ones when it is unset.
std::vector<std::wstring> programExtensions() {
    const wchar_t* value = ::_wgetenv(L"PATHEXT");
    const std::wstring list = lower(value && *value ? value : L".COM;.EXE;.BAT;.CMD");
    std::vector<std::wstring> out;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(L';', start);
        if (end == std::wstring::npos)
            end = list.size();
        if (end > start)
            out.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool hasProgramExtension(const fs::path& file) {
    const std::wstring extension = lower(file.extension().native());
    const auto known = programExtensions();
    return !extension.empty() && std::find(known.begin(), known.end(), extension) != known.end();
}

bool isRegularFile(const fs::path& file) {
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// One argument as the C runtime splits a command line: in quotes when it has a space, a tab or
// a quote, with the backslashes before a quote doubled.
void appendArgument(std::wstring& line, const std::wstring& arg) {
    if (!line.empty())
        line += L' ';
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

// ComSpec, else cmd.exe in the system folder: the application name is not searched for.
fs::path commandInterpreter() {
    if (const wchar_t* comSpec = ::_wgetenv(L"ComSpec"); comSpec && *comSpec)
        return fs::path(comSpec);
    wchar_t system[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryW(system, MAX_PATH);
    return (n > 0 && n < MAX_PATH ? fs::path(std::wstring(system, n))
                                  : fs::path(L"C:\\Windows\\System32")) /
           L"cmd.exe";
}

// Starts `program` with `args`; the process's handle, or nothing when it could not be started.
// A batch file runs in the command interpreter, as the shell runs it: /s has it take the whole
// line between the outer quotes as it stands.
HANDLE startProcess(const fs::path& program, const std::vector<std::string>& args) {
    fs::path application = program;
    std::wstring line;
    appendArgument(line, program.native());
    for (const std::string& arg : args)
        appendArgument(line, wideFromUtf8(arg));
    const std::wstring extension = lower(program.extension().native());
    if (extension == L".bat" || extension == L".cmd") {
        application = commandInterpreter();
        std::wstring command;
        appendArgument(command, application.native());
        line = command + L" /d /s /c \"" + line + L"\"";
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    // A copy: CreateProcessW may write into the command line.
    std::vector<wchar_t> commandLine(line.begin(), line.end());
    commandLine.push_back(L'\0');
    if (!::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_PROCESS_GROUP | CREATE_UNICODE_ENVIRONMENT |
                              CREATE_DEFAULT_ERROR_MODE,
                          nullptr, nullptr, &startup, &info))
        return nullptr;
    ::CloseHandle(info.hThread);
    return info.hProcess;
}

// Waits up to `verdictWait` for a process, running `pump` between polls: false when it ended
// in that time with a status other than 0. Closes the handle.
bool awaitVerdict(HANDLE process, std::chrono::milliseconds verdictWait,
                  const std::function<void()>& pump) {
    bool fine = true;
    const auto deadline = std::chrono::steady_clock::now() + verdictWait;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        const DWORD waited = ::WaitForSingleObject(
            process, static_cast<DWORD>(std::min(left, kVerdictPoll).count()));
        if (waited == WAIT_OBJECT_0) {
            DWORD code = 0;
            // Not knowing how it ended is no failure.
            fine = !::GetExitCodeProcess(process, &code) || code == 0;
            break;
        }
        if (waited != WAIT_TIMEOUT)
            break;
        if (pump)
            pump();
    }
    ::CloseHandle(process);
    return fine;
}

// The children started to be waited for, by process id.
std::mutex& childrenMutex() {
    static std::mutex m;
    return m;
}

std::unordered_map<int, HANDLE>& children() {
    static std::unordered_map<int, HANDLE> handles;
    return handles;
}

int keepChild(HANDLE process) {
    const int pid = static_cast<int>(::GetProcessId(process));
    std::lock_guard lock(childrenMutex());
    const auto [it, added] = children().emplace(pid, process);
    if (!added) { // an id the system gave again after the child before was never asked about
        ::CloseHandle(it->second);
        it->second = process;
    }
    return pid;
}

// Opens `file` through the shell; the handle of the program that opened it when `keep` and
// there is one.
bool shellOpen(const fs::path& file, bool keep, HANDLE& process) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | (keep ? SEE_MASK_NOCLOSEPROCESS : 0);
    info.lpVerb = nullptr; // the type's default action
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info))
        return false;
    process = keep ? info.hProcess : nullptr;
    return true;
}

} // namespace

int currentProcessId() {
    return static_cast<int>(::GetCurrentProcessId());
}

bool processIsRunning(int pid) {
    if (pid <= 0)
        return false;
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                         static_cast<DWORD>(pid));
    if (!process)
        return ::GetLastError() == ERROR_ACCESS_DENIED; // another user's
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
}

bool isExecutable(const fs::path& file) {
    return isRegularFile(file) && hasProgramExtension(file);
}

std::vector<fs::path> pathFolders() {
    std::vector<fs::path> folders;
    const wchar_t* path = ::_wgetenv(L"PATH");
    if (!path) {
        wchar_t system[MAX_PATH] = {};
        if (const UINT n = ::GetSystemDirectoryW(system, MAX_PATH); n > 0 && n < MAX_PATH)
            folders.emplace_back(std::wstring(system, n));
        if (const UINT n = ::GetWindowsDirectoryW(system, MAX_PATH); n > 0 && n < MAX_PATH)
            folders.emplace_back(std::wstring(system, n));
        return folders;
    }
    const std::wstring dirs = path;
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(L';', start);
        if (end == std::wstring::npos)
            end = dirs.size();
        std::wstring dir = dirs.substr(start, end - start);
        // A folder with a ; in its name is written in quotes.
        dir.erase(std::remove(dir.begin(), dir.end(), L'"'), dir.end());
        folders.emplace_back(dir.empty() ? std::wstring(L".") : dir);
        start = end + 1;
    }
    return folders;
}

std::optional<fs::path> findProgramOnPath(const std::string& name) {
    if (name.empty())
        return std::nullopt;
    const fs::path given = pathFromUtf8(name);
    // A name with its extension is looked for as it is; one without, with each of PATHEXT.
    auto find = [&](const fs::path& base) -> std::optional<fs::path> {
        if (hasProgramExtension(base) && isRegularFile(base))
            return base;
        for (const std::wstring& extension : programExtensions()) {
            fs::path candidate = base;
            candidate += extension;
            if (isRegularFile(candidate))
                return candidate;
        }
        return std::nullopt;
    };
    if (name.find_first_of("\\/:") != std::string::npos)
        return find(given);
    for (const fs::path& dir : pathFolders()) {
        if (auto found = find(dir / given))
            return found;
    }
    return std::nullopt;
}

bool startDetached(const fs::path& program, const std::vector<std::string>& args) {
    // A process on Windows outlives the one that started it and leaves nothing to reap.
    const HANDLE process = startProcess(program, args);
    if (!process)
        return false;
    ::CloseHandle(process);
    return true;
}

bool startDetachedChecked(const fs::path& program, const std::vector<std::string>& args,
                          std::chrono::milliseconds verdictWait,
                          const std::function<void()>& pump) {
    const HANDLE process = startProcess(program, args);
    return process && awaitVerdict(process, verdictWait, pump);
}

int startChild(const fs::path& program, const std::vector<std::string>& args) {
    const HANDLE process = startProcess(program, args);
    return process ? keepChild(process) : 0;
}

bool childEnded(int pid) {
    std::lock_guard lock(childrenMutex());
    const auto it = children().find(pid);
    if (it == children().end())
        return true;
    if (::WaitForSingleObject(it->second, 0) == WAIT_TIMEOUT)
        return false;
    ::CloseHandle(it->second);
    children().erase(it);
    return true;
}

std::optional<fs::path> desktopOpener() {
    return std::nullopt;
}

bool openDetached(const fs::path& file, std::chrono::milliseconds, const std::function<void()>&) {
    // The shell tells at once when no program opens the type.
    HANDLE process = nullptr;
    return shellOpen(file, false, process);
}

int openAsChild(const fs::path& file) {
    HANDLE process = nullptr;
    if (!shellOpen(file, true, process))
        return 0;
    return process ? keepChild(process) : -1;
}

bool startSystemInfoProgram() {
    if (auto program = findProgramOnPath("msinfo32"))
        return startDetached(*program, {});
    return false;
}

} // namespace vokari::platform
