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

void readAliasAircrafts(ClsAircraftList& list) {
    list.readAircrafts(false, true);
    if (list.version() != kGameCfs1 || list.aircraftList.keyExists(kLear45))
        return;
    // First in the lists, as if added before the reading.
    KeyedCollection<ClsAirCraft> read = std::move(list.aircraftList);
    list.aircraftList.clear();
    ClsAirCraft& lear = list.AddAircraft(kLear45);
    lear.setDirectory(kLear45);
    lear.setName("リアジェット");
    lear.setTitle(kLear45);
    for (auto& item : read)
        list.aircraftList.add(item.key, std::move(item.value));
}

bool canLendAlias(const ClsAirCraft& aircraft, AliasKind kind) {
    return kind == AliasKind::Panel ? aircraft.panelAlias().empty() && aircraft.existPanel()
                                    : aircraft.soundAlias().empty() && aircraft.existSound();
}

bool hasAliasFolder(const ClsAircraftList& list, const ClsAirCraft& receiver, AliasKind kind) {
    const std::string game = gameFolder(list.version());
    return !game.empty() &&
           platform::isDirectory(game + aircraftFolderName() + receiver.directory() + "\\" +
                                 aliasFolderName(kind));
}

const std::string& aliasOf(const ClsAirCraft& aircraft, AliasKind kind) {
    return kind == AliasKind::Panel ? aircraft.panelAlias() : aircraft.soundAlias();
}

void lendAlias(ClsAirCraft& receiver, const ClsAirCraft& lender, AliasKind kind) {
    if (kind == AliasKind::Panel) {
        receiver.setPanelAlias(lender.directory());
        receiver.panelChanged = true;
    } else {
        receiver.setSoundAlias(lender.directory());
        receiver.soundChanged = true;
    }
}

} // namespace vokari
