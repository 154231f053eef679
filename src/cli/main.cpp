#include "cli/cli.h"
#include "frame/demo.h"
#include "frame/prefix_choice.h"
#include "frame/version.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

using vokari::cli::Context;

void printUsage(std::ostream& out) {
    out << "usage: vokari-cli [--demo] [--demo-reset] [--prefix PATH] COMMAND [ARGS...]\n"
           "  --version     print the version\n"
           "  --demo        work on the demo games (built on first use, kept between runs)\n"
           "  --demo-reset  start the demo games afresh\n"
           "  --prefix PATH work on the games of this Wine prefix (else $WINEPREFIX, the\n"
           "                prefix the launcher last used, or the first found holding a game)\n"
           "commands:\n";
    for (const auto& c : vokari::cli::registeredCommands())
        out << "  " << c.usage << '\n';
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

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const bool reset = vokari::cli::takeFlag(args, "--demo-reset");
        const bool demo = vokari::cli::takeFlag(args, "--demo") || reset;
        const auto prefix = vokari::cli::takeOption(args, "--prefix");
        if (demo && prefix)
            throw vokari::cli::UsageError("--demo and --prefix exclude each other");
        if (!args.empty() && args[0] == "--version") {
            std::cout << "vokari-cli " << vokari::kVersion << '\n';
            return vokari::cli::kExitOk;
        }
        if (args.empty() || args[0] == "--help" || args[0] == "-h") {
            printUsage(args.empty() ? std::cerr : std::cout);
            return args.empty() ? vokari::cli::kExitFailure : vokari::cli::kExitOk;
        }
        if (demo)
            vokari::useDemoPrefix(reset);
        else if (prefix)
            vokari::platform::setWinePrefixOverride(std::filesystem::path(*prefix));
        else if (args[0] != "prefixes")
            vokari::applyWinePrefixChoice();
        for (const auto& c : vokari::cli::registeredCommands()) {
            if (args[0] == c.name) {
                Context ctx{std::vector<std::string>(args.begin() + 1, args.end()), std::cout,
                            std::cerr};
                const LeftoverReport report;
                return c.run(ctx);
            }
        }
        std::cerr << "vokari-cli: unknown command: " << args[0] << "\n";
        printUsage(std::cerr);
        return vokari::cli::kExitFailure;
    } catch (const vokari::cli::GameMissing& e) {
        std::cerr << "vokari-cli: " << e.what() << "\n";
        return vokari::cli::kExitFailed;
    } catch (const vokari::cli::UsageError& e) {
        std::cerr << "vokari-cli: " << e.what() << "\n";
        return vokari::cli::kExitFailure;
    } catch (const std::exception& e) {
        std::cerr << "vokari-cli: " << e.what() << "\n";
        return vokari::cli::kExitFailure;
    }
}
