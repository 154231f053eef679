#include "cli/cli.h"
#include "frame/installation.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"

#include <ostream>

namespace vokari::cli {

namespace {

// One line per version: version, Windows game folder (empty when not installed), host folder.
// A registered game whose folder is gone is named on stderr and fails the command.
int runGames(Context& ctx) {
    if (!ctx.args.empty())
        throw UsageError("games takes no arguments");
    int code = kExitOk;
    for (int16_t version : {kGameCfs1, kGameCfs2}) {
        const std::string folder = gameFolder(version);
        const std::string host =
            folder.empty() ? std::string() : platform::utf8Of(platform::hostPath(folder));
        ctx.out << version << '\t' << folder << '\t' << host << '\n';
        if (const std::string missing = missingGameFolder(folder); !missing.empty()) {
            ctx.err << "vokari-cli: game " << version << "'s folder is missing: " << missing
                    << '\n';
            code = kExitFailed;
        }
    }
    if (gameFolder(kGameCfs1).empty() && gameFolder(kGameCfs2).empty())
        ctx.err << "vokari-cli: no game is installed in the Wine prefix "
                << platform::utf8Of(platform::winePrefix()) << '\n';
    return code;
}

const CommandRegistration registration{
    "games", runGames, "the installed games",
    "games\n"
    "One line per game: version, Windows game folder (empty when not installed), host folder.\n"
    "A registered game whose folder is missing is named and exits 1."};

} // namespace

} // namespace vokari::cli
