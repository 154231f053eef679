#include "aircraft/aircraft_list.h"

#include "aircraft/stock_aircraft.h"
#include "app/installation.h"
#include "common/file_helpers.h"
#include "common/text.h"
#include "platform/file_system.h"
#include "platform/profile.h"

#include <array>
#include <cstdio>
#include <utility>
#include <vector>

namespace vokari {
namespace {

constexpr std::string_view kAircraftFile = "aircraft.cfg";
constexpr std::string_view kSwitchedOffSuffix = ".rst";

// "Window07", "gauge12": a name followed by a two-digit counter, for every counter once (a
// panel is asked for about two hundred sections and as many keys).
template <size_t First> struct NumberedNames {
    explicit NumberedNames(std::string_view name) {
        for (size_t i = First; i <= 99; ++i) {
            char digits[4];
            std::snprintf(digits, sizeof digits, "%02zu", i);
            names[i - First] = std::string(name).append(digits);
        }
    }
    const std::string& operator[](size_t counter) const { return names[counter - First]; }
    std::array<std::string, 100 - First> names;
};

const NumberedNames<0>& windowSections() {
    static const NumberedNames<0> names("Window");
    return names;
}
const NumberedNames<1>& virtualCockpitSections() {
    static const NumberedNames<1> names("VCockpit");
    return names;
}
const NumberedNames<0>& gaugeKeys() {
    static const NumberedNames<0> names("gauge");
    return names;
}

// A panel names a handful of gauge files hundreds of times: a look along the few names met so
// far is cheaper than the collection's index.
void addGauge(KeyedCollection<std::string>& gauges, std::string_view gauge) {
    if (gauges.count() <= 16) {
        for (const auto& known : gauges)
            if (known.key == gauge || equalsNoCase(known.key, gauge))
                return;
    } else if (gauges.keyExists(gauge)) {
        return;
    }
    gauges.add(gauge, std::string(gauge));
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
    // Asking the panel for each of the 199 names costs more than reading which of them it has:
    // a section name matches when its lookup form is the asked name in lower case.
    std::array<bool, 100> windows{};
    std::array<bool, 100> cockpits{};
    auto numberOf = [](const std::string& name, std::string_view stem) -> int {
        if (name.size() != stem.size() + 2 || name.compare(0, stem.size(), stem) != 0)
            return -1;
        const char tens = name[stem.size()];
        const char ones = name[stem.size() + 1];
        if (tens < '0' || tens > '9' || ones < '0' || ones > '9')
            return -1;
        return (tens - '0') * 10 + (ones - '0');
    };
    for (const std::string& name : pPanel.sectionNames()) {
        if (const int n = numberOf(name, "window"); n >= 0)
            windows[static_cast<size_t>(n)] = true;
        else if (const int m = numberOf(name, "vcockpit"); m >= 0)
            cockpits[static_cast<size_t>(m)] = true;
    }
    for (size_t i = 0; i <= 99; ++i)
        if (windows[i])
            readGaugeSection(pAircraft, pPanel, windowSections()[i]);
    for (size_t i = 1; i <= 99; ++i)
        if (cockpits[i])
            readGaugeSection(pAircraft, pPanel, virtualCockpitSections()[i]);
}

// A section's gauges run from gauge00 to the first entry without "!" (the separator between
// gauge file and gauge name); a section without gauge00 has none.
void ClsAircraftList::readGaugeSection(ClsAirCraft& pAircraft,
                                       const platform::ProfileSnapshot& pPanel,
                                       const std::string& pSection) const {
    const auto& keys = gaugeKeys();
    std::string value;
    pPanel.valueInto(pSection, keys[0], "", value);
    if (value.empty())
        return;
    for (size_t i = 0; i <= 99; ++i) {
        if (i > 0)
            pPanel.valueInto(pSection, keys[i], "", value);
        const size_t bang = value.find('!');
        if (bang == std::string::npos)
            return;
        addGauge(pAircraft.GaugeList, std::string_view(value).substr(0, bang));
    }
}

const std::string& ClsAircraftList::requireAircraftFolder() const {
    if (aircraftFolderPath_.empty())
        throw ArgumentError("game " + std::to_string(version_) + " is not installed");
    return aircraftFolderPath_;
}

} // namespace vokari
