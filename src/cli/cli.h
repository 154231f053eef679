#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// vokari-cli: the core's operations from the command line. Each command gets the words after
// its name; it prints results to `out`, problems to `err`, and returns the exit code.
namespace vokari::cli {

// Exit codes, the same for every command (and listed by --help).
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;     // the work could not be done (what failed is named)
inline constexpr int kExitUsage = 2;      // a bad command, option or value
inline constexpr int kExitQuestion = 3;   // a question the options must answer
inline constexpr int kExitSomeFailed = 4; // some entries failed or were left alone (named)

struct Context {
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
};

// Options come before a "--", which ends them: what follows it is taken as it stands.
// Removes "--name VALUE" from the arguments and returns VALUE; nothing when absent. Throws
// UsageError when the value is missing.
std::optional<std::string> takeOption(std::vector<std::string>& args, const std::string& name);
// Removes "--name" and tells whether it was there.
bool takeFlag(std::vector<std::string>& args, const std::string& name);
// What is left once the options are taken, without the "--": an option left before it is
// unknown (UsageError naming `command`).
std::vector<std::string> operands(std::vector<std::string>& args, const std::string& command);

// --game N: 1 or 2, and that game must be installed with its folder present (else
// GameMissing). Returns the game folder.
struct Game {
    int16_t version = 0;
    std::string folder;
};
Game requireGame(std::vector<std::string>& args);

// A text read from a game's files or a package, made safe for one field of a line: a control
// character (a TAB, a line end, ESC) would add columns, break the line or command the
// terminal, so it is shown as \xNN. Line ends and blanks at its end are dropped.
std::string printable(std::string_view text);

// A game whose folder is not there: not a usage fault, so it exits kExitFailed.
struct GameMissing : std::exception {
    explicit GameMissing(std::string m) : message(std::move(m)) {}
    const char* what() const noexcept override { return message.c_str(); }
    std::string message;
};

// The folder of an installed game when it is missing, as the user finds it; empty otherwise.
std::string missingGameFolder(const std::string& folder);

struct UsageError : std::exception {
    explicit UsageError(std::string m) : message(std::move(m)) {}
    const char* what() const noexcept override { return message.c_str(); }
    std::string message;
};

// Commands register themselves from their own files, with a one-line summary for the
// command list and the usage `COMMAND --help` prints:
//     const CommandRegistration reg{"games", runGames, "the installed games", "games\n..."};
struct CommandRegistration {
    CommandRegistration(const char* name, int (*run)(Context&), const char* summary,
                        const char* usage);
};
struct Command {
    const char* name;
    int (*run)(Context&);
    const char* summary;
    const char* usage;
};
// Every registered command, sorted by name.
std::vector<Command> registeredCommands();

} // namespace vokari::cli
