#include "cli/cli.h"
#include "frame/prefix_choice.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"

#include <ostream>

namespace vokari::cli {

namespace {

// One line per prefix found: host folder, where it was found, the games it holds.
int runPrefixes(Context& ctx) {
    if (!ctx.args.empty())
        throw UsageError("prefixes takes no arguments");
    std::vector<GamePrefix> prefixes;
    if (const auto chosen = platform::winePrefixOverride()) {
        // --prefix (or --demo): that prefix alone.
        prefixes.push_back(GamePrefix{{*chosen, "--prefix", platform::utf8Of(chosen->filename())},
                                      gamesInPrefix(*chosen)});
    } else {
        prefixes = findGamePrefixes();
    }
    if (prefixes.empty())
        ctx.err << "vokari-cli: no Wine prefix was found\n";
    for (const GamePrefix& found : prefixes) {
        std::string games;
        for (const int16_t version : found.games)
            games += (games.empty() ? "" : ",") + std::to_string(version);
        ctx.out << platform::utf8Of(found.prefix.path) << '\t' << found.prefix.source << '\t'
                << (games.empty() ? "-" : games) << '\n';
    }
    return kExitOk;
}

const CommandRegistration registration{
    "prefixes", runPrefixes, "the Wine prefixes found, with their games",
    "prefixes\n"
    "The Wine prefixes found, one per line, with the games installed in each."};

} // namespace

} // namespace vokari::cli
