#include "frame/demo.h"

#include "frame/installation.h"
#include "journal/change_journal.h"
#include "platform/environment.h"
#include "platform/error.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/process.h"

#include <cstdlib>
#include <vector>

namespace fs = std::filesystem;

namespace vokari {
namespace {

// The copy made the player's own: writable, and each switched-off aircraft's file under the
// name the tools give it. The demo ships those as "aircraft.cfg.off", which no packaging tool
// takes for documentation as it does ".rst".
void makePlayersOwn(const fs::path& root) {
    std::error_code ec;
    fs::permissions(root, fs::perms::owner_write | fs::perms::owner_exec | fs::perms::owner_read,
                    fs::perm_options::add, ec);
    std::vector<fs::path> switchedOff;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        if (it->is_symlink(ec))
            continue;
        fs::permissions(it->path(), fs::perms::owner_write | fs::perms::owner_read,
                        fs::perm_options::add, ec);
        if (it->path().filename() == "aircraft.cfg.off")
            switchedOff.push_back(it->path());
    }
    for (const fs::path& file : switchedOff)
        fs::rename(file, fs::path(file).replace_filename("aircraft.cfg.rst"), ec);
}

} // namespace

fs::path demoSourceDirectory() {
    if (const char* env = std::getenv("VOKARI_DEMO_SOURCE"); env && *env)
        return env;
    const fs::path installed = platform::executableDirectory() / ".." / "share" / "vokari" / "demo";
    std::error_code ec;
    if (fs::is_directory(installed / "prefix", ec))
        return installed;
    return fs::path(VOKARI_SOURCE_DIR) / "demo";
}

fs::path prepareDemoPrefix(bool reset) {
    const fs::path target = platform::userDataDirectory() / "demo";
    std::error_code ec;
    if (reset)
        fs::remove_all(target, ec); // removes links as links
    if (fs::is_directory(target / "dosdevices", ec))
        return target;

    const fs::path source = demoSourceDirectory() / "prefix";
    if (!fs::is_directory(source, ec))
        throw IoError("demo games not found in " + platform::utf8Of(source));
    // Build beside the target and rename, so an interrupted copy never counts as a demo.
    fs::create_directories(target.parent_path(), ec);
    const fs::path building =
        target.parent_path() / ("demo.building-" + std::to_string(platform::currentProcessId()));
    fs::remove_all(building, ec);
    fs::copy(source, building, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (ec)
        throw IoError("cannot copy the demo games to " + platform::utf8Of(building) + ": " +
                      ec.message());
    makePlayersOwn(building);
    fs::create_directories(building / "dosdevices", ec);
    fs::create_symlink("../drive_c", building / "dosdevices" / "c:", ec);
    if (ec)
        throw IoError("cannot create the demo's drive C: " + ec.message());
    fs::remove_all(target, ec);
    fs::rename(building, target, ec);
    if (ec) {
        fs::remove_all(building, ec);
        throw IoError("cannot set up the demo games in " + platform::utf8Of(target));
    }
    return target;
}

fs::path useDemoPrefix(bool reset) {
    const fs::path prefix = prepareDemoPrefix(reset);
    platform::setWinePrefixOverride(prefix);
    if (reset) {
        // The history of games that are new again would undo what they never held.
        for (const int16_t game : {kGameCfs1, kGameCfs2})
            if (const std::string folder = gameFolder(game); !folder.empty())
                forgetJournal(platform::hostPath(folder));
    }
    return prefix;
}

} // namespace vokari
