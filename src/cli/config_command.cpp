#include "cli/cli.h"
#include "gameconfig/cfs_ini.h"
#include "journal/change_journal.h"
#include "platform/error.h"
#include "platform/folder_lock.h"
#include "platform/host_paths.h"

#include <ostream>

namespace vokari::cli {

namespace {

// Without arguments: the twelve settings, "SECTION<TAB>KEY<TAB>value", in file order.
// "set SECTION KEY VALUE": changes one setting through the model and saves what changed.
int runConfig(Context& ctx) {
    const Game game = requireGame(ctx.args);
    CfsIni ini;
    ini.setVersion(game.version);
    ini.readFile();

    if (ctx.args.empty()) {
        for (const CfsIniSetting& s : cfsIniSettings())
            ctx.out << s.section << '\t' << s.key << '\t' << ini.getKeyValue(s.section, s.key)
                    << '\n';
        return kExitOk;
    }
    if (ctx.args[0] != "set" || ctx.args.size() != 4)
        throw UsageError("usage: config --game N [set SECTION KEY VALUE]");
    const std::string& section = ctx.args[1];
    const std::string& key = ctx.args[2];
    try {
        ini.getKeyValue(section, key);
    } catch (const KeyError&) {
        ctx.err << "vokari-cli: unknown setting: " << section << ' ' << key
                << " (`vokari-cli config --game " << game.version << "` lists them)\n";
        return kExitUsage;
    }
    ini.setKeyValue(section, key, ctx.args[3]);
    const std::filesystem::path folder = platform::hostPath(game.folder);
    const platform::FolderLock lock(folder);
    const JournalScope journal(folder, "config-set", game.version,
                               section + " " + key + "=" + ctx.args[3]);
    ini.saveFile();
    return kExitOk;
}

const CommandRegistration registration{
    "config", runConfig, "print the game's settings, or change one",
    "config --game N [set SECTION KEY VALUE]\n"
    "Prints the settings Vokari edits in game N's configuration file, one per line:\n"
    "section, key, value. With set, changes one of them."};

} // namespace

} // namespace vokari::cli
