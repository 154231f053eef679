// The operations that carry the catalogue's edits to the aircraft folders.
#include "aircraft/aircraft_list.h"

#include "aircraft/panel_file.h"
#include "common/directory_tree.h"
#include "common/file_helpers.h"
#include "journal/change_journal.h"
#include "platform/change_observer.h"
#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "platform/host_paths.h"
#include "platform/profile.h"

#include <cerrno>
#include <exception>
#include <utility>
#include <vector>

namespace vokari {
namespace {

// Switching is a copy followed by a deletion, so the file gets CR LF line ends on the way.
// The copy is whole on disk before the source goes; when the source cannot go, the copy is
// taken back, so the aircraft keeps exactly one state. A file under the other name is never
// replaced.
void moveAircraftFile(const std::string& source, const std::string& target) {
    if (!fileExists(source)) {
        // Already switched, by a save that failed on a later aircraft and keeps its flags for
        // the next try: the disk holds the wanted state.
        if (fileExists(target))
            return;
        throw IoError(FileAction::Read, platform::displayPath(source), ENOENT);
    }
    platform::removeLeftovers(platform::hostPath(parentPath(source)));
    if (platform::isRegularFile(target)) {
        // Both names there. The copy of a switch cut short before its source went is finished;
        // anything else (a copy or an install added one beside the other) may be the player's
        // own, so neither replaces the other.
        if (platform::readFileBytes(target) != crLfLines(platform::readFileBytes(source)))
            throw IoError(FileAction::Write, platform::displayPath(target), EEXIST);
    } else {
        copyTextFile(source, target);
    }
    if (!platform::deleteFile(source)) {
        const int err = errno;
        platform::deleteFile(target);
        throw IoError(FileAction::Delete, platform::displayPath(source), err);
    }
}

void writeAlias(const std::string& file, const std::string& alias, std::string_view kind) {
    if (alias.empty())
        return; // nothing to borrow from: writing "\panel" would break the aircraft
    // The player's file as it was before the first alias, byte for byte with its date.
    platform::makeBackup(platform::hostPath(file), platform::hostPath(file + ".org"));
    // The game reads no panel or sound file of an aircraft without that folder.
    if (!platform::isDirectory(parentPath(file)))
        return;
    platform::writeIniString("fltsim", "alias", alias + "\\" + std::string(kind), file);
}

// A single folder name: anything else could reach outside the aircraft's folder.
bool isPlainFolderName(std::string_view name) {
    if (name.empty() || name.find_first_of("\\/:") != std::string_view::npos)
        return false;
    // "..", and names Windows trims to nothing or to ".." (trailing dots and blanks)
    return name.find_first_not_of(". ") != std::string_view::npos;
}

// The causes' own words, one after the other: each names its file.
std::string switchFailuresText(const std::vector<AircraftSwitchError::Failure>& failures) {
    std::string text;
    for (const auto& failure : failures) {
        if (!text.empty())
            text += "; ";
        try {
            std::rethrow_exception(failure.cause);
        } catch (const std::exception& e) {
            text += e.what();
        } catch (...) {
            text += "could not switch " + failure.directory;
        }
    }
    return text;
}

} // namespace

AircraftWriteError::AircraftWriteError(std::string aircraftDir, const std::string& reason)
    : IoError(reason), directory_(std::move(aircraftDir)) {}

AircraftSwitchError::AircraftSwitchError(std::vector<Failure> failures)
    : AircraftWriteError(failures.empty() ? std::string() : failures.front().directory,
                         switchFailuresText(failures)),
      failures_(std::move(failures)) {}

void AircraftList::setActivate() {
    const platform::FolderLock lock(platform::hostPath(requireGameFolder()));
    std::string switched;
    for (const auto& item : aircraftList)
        if (item.value.isActiveChanged)
            switched += (switched.empty() ? "" : ", ") + item.value.directory();
    const JournalScope journal(platform::hostPath(requireGameFolder()), "aircraft-switch", version_,
                               switched);
    // Each aircraft is its own file: one that cannot be switched keeps no other from it.
    std::vector<AircraftSwitchError::Failure> failures;
    for (auto& item : aircraftList) {
        Aircraft& aircraft = item.value;
        if (!aircraft.isActiveChanged)
            continue;
        const std::string on = requireAircraftFolder() + aircraft.directory() + "\\aircraft.cfg";
        const std::string off = on + ".rst";
        try {
            if (aircraft.isActive)
                moveAircraftFile(off, on);
            else
                moveAircraftFile(on, off);
        } catch (const std::exception&) {
            // The cause goes along, for a window to word it.
            failures.push_back({aircraft.directory(), std::current_exception()});
            continue;
        }
        aircraft.isActiveChanged = false; // the disk holds it now
    }
    if (!failures.empty())
        throw AircraftSwitchError(std::move(failures));
}

void AircraftList::panelAndSoundWrite() {
    const platform::FolderLock lock(platform::hostPath(requireGameFolder()));
    const JournalScope journal(platform::hostPath(requireGameFolder()), "alias", version_, "");
    for (auto& item : aircraftList) {
        const Aircraft& aircraft = item.value;
        if (!aircraft.isPanelChanged && !aircraft.isSoundChanged)
            continue;
        const std::string folder = requireAircraftFolder() + aircraft.directory() + "\\";
        try {
            if (aircraft.isPanelChanged)
                writeAlias(folder + "panel\\panel.cfg", aircraft.panelAlias(), "panel");
            if (aircraft.isSoundChanged)
                writeAlias(folder + "sound\\sound.cfg", aircraft.soundAlias(), "sound");
        } catch (const std::exception& e) {
            std::throw_with_nested(AircraftWriteError(aircraft.directory(), e.what()));
        }
    }
}

int16_t AircraftList::deleteAircraftFile(std::string_view aircraftDir, bool /*deleteGauges*/,
                                         std::vector<std::string>* leftBehind) {
    if (!isPlainFolderName(aircraftDir))
        throw ArgumentError("not an aircraft folder name: \"" + std::string(aircraftDir) + "\"");
    if (!aircraftList.keyExists(aircraftDir))
        throw KeyError("no such aircraft: " + std::string(aircraftDir));
    const platform::FolderLock lock(platform::hostPath(requireGameFolder()));
    const JournalScope journal(platform::hostPath(requireGameFolder()), "aircraft-delete", version_,
                               std::string(aircraftDir));
    // Kept in the journal's store, whole, so that it can be brought back: what the history
    // cannot keep is not deleted.
    const std::string folder = requireAircraftFolder() + std::string(aircraftDir) + "\\";
    if (platform::ChangeObserver* observer = platform::changeObserver();
        observer && platform::isDirectory(folder)) {
        if (const int err = observer->moveFolderAway(platform::hostPath(folder)))
            throw IoError(FileAction::Delete,
                          platform::displayPath(folder.substr(0, folder.size() - 1)), err);
        aircraftList.remove(aircraftDir);
        return 0;
    }
    const size_t named = leftBehind ? leftBehind->size() : 0;
    const int16_t failures = removeDirectoryTree(folder, leftBehind);
    if (failures == 0) {
        aircraftList.remove(aircraftDir);
        return 0;
    }
    if (leftBehind && leftBehind->size() == named) // it could not even be listed
        leftBehind->push_back(platform::displayPath(folder.substr(0, folder.size() - 1)));

    // The entry goes with its aircraft file: while that stays, the game lists the aircraft.
    const std::string name = aircraftList.keyOf(aircraftDir);
    Aircraft remaining;
    PanelFileReader panels;
    if (readAircraft(name, readsRest_, readsAlias_, panels, remaining))
        aircraftList.item(name) = std::move(remaining);
    else
        aircraftList.remove(name);
    return failures;
}

} // namespace vokari
