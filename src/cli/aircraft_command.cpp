#include "aircraft/aircraft_list.h"
#include "aircraft/alias_rules.h"
#include "cli/cli.h"
#include "platform/error.h"

#include <algorithm>
#include <ostream>
#include <vector>

namespace vokari::cli {

namespace {

constexpr const char* kUsage = "aircraft --game N list [--all] [--aliases]\n"
                               "  aircraft --game N enable FOLDER...\n"
                               "  aircraft --game N disable [--permit-default] FOLDER...\n"
                               "  aircraft --game N alias --panel|--sound LENDER FOLDER...\n"
                               "  aircraft --game N delete FOLDER...";

// Refusals that change nothing; reported with exit code 2.
struct Refusal : std::exception {
    explicit Refusal(std::string m) : message(std::move(m)) {}
    const char* what() const noexcept override { return message.c_str(); }
    std::string message;
};

std::vector<std::string> takeFolders(std::vector<std::string>& args, const char* command) {
    std::vector<std::string> folders = operands(args, command);
    if (folders.empty())
        throw UsageError(std::string(command) + " needs at least one aircraft folder");
    return folders;
}

Aircraft& aircraftOf(AircraftList& list, const std::string& folder) {
    if (!list.aircraftList.keyExists(folder))
        throw Refusal("no aircraft in folder " + folder);
    return list.aircraftList.item(folder);
}

void readCatalogue(AircraftList& list, int16_t version, bool readRest) {
    list.setVersion(version);
    list.readAircrafts(readRest, true);
}

int runList(AircraftList& list, Context& ctx, int16_t version) {
    const bool all = takeFlag(ctx.args, "--all");
    const bool aliases = takeFlag(ctx.args, "--aliases");
    if (!ctx.args.empty())
        throw UsageError("list: unexpected argument " + ctx.args.front());
    list.setVersion(version);
    list.readAircrafts(all, aliases);
    for (const auto& item : list.aircraftList) {
        const Aircraft& a = item.value;
        ctx.out << (a.isActive ? "ON" : "OFF") << '\t' << (a.isDefault() ? "DEF" : "-") << '\t'
                << printable(a.directory()) << '\t' << printable(a.title());
        if (aliases) {
            ctx.out << '\t' << printable(a.soundAlias()) << '\t' << printable(a.panelAlias())
                    << '\t' << (a.hasSound() ? 1 : 0) << '\t' << (a.hasPanel() ? 1 : 0) << '\t';
            const char* separator = "";
            for (const auto& gauge : a.gaugeList) {
                ctx.out << separator << printable(gauge.value);
                separator = ",";
            }
        }
        ctx.out << '\n';
    }
    return kExitOk;
}

// As the enabler switches its selection: stock aircraft are switched off only when permitted.
int runSwitch(AircraftList& list, Context& ctx, int16_t version, bool on) {
    const bool permitDefault = !on && takeFlag(ctx.args, "--permit-default");
    const auto folders = takeFolders(ctx.args, on ? "enable" : "disable");
    readCatalogue(list, version, true);
    for (const auto& folder : folders) {
        const Aircraft& aircraft = aircraftOf(list, folder);
        if (!on && aircraft.isActive && aircraft.isDefault() && !permitDefault)
            throw Refusal(folder + " is a stock aircraft; --permit-default switches it off");
    }
    for (const auto& folder : folders) {
        Aircraft& aircraft = list.aircraftList.item(folder);
        if (aircraft.isActive == on)
            continue;
        aircraft.isActive = on;
        aircraft.isActiveChanged = !aircraft.isActiveChanged;
    }
    // Every aircraft that can be switched is; each one that could not is named.
    std::vector<std::string> failed;
    try {
        list.setActivate();
    } catch (const AircraftSwitchError& e) {
        for (const auto& failure : e.failures()) {
            std::string reason = "unknown error";
            try {
                std::rethrow_exception(failure.cause);
            } catch (const std::exception& cause) {
                reason = cause.what();
            } catch (...) {
            }
            failed.push_back(failure.directory);
            ctx.out << "failed\t" << failure.directory << '\t' << printable(reason) << '\n';
        }
    }
    for (const auto& folder : folders) {
        const Aircraft& aircraft = list.aircraftList.item(folder);
        if (std::find(failed.begin(), failed.end(), aircraft.directory()) == failed.end())
            ctx.out << (on ? "ON" : "OFF") << '\t' << aircraft.directory() << '\n';
    }
    return failed.empty() ? kExitOk : kExitSomeFailed;
}

// As the alias window applies a lender to receivers: lenders have data of their own and borrow
// none; every other aircraft is a receiver.
int runAlias(AircraftList& list, Context& ctx, int16_t version) {
    const bool panel = takeFlag(ctx.args, "--panel");
    const bool sound = takeFlag(ctx.args, "--sound");
    if (panel == sound)
        throw UsageError("alias needs one of --panel or --sound");
    if (ctx.args.size() < 2)
        throw UsageError("alias needs a lender and at least one aircraft folder");
    const std::string lenderFolder = ctx.args.front();
    ctx.args.erase(ctx.args.begin());
    const auto folders = takeFolders(ctx.args, "alias");
    const AliasKind aliasKind = panel ? AliasKind::Panel : AliasKind::Sound;
    const std::string kind = aliasFolderName(aliasKind);

    list.setVersion(version);
    readAliasAircrafts(list);
    const Aircraft& lender = aircraftOf(list, lenderFolder);
    if (!canLendAlias(lender, aliasKind))
        throw Refusal(lenderFolder + " has no " + kind + " of its own to lend");
    for (const auto& folder : folders) {
        const Aircraft& receiver = aircraftOf(list, folder);
        if (canLendAlias(receiver, aliasKind))
            throw Refusal(folder + " has a " + kind + " of its own and cannot borrow one");
        // The alias would not be written: say so instead of reporting success.
        if (!hasAliasFolder(list, receiver, aliasKind))
            throw Refusal(folder + " has no " + kind + " folder to hold an alias");
    }
    for (const auto& folder : folders)
        lendAlias(list.aircraftList.item(folder), lender, aliasKind);
    list.panelAndSoundWrite();
    return kExitOk;
}

// As the enabler deletes its selection: never a stock aircraft, and all or nothing is refused.
int runDelete(AircraftList& list, Context& ctx, int16_t version) {
    const auto folders = takeFolders(ctx.args, "delete");
    readCatalogue(list, version, true);
    for (const auto& folder : folders)
        if (aircraftOf(list, folder).isDefault())
            throw Refusal(folder + " is a stock aircraft and cannot be deleted");
    int status = kExitOk;
    for (const auto& folder : folders) {
        if (!list.aircraftList.keyExists(folder))
            continue; // named twice
        std::vector<std::string> leftBehind;
        const int16_t failures = list.deleteAircraftFile(folder, false, &leftBehind);
        if (failures > 0) {
            ctx.err << "vokari-cli: " << failures << " entries of " << folder
                    << " could not be deleted:\n";
            for (const std::string& path : leftBehind)
                ctx.err << "  " << path << '\n';
            status = kExitSomeFailed;
        }
    }
    return status;
}

int runAircraft(Context& ctx) {
    const Game game = requireGame(ctx.args);
    if (ctx.args.empty())
        throw UsageError(std::string("usage: ") + kUsage);
    const std::string command = ctx.args.front();
    ctx.args.erase(ctx.args.begin());
    AircraftList list;
    try {
        if (command == "list")
            return runList(list, ctx, game.version);
        if (command == "enable" || command == "disable")
            return runSwitch(list, ctx, game.version, command == "enable");
        if (command == "alias")
            return runAlias(list, ctx, game.version);
        if (command == "delete")
            return runDelete(list, ctx, game.version);
    } catch (const Refusal& e) {
        ctx.err << "vokari-cli: " << e.what() << "; nothing was changed\n";
        return kExitUsage;
    }
    throw UsageError("aircraft: unknown command " + command + "\nusage: " + kUsage);
}

const CommandRegistration registration{
    "aircraft", runAircraft, "list, switch, alias and delete aircraft",
    "aircraft --game N list [--all] [--aliases]\n"
    "aircraft --game N enable FOLDER...\n"
    "aircraft --game N disable [--permit-default] FOLDER...\n"
    "aircraft --game N alias --panel|--sound LENDER FOLDER...\n"
    "aircraft --game N delete FOLDER...\n"
    "  list      the aircraft switched on (--all: off too), one per line; --aliases adds the\n"
    "            panel and sound each borrows\n"
    "  enable    switch aircraft on;  disable: switch them off (--permit-default: also a\n"
    "            game's own aircraft)\n"
    "  alias     let aircraft borrow LENDER's panel or sound\n"
    "  delete    delete aircraft folders (kept in the history, so undo brings them back)"};

} // namespace

} // namespace vokari::cli
