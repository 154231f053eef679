#include "cli/cli.h"
#include "gameconfig/cfs_ini.h"
#include "gameconfig/number_text.h"
#include "journal/change_journal.h"
#include "platform/error.h"
#include "platform/folder_lock.h"
#include "platform/host_paths.h"
#include "platform/text.h"

#include <algorithm>
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
    const auto& settings = cfsIniSettings();
    const auto setting = std::find_if(settings.begin(), settings.end(), [&](const auto& s) {
        return equalsNoCase(s.section, section) && equalsNoCase(s.key, key);
    });
    if (setting == settings.end()) {
        ctx.err << "vokari-cli: unknown setting: " << section << ' ' << key
                << " (`vokari-cli config --game " << game.version << "` lists them)\n";
        return kExitUsage;
    }
    std::string value = ctx.args[3];
    if (const std::string problem = settingValueProblem(*setting, value); !problem.empty()) {
        ctx.err << "vokari-cli: " << printable(problem) << '\n';
        return kExitUsage;
    }
    if (setting->kind == SettingKind::WholeNumber)
        value = std::to_string(*parseWholeNumber(value)); // "3.0" is written as the game reads it
    ini.setKeyValue(section, key, value);
    const std::filesystem::path folder = platform::hostPath(game.folder);
    const platform::FolderLock lock(folder);
    const JournalScope journal(folder, "config-set", game.version,
                               section + " " + key + "=" + value);
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
