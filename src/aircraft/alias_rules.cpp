#include "aircraft/alias_rules.h"

#include "frame/installation.h"
#include "platform/file_system.h"

#include <utility>

namespace vokari {
namespace {

constexpr const char* kLear45 = "lear45";

} // namespace

const char* aliasFolderName(AliasKind kind) {
    return kind == AliasKind::Panel ? "panel" : "sound";
}

void readAliasAircrafts(AircraftList& list) {
    list.readAircrafts(false, true);
    if (list.version() != kGameCfs1 || list.aircraftList.keyExists(kLear45))
        return;
    // First in the lists, as if added before the reading.
    KeyedCollection<Aircraft> read = std::move(list.aircraftList);
    list.aircraftList.clear();
    Aircraft& lear = list.addAircraft(kLear45);
    lear.setDirectory(kLear45);
    lear.setName("リアジェット");
    lear.setTitle(kLear45);
    for (auto& item : read)
        list.aircraftList.add(item.key, std::move(item.value));
}

bool canLendAlias(const Aircraft& aircraft, AliasKind kind) {
    return kind == AliasKind::Panel ? aircraft.panelAlias().empty() && aircraft.hasPanel()
                                    : aircraft.soundAlias().empty() && aircraft.hasSound();
}

bool hasAliasFolder(const AircraftList& list, const Aircraft& receiver, AliasKind kind) {
    const std::string game = gameFolder(list.version());
    return !game.empty() &&
           platform::isDirectory(game + aircraftFolderName() + receiver.directory() + "\\" +
                                 aliasFolderName(kind));
}

const std::string& aliasOf(const Aircraft& aircraft, AliasKind kind) {
    return kind == AliasKind::Panel ? aircraft.panelAlias() : aircraft.soundAlias();
}

void lendAlias(Aircraft& receiver, const Aircraft& lender, AliasKind kind) {
    if (kind == AliasKind::Panel) {
        receiver.setPanelAlias(lender.directory());
        receiver.isPanelChanged = true;
    } else {
        receiver.setSoundAlias(lender.directory());
        receiver.isSoundChanged = true;
    }
}

} // namespace vokari
