#include "aircraft/alias_rules.h"

#include "app/installation.h"
#include "platform/file_system.h"

namespace vokari {

const char* aliasFolderName(AliasKind kind) {
    return kind == AliasKind::Panel ? "panel" : "sound";
}

void addAliasPseudoAircraft(ClsAircraftList& list) {
    if (list.version() != kGameCfs1)
        return;
    ClsAirCraft& lear = list.AddAircraft("lear45");
    lear.setDirectory("lear45");
    lear.setName("リアジェット");
    lear.setTitle("lear45");
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

} // namespace vokari
