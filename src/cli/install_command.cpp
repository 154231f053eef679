#include "cli/cli.h"
#include "common/directory_tree.h"
#include "installer/arc_result.h"
#include "installer/cfs_arc_list.h"
#include "installer/nested_archives.h"
#include "platform/folder_listings.h"
#include "platform/path_text.h"

#include <filesystem>
#include <ostream>
#include <string_view>

namespace vokari::cli {

namespace {

int readFailure(Context& ctx, const std::string& package, const CfsArcList& list) {
    ctx.err << "vokari-cli: cannot read " << package << ": "
            << (list.readProblem().empty() ? "unknown error" : printable(list.readProblem()))
            << "\n";
    return kExitFailed;
}

// The work-directory copies of nested archives, removed when the command ends.
struct NestedCopies {
    std::vector<std::string> folders;
    ~NestedCopies() {
        for (const std::string& folder : folders)
            removeDirectoryTree(folder);
    }
};

// Reads a package (and its nested archives), prints where each file goes and, unless
// --dry-run, unpacks it into the game folder.
int runInstall(Context& ctx) {
    const Game game = requireGame(ctx.args);
    const bool nested = takeFlag(ctx.args, "--nested");
    const bool overwrite = takeFlag(ctx.args, "--overwrite");
    const bool noOverwrite = takeFlag(ctx.args, "--no-overwrite");
    const bool dryRun = takeFlag(ctx.args, "--dry-run");
    const bool forceVersion = takeFlag(ctx.args, "--force-version");
    if (overwrite && noOverwrite)
        throw UsageError("--overwrite and --no-overwrite exclude each other");
    ctx.args = operands(ctx.args, "install");
    if (ctx.args.size() != 1)
        throw UsageError("install needs one package file");

    std::error_code ec;
    const std::filesystem::path host =
        std::filesystem::absolute(ctx.args[0], ec).lexically_normal();
    if (ec || !std::filesystem::is_regular_file(host, ec)) {
        ctx.err << "vokari-cli: "
                << (std::filesystem::is_directory(host, ec) ? "a folder, not a package file: "
                                                            : "no such file: ")
                << ctx.args[0] << "\n";
        return kExitUsage;
    }

    // Every folder the marks look in is read once for the whole command.
    const platform::ListingScope listings;
    CfsArcList list;
    list.setVersion(game.version);
    if (list.readArchive(0, platform::utf8Of(host)) != kArcOk || !list.readProblem().empty())
        return readFailure(ctx, ctx.args[0], list);
    NestedCopies copies;
    if (nested) {
        for (const CfsArcFile* archive : nestedArchives(list)) {
            const std::string path = archive->fullPath();
            std::string folder;
            const int32_t result = readNestedArchive(list, 0, *archive, &folder);
            if (!folder.empty())
                copies.folders.push_back(folder);
            if (result != kArcOk) {
                ctx.err << "vokari-cli: cannot read the nested archive " << printable(path) << ": "
                        << (list.readProblem().empty() ? "it could not be unpacked"
                                                       : printable(list.readProblem()))
                        << "\n";
                return kExitFailed;
            }
        }
    }

    for (const auto& item : list.fileList) {
        const CfsArcFile& e = item.value;
        if (e.isFolder())
            continue;
        const char* mark = !e.shouldInstall() ? "unplaced"
                           : !e.exists()      ? "new"
                           : noOverwrite      ? "skip"
                                              : "overwrite";
        ctx.out << mark << '\t' << printable(e.fullPath()) << '\t' << printable(e.installPath())
                << '\n';
    }
    ctx.err << "vokari-cli: the package is for game " << list.minimumVersion() << " or later\n";
    if (dryRun)
        return kExitOk;

    if (list.minimumVersion() > game.version && !forceVersion) {
        ctx.err << "vokari-cli: the package needs game " << list.minimumVersion()
                << "; give --force-version to install it into game " << game.version << "\n";
        return kExitQuestion;
    }

    if (list.hasOverwriteFiles()) {
        if (!overwrite && !noOverwrite) {
            ctx.err << "vokari-cli: unpacking would replace existing files; give --overwrite or "
                       "--no-overwrite\n";
            return kExitQuestion;
        }
        list.setShouldOverwrite(overwrite);
    }
    const int32_t result = list.extractArchives(0);
    for (const ExtractionFailure& f : list.extractionFailures())
        ctx.out << "failed\t" << printable(f.fullPath) << '\t' << printable(f.reason) << '\n';
    return result == kArcOk ? kExitOk : kExitSomeFailed;
}

const CommandRegistration registration{
    "install", runInstall, "place and unpack an add-on package (.zip, .lzh, .exe)",
    "install --game N PACKAGE [--nested] [--overwrite|--no-overwrite] [--force-version]\n"
    "        [--dry-run]\n"
    "Reads an add-on package, prints where each file goes and unpacks it into game N.\n"
    "One line per file: new, overwrite, skip or unplaced, the entry, its folder in the game;\n"
    "then one per file that failed: failed, the entry, the reason. The game version the\n"
    "package needs is said on standard error.\n"
    "  --nested          also read and install the packages inside the package\n"
    "  --overwrite       replace existing files (each backed up once as .bak)\n"
    "  --no-overwrite    leave existing files as they are\n"
    "  --force-version   install a package made for the other game\n"
    "  --dry-run         print where each file would go, write nothing\n"
    "Without --overwrite or --no-overwrite, a package that would replace files exits 3."};

} // namespace

} // namespace vokari::cli
