#include "cli/cli.h"
#include "frame/demo.h"
#include "frame/prefix_choice.h"
#include "frame/version.h"
#include "platform/console.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/wine_prefixes.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using vokari::cli::Context;

void printUsage(std::ostream& out) {
    out << "usage: vokari-cli [--demo | --demo-reset | --prefix PATH] COMMAND [ARGS...]\n"
           "       vokari-cli COMMAND --help | --help | --version\n"
           "  --demo        work on the demo games (built on first use, kept between runs)\n"
           "  --demo-reset  start the demo games afresh\n"
           "  --prefix PATH work on the games of this Wine prefix (else $WINEPREFIX, the\n"
           "                prefix last used, or the first found that holds a game)\n"
           "  --            ends the options: what follows is taken as it stands\n"
           "commands:\n";
    for (const auto& c : vokari::cli::registeredCommands()) {
        std::string name = c.name;
        name.resize(std::max<size_t>(name.size() + 2, 11), ' ');
        out << "  " << name << c.summary << '\n';
    }
    out << "exit status: 0 done, 1 failed, 2 bad command, option or value, 3 a question the\n"
           "  options must answer, 4 some entries failed or were left alone\n";
}

} // namespace

namespace {

// Temporary files an interrupted run had left in the folders this one worked in, and that it
// removed: told on the way out, however the command ends.
struct LeftoverReport {
    ~LeftoverReport() {
        if (const size_t n = vokari::platform::leftoversRemoved())
            std::cerr << "vokari-cli: removed " << n << " temporary file" << (n == 1 ? "" : "s")
                      << " an interrupted run had left\n";
    }
};

} // namespace

namespace {

int run(std::vector<std::string> args) {
    using namespace vokari::cli;
    vokari::platform::useUtf8Streams();
    try {
        // The program's own options come before the command.
        bool demo = false;
        bool reset = false;
        std::optional<std::string> prefix;
        size_t at = 0;
        for (; at < args.size() && args[at].size() > 1 && args[at].front() == '-'; ++at) {
            const std::string& arg = args[at];
            if (arg == "--") {
                ++at;
                break;
            }
            if (arg == "--version") {
                std::cout << "vokari-cli " << vokari::kVersion << '\n';
                return std::cout.flush() ? kExitOk : kExitFailed;
            }
            if (arg == "--help" || arg == "-h") {
                printUsage(std::cout);
                return std::cout.flush() ? kExitOk : kExitFailed;
            }
            if (arg == "--demo" || arg == "--demo-reset") {
                demo = true;
                reset = reset || arg == "--demo-reset";
            } else if (arg == "--prefix") {
                if (++at == args.size())
                    throw UsageError("--prefix needs a value");
                prefix = args[at];
            } else {
                throw UsageError("unknown option " + arg + " (vokari-cli --help lists them)");
            }
        }
        args.erase(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(at));
        if (demo && prefix)
            throw UsageError("--demo and --prefix exclude each other");
#ifdef _WIN32
        // Both name Wine prefixes; on Windows the games are where the registry says.
        if (demo || prefix)
            throw UsageError(std::string(demo ? "--demo" : "--prefix") +
                             " works on Wine prefixes, which Windows does not use");
#endif
        if (args.empty()) {
            printUsage(std::cerr);
            return kExitUsage;
        }
        const auto commands = registeredCommands();
        const auto command = std::find_if(commands.begin(), commands.end(),
                                          [&](const Command& c) { return args[0] == c.name; });
        if (command == commands.end())
            throw UsageError("unknown command " + args[0] + " (vokari-cli --help lists them)");
        Context ctx{std::vector<std::string>(args.begin() + 1, args.end()), std::cout, std::cerr};
        if (takeFlag(ctx.args, "--help") || takeFlag(ctx.args, "-h")) {
            std::cout << "usage: vokari-cli [--demo | --prefix PATH] " << command->usage << '\n';
            return std::cout.flush() ? kExitOk : kExitFailed;
        }
        if (demo)
            vokari::useDemoPrefix(reset);
        else if (prefix) {
            // A prefix that is none would read as one without games: named, not silent.
            std::error_code ec;
            const std::filesystem::path folder =
                std::filesystem::absolute(vokari::platform::pathFromUtf8(*prefix), ec);
            if (prefix->empty() || ec || !vokari::platform::looksLikeWinePrefix(folder))
                throw UsageError("not a Wine prefix: \"" + *prefix +
                                 "\" (a prefix holds system.reg and drive_c or dosdevices)");
            vokari::platform::setWinePrefixOverride(folder);
        } else if (args[0] != "prefixes")
            vokari::applyWinePrefixChoice();
        const LeftoverReport report;
        const int code = command->run(ctx);
        // Output that could not be written is a failure, whatever the command did.
        return std::cout.flush() ? code : kExitFailed;
    } catch (const GameMissing& e) {
        std::cerr << "vokari-cli: " << e.what() << "\n";
        return kExitFailed;
    } catch (const UsageError& e) {
        std::cerr << "vokari-cli: " << e.what() << "\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "vokari-cli: " << e.what() << "\n";
        return kExitFailed;
    }
}

} // namespace

#ifdef _WIN32
// Wide arguments: a name outside the ANSI code page reaches the command as typed.
int wmain(int argc, wchar_t** argv) {
    return run(vokari::platform::programArguments(argc, argv));
}
#else
int main(int argc, char** argv) {
    return run(vokari::platform::programArguments(argc, argv));
}
#endif
