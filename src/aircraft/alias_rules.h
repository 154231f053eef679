#pragma once

#include "aircraft/aircraft_list.h"

// Who may lend a panel or a sound to whom, as the alias window offers it.
namespace vokari {

enum class AliasKind { Panel, Sound };

// "panel" or "sound": the folder in an aircraft's folder that holds the file.
const char* aliasFolderName(AliasKind kind);

// The first game lists the pseudo-aircraft lear45, which has no aircraft file yet takes
// aliases. Call after setVersion and before readAircrafts; nothing happens for the second game.
void addAliasPseudoAircraft(ClsAircraftList& list);

// A lender has the file of its own and borrows none; every other aircraft is a receiver.
bool canLendAlias(const ClsAirCraft& aircraft, AliasKind kind);

// Whether the receiver has the folder an alias is written into (without it nothing is written).
bool hasAliasFolder(const ClsAircraftList& list, const ClsAirCraft& receiver, AliasKind kind);

} // namespace vokari
