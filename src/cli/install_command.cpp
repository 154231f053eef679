#include "cli/cli.h"
#include "installer/arc_result.h"
#include "installer/cfs_arc_list.h"
#include "installer/nested_archives.h"

#include <filesystem>
#include <ostream>

namespace vokari::cli {

namespace {

constexpr int kExitWouldReplace = 3;
constexpr int kExitEntriesFailed = 4;

int readFailure(Context& ctx, const std::string& package, const ClsCfsArcList& list) {
    ctx.err << "vokari-cli: cannot read " << package << ": "
            << (list.readProblem().empty() ? "unknown error" : list.readProblem()) << "\n";
    return kExitFailure;
}

// Reads a package (and its nested archives), prints where each file goes and, unless
// --dry-run, unpacks it into the game folder.
int runInstall(Context& ctx) {
    const Game game = requireGame(ctx.args);
    const bool nested = takeFlag(ctx.args, "--nested");
    const bool overwrite = takeFlag(ctx.args, "--overwrite");
    const bool noOverwrite = takeFlag(ctx.args, "--no-overwrite");
    const bool dryRun = takeFlag(ctx.args, "--dry-run");
    if (overwrite && noOverwrite)
        throw UsageError("--overwrite and --no-overwrite exclude each other");
    if (ctx.args.size() != 1 || ctx.args[0].starts_with("--"))
        throw UsageError("install needs one package file");

    std::error_code ec;
    const std::filesystem::path host =
        std::filesystem::absolute(ctx.args[0], ec).lexically_normal();
    if (ec || !std::filesystem::is_regular_file(host, ec)) {
        ctx.err << "vokari-cli: no such file: " << ctx.args[0] << "\n";
        return kExitFailure;
    }

    ClsCfsArcList list;
    list.setVersion(game.version);
    if (list.ReadArchive(0, host.string()) != kArcOk || !list.readProblem().empty())
        return readFailure(ctx, ctx.args[0], list);
    if (nested) {
        for (const ClsCfsArcFile* archive : nestedArchives(list)) {
            const std::string path = archive->fullPath();
            if (readNestedArchive(list, 0, *archive) != kArcOk) {
                ctx.err << "vokari-cli: cannot read the nested archive " << path << ": "
                        << (list.readProblem().empty() ? "it could not be unpacked"
                                                       : list.readProblem())
                        << "\n";
                return kExitFailure;
            }
        }
    }

    for (const auto& item : list.FileList) {
        const ClsCfsArcFile& e = item.value;
        if (e.isFolder())
            continue;
        const char* mark = !e.boolInstall() ? "" : e.boolExist() ? "上書" : "追加";
        ctx.out << e.fullPath() << '\t' << mark << '\t' << e.installPath() << '\n';
    }
    ctx.out << "minimumVersion\t" << list.minimumVersion() << '\n';
    if (dryRun)
        return kExitOk;

    if (list.boolExistOverWriteFiles()) {
        if (!overwrite && !noOverwrite) {
            ctx.err << "vokari-cli: unpacking would replace existing files; give --overwrite or "
                       "--no-overwrite\n";
            return kExitWouldReplace;
        }
        list.setBoolOverWrite(overwrite);
    }
    const int32_t result = list.extractArchives(0);
    for (const ExtractionFailure& f : list.extractionFailures())
        ctx.out << "failed\t" << f.fullPath << '\t' << f.reason << '\n';
    return result == kArcOk ? kExitOk : kExitEntriesFailed;
}

const CommandRegistration registration{
    "install", runInstall,
    "install --game N PACKAGE [--nested] [--overwrite|--no-overwrite] [--dry-run]\n"
    "                             place and unpack an add-on package (.zip, .lzh, .exe)"};

} // namespace

} // namespace vokari::cli
