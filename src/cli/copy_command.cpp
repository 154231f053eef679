#include "cli/cli.h"
#include "copy/cfs_copy.h"
#include "frame/installation.h"

#include <ostream>

namespace vokari::cli {

namespace {

const char* outcomeWord(CopyOutcome outcome, bool dryRun) {
    switch (outcome) {
    case CopyOutcome::Copied:
        return dryRun ? "would copy" : "copied";
    case CopyOutcome::Exists:
        return "exists";
    case CopyOutcome::Failed:
        break;
    }
    return "failed";
}

// Copies the first game's add-on aircraft and gauges into the second game, one line per entry.
int runCopy(Context& ctx) {
    CopyOptions options;
    options.dryRun = takeFlag(ctx.args, "--dry-run");
    if (!ctx.args.empty())
        throw UsageError("copy takes no arguments but --dry-run");
    const std::string source = gameFolder(kGameCfs1);
    const std::string target = gameFolder(kGameCfs2);
    if (source.empty() || target.empty()) {
        ctx.err << "vokari-cli: copy needs both games installed\n";
        return kExitFailed;
    }
    for (const std::string& folder : {source, target}) {
        if (const std::string missing = missingGameFolder(folder); !missing.empty()) {
            ctx.err << "vokari-cli: game " << (folder == source ? 1 : 2)
                    << "'s folder is missing: " << missing << '\n';
            return kExitFailed;
        }
    }
    options.onEntry = [&](const CopyReport& r) {
        ctx.out << outcomeWord(r.outcome, options.dryRun) << '\t' << copyPath(*r.table, *r.entry);
        if (r.outcome == CopyOutcome::Failed)
            ctx.out << '\t' << copyProblemText(r.problem, r.err);
        ctx.out << '\n';
    };
    const CopySummary summary = copyAll(collectCopyTables(source, target), options);
    return summary.failures.empty() ? kExitOk : kExitSomeFailed;
}

const CommandRegistration registration{
    "copy", runCopy, "copy the first game's aircraft and gauges into the second",
    "copy [--dry-run]\n"
    "Copies the first game's AIRCRAFT and GAUGES folders into the second game, adding what\n"
    "is missing and replacing nothing. One line per entry: copied (would copy with\n"
    "--dry-run), exists or failed, the path, and for a failure its reason.\n"
    "  --dry-run   decide what would be copied, write nothing"};

} // namespace

} // namespace vokari::cli
