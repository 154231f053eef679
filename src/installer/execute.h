#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Starting outside programs: a file is first opened the way the desktop opens files of its
// type, and only when that fails is the whole command line started as a program.
namespace vokari {

class Execute {
public:
    Execute();
    // Ends a wait still running.
    ~Execute();
    Execute(const Execute&) = delete;
    Execute& operator=(const Execute&) = delete;

    // Runs between the polls of a wait, so the windows stay responsive: the caller must cope
    // with the events it runs.
    void setEventPump(std::function<void()> pump) { pump_ = std::move(pump); }

    // True when a program was started; false for a document no program opens. `WindowStyle`
    // and `lngOwnerhWnd` mean nothing to the desktop here and are kept for callers; `blnWait`
    // waits until the program ends. Without it, a document is handed to the desktop's opener,
    // which is given a few seconds (with the event pump running) to say it found no program.
    bool shellX(std::string_view commandLine, int32_t windowStyle, intptr_t ownerWindow, bool wait);

private:
    std::shared_ptr<std::atomic<bool>> stopWaiting_;
    std::function<void()> pump_;
};

// Splits a command line at the first space, from the second character on, where the text
// before it names an existing file (a Windows path): that is the file, the rest its
// parameters. Otherwise the whole line is the file and there are no parameters.
void splitCommandLine(std::string_view commandLine, std::string& file, std::string& parameters);

// The words of a command line: blanks separate, double quotes group.
std::vector<std::string> commandWords(std::string_view commandLine);

} // namespace vokari
