#include "aircraft/aircraft_list.h"

#include "aircraft/stock_aircraft.h"
#include "app/installation.h"
#include "common/file_helpers.h"
#include "platform/file_system.h"
#include "platform/profile.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace vokari {
namespace {

constexpr std::string_view kAircraftFile = "aircraft.cfg";
constexpr std::string_view kSwitchedOffSuffix = ".rst";

// "Window07", "gauge12": a name followed by a two-digit counter.
std::string numbered(std::string_view name, int counter) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02d", counter);
    return std::string(name).append(digits);
}

} // namespace

void ClsAircraftList::setVersion(int16_t pVer) {
    version_ = pVer;
    gameFolderPath_ = gameFolder(pVer);
    // Without a game folder the path would be relative, and name whatever lies in the
    // current folder.
    aircraftFolderPath_ =
        gameFolderPath_.empty() ? std::string() : gameFolderPath_ + aircraftFolderName();
}

ClsAirCraft& ClsAircraftList::AddAircraft(std::string_view pAircraftPath) {
    aircraftList.add(pAircraftPath, ClsAirCraft());
    return aircraftList.item(pAircraftPath);
}

bool ClsAircraftList::IsDefaultAircraft(std::string_view pAircraftTitle) const {
    return isStockAircraftTitle(version_, pAircraftTitle);
}

void ClsAircraftList::readAircrafts(bool boolReadRest, bool boolReadAlias) {
    if (aircraftFolderPath_.empty())
        return;
    std::vector<std::string> folders;
    for (auto& entry : platform::listDirectory(aircraftFolderPath_))
        if (entry.isDirectory())
            folders.push_back(std::move(entry.name));

    for (const std::string& name : folders) {
        if (aircraftList.keyExists(name))
            continue; // an entry added before keeps its place
        const std::string folder = aircraftFolderPath_ + name + "\\";
        const std::string aircraftFile = folder + std::string(kAircraftFile);
        bool switchedOn = true;
        platform::ProfileSnapshot file = platform::readIniFile(aircraftFile);
        if (!file.exists()) {
            if (!boolReadRest)
                continue;
            file = platform::readIniFile(aircraftFile + std::string(kSwitchedOffSuffix));
            if (!file.exists())
                continue;
            switchedOn = false;
        }
        const std::string title = file.value("fltsim.0", "title", "");
        if (title.empty())
            continue;

        ClsAirCraft aircraft;
        aircraft.setName(file.value("fltsim.0", "sim", ""));
        aircraft.setDirectory(name);
        aircraft.setTitle(title);
        aircraft.activate = switchedOn;
        aircraft.isDefault_ = IsDefaultAircraft(title);
        if (boolReadAlias) {
            const auto sound = platform::readIniFile(folder + "sound\\sound.cfg");
            aircraft.setExistSound(sound.exists());
            if (sound.exists())
                aircraft.setSoundAlias(parentPath(sound.value("fltsim", "alias", "")));
            const auto panel = platform::readIniFile(folder + "panel\\panel.cfg");
            aircraft.setExistPanel(panel.exists());
            if (panel.exists()) {
                aircraft.setPanelAlias(parentPath(panel.value("fltsim", "alias", "")));
                readGauges(aircraft, panel);
            }
        }
        aircraft.parent_ = this;
        aircraftList.add(name, std::move(aircraft));
    }
}

void ClsAircraftList::readGauges(ClsAirCraft& pAircraft,
                                 const platform::ProfileSnapshot& pPanel) const {
    for (int i = 0; i <= 99; ++i)
        readGaugeSection(pAircraft, pPanel, numbered("Window", i));
    for (int i = 1; i <= 99; ++i)
        readGaugeSection(pAircraft, pPanel, numbered("VCockpit", i));
}

// A section's gauges run from gauge00 to the first entry without "!" (the separator between
// gauge file and gauge name); a section without gauge00 has none.
void ClsAircraftList::readGaugeSection(ClsAirCraft& pAircraft,
                                       const platform::ProfileSnapshot& pPanel,
                                       const std::string& pSection) const {
    if (pPanel.value(pSection, "gauge00", "").empty())
        return;
    for (int i = 0; i <= 99; ++i) {
        const std::string value = pPanel.value(pSection, numbered("gauge", i), "");
        const size_t bang = value.find('!');
        if (bang == std::string::npos)
            return;
        const std::string_view gauge = std::string_view(value).substr(0, bang);
        if (!pAircraft.GaugeList.keyExists(gauge))
            pAircraft.GaugeList.add(gauge, std::string(gauge));
    }
}

const std::string& ClsAircraftList::requireAircraftFolder() const {
    if (aircraftFolderPath_.empty())
        throw ArgumentError("game " + std::to_string(version_) + " is not installed");
    return aircraftFolderPath_;
}

} // namespace vokari
