#include "aircraft/aircraft_list.h"

#include "aircraft/panel_file.h"
#include "aircraft/stock_aircraft.h"
#include "common/file_helpers.h"
#include "frame/installation.h"
#include "platform/file_system.h"
#include "platform/folder_listings.h"
#include "platform/profile.h"
#include "platform/text.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace vokari {
namespace {

constexpr std::string_view kAircraftFile = "aircraft.cfg";
constexpr std::string_view kSwitchedOffSuffix = ".rst";

// The first value of each of `keys` in the first section named `section`, read front to back
// and no further than that section; a missing key gives the empty text.
template <size_t N>
std::array<std::string, N> readSection(platform::ProfileReader& file, std::string_view section,
                                       const std::array<std::string_view, N>& keys) {
    std::array<std::string, N> values;
    std::array<bool, N> found{};
    if (!file.findSection(section))
        return values;
    std::string scratch;
    while (file.next() && !file.isSection()) {
        for (size_t i = 0; i < N; ++i) {
            if (!found[i] && equalsNoCase(file.name(), keys[i])) {
                values[i] = file.value(scratch);
                found[i] = true;
            }
        }
    }
    return values;
}

} // namespace

void AircraftList::setVersion(int16_t version) {
    version_ = version;
    gameFolderPath_ = gameFolder(version);
    // Without a game folder the path would be relative, and name whatever lies in the
    // current folder.
    aircraftFolderPath_ =
        gameFolderPath_.empty() ? std::string() : gameFolderPath_ + aircraftFolderName();
}

Aircraft& AircraftList::addAircraft(std::string_view aircraftPath) {
    aircraftList.add(aircraftPath, Aircraft());
    return aircraftList.item(aircraftPath);
}

bool AircraftList::isDefaultAircraft(std::string_view aircraftTitle) const {
    return isStockAircraftTitle(version_, aircraftTitle);
}

void AircraftList::readAircrafts(bool readRest, bool readAlias) {
    readsRest_ = readRest;
    readsAlias_ = readAlias;
    if (aircraftFolderPath_.empty())
        return;
    // Each aircraft's folder is read once, however many of its files are spelled otherwise.
    const platform::ListingScope listings;
    std::vector<std::string> folders;
    for (auto& entry : platform::listDirectory(aircraftFolderPath_))
        if (entry.isDirectory())
            folders.push_back(std::move(entry.name));

    PanelFileReader panels;
    for (const std::string& name : folders) {
        if (aircraftList.keyExists(name))
            continue; // an entry added before keeps its place
        Aircraft aircraft;
        if (readAircraft(name, readRest, readAlias, panels, aircraft))
            aircraftList.add(name, std::move(aircraft));
    }
}

bool AircraftList::readAircraft(const std::string& name, bool readRest, bool readAlias,
                                PanelFileReader& panels, Aircraft& aircraft) {
    const std::string folder = aircraftFolderPath_ + name + "\\";
    const std::string aircraftFile = folder + std::string(kAircraftFile);
    bool switchedOn = true;
    std::optional<platform::ProfileReader> file;
    file.emplace(aircraftFile);
    if (!file->exists()) {
        if (!readRest)
            return false;
        file.emplace(aircraftFile + std::string(kSwitchedOffSuffix));
        if (!file->exists())
            return false;
        switchedOn = false;
    }
    const auto [title, sim] = readSection<2>(*file, "fltsim.0", {"title", "sim"});
    if (title.empty())
        return false;

    aircraft.setName(sim);
    aircraft.setDirectory(name);
    aircraft.setTitle(title);
    aircraft.isActive = switchedOn;
    aircraft.isDefault_ = isDefaultAircraft(title);
    if (readAlias) {
        platform::ProfileReader sound(folder + "sound\\sound.cfg");
        aircraft.setHasSound(sound.exists());
        if (sound.exists())
            aircraft.setSoundAlias(parentPath(readSection<1>(sound, "fltsim", {"alias"})[0]));
        const PanelFile panel = panels.read(folder + "panel\\panel.cfg", aircraft.gaugeList);
        aircraft.setHasPanel(panel.exists);
        if (panel.exists)
            aircraft.setPanelAlias(parentPath(panel.alias));
    }
    aircraft.parent_ = this;
    return true;
}

const std::string& AircraftList::requireGameFolder() const {
    requireAircraftFolder();
    return gameFolderPath_;
}

const std::string& AircraftList::requireAircraftFolder() const {
    if (aircraftFolderPath_.empty())
        throw ArgumentError("game " + std::to_string(version_) + " is not installed");
    return aircraftFolderPath_;
}

} // namespace vokari
