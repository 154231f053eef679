#include "installer/execute.h"

#include "common/file_helpers.h"
#include "platform/host_paths.h"
#include "platform/process.h"

#include <chrono>
#include <optional>
#include <thread>

namespace vokari {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);
// How long the desktop's opener has to say it found no program for a file. One that stays
// longer runs the program it found.
constexpr auto kOpenerVerdict = std::chrono::milliseconds(3000);

struct Start {
    std::filesystem::path program;
    std::vector<std::string> args;
    bool isOpener = false; // `program` is the file to open
};

// The desktop's way of opening `file`: a program file is run with the parameters, any other
// file is opened with the desktop's choice of program for its type.
std::optional<Start> associationOf(const std::string& file, const std::string& parameters) {
    if (!fileExists(file))
        return std::nullopt;
    const std::filesystem::path host = platform::hostPath(file);
    if (platform::isExecutable(host))
        return Start{host, commandWords(parameters)};
    return Start{host, {}, true};
}

std::optional<Start> plainStartOf(std::string_view commandLine) {
    std::vector<std::string> words = commandWords(commandLine);
    if (words.empty())
        return std::nullopt;
    const auto program = platform::findProgramOnPath(words.front());
    if (!program)
        return std::nullopt;
    words.erase(words.begin());
    return Start{*program, std::move(words)};
}

} // namespace

Execute::Execute() : stopWaiting_(std::make_shared<std::atomic<bool>>(false)) {}

Execute::~Execute() {
    *stopWaiting_ = true;
}

bool Execute::shellX(std::string_view commandLine, int32_t, intptr_t, bool wait) {
    std::string file;
    std::string parameters;
    splitCommandLine(commandLine, file, parameters);

    std::optional<Start> start = associationOf(file, parameters);
    int pid = 0;
    bool started = false;
    for (int attempt = 0; attempt < 2 && !started; ++attempt) {
        if (attempt == 1)
            start = plainStartOf(commandLine);
        if (!start)
            continue;
        if (wait) {
            pid = start->isOpener ? platform::openAsChild(start->program)
                                  : platform::startChild(start->program, start->args);
            started = pid != 0;
        } else if (start->isOpener) {
            // An opener that finds no program for the type fails as the association would.
            started = platform::openDetached(start->program, kOpenerVerdict, pump_);
        } else {
            started = platform::startDetached(start->program, start->args);
        }
    }
    if (!started)
        return false;
    if (wait) {
        // The object may go while events run; the flag and the pump stay with the wait.
        const auto stop = stopWaiting_;
        const auto pump = pump_;
        while (!*stop && !platform::childEnded(pid)) {
            if (pump)
                pump();
            std::this_thread::sleep_for(kPollInterval);
        }
    }
    return true;
}

void splitCommandLine(std::string_view commandLine, std::string& file, std::string& parameters) {
    file.assign(commandLine);
    parameters.clear();
    for (size_t space = commandLine.find(' ', 1); space != std::string_view::npos;
         space = commandLine.find(' ', space + 1)) {
        if (fileExists(commandLine.substr(0, space))) {
            file.assign(commandLine.substr(0, space));
            parameters.assign(commandLine.substr(space + 1));
            return;
        }
    }
}

std::vector<std::string> commandWords(std::string_view commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

} // namespace vokari
