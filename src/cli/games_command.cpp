#include "cli/cli.h"
#include "frame/installation.h"
#include "platform/host_paths.h"

#include <ostream>

namespace vokari::cli {

namespace {

// One line per version: version, Windows game folder (empty when not installed), host folder.
int runGames(Context& ctx) {
    if (!ctx.args.empty())
        throw UsageError("games takes no arguments");
    for (int16_t version : {kGameCfs1, kGameCfs2}) {
        const std::string folder = gameFolder(version);
        const std::string host =
            folder.empty() ? std::string() : platform::hostPath(folder).string();
        ctx.out << version << '\t' << folder << '\t' << host << '\n';
    }
    return kExitOk;
}

const CommandRegistration registration{"games", runGames,
                                       "games                      the installed games"};

} // namespace

} // namespace vokari::cli
