#pragma once

#include "aircraft/aircraft_list.h"

#include <string>

// Who may lend a panel or a sound to whom, as the alias window offers it.
namespace vokari {

enum class AliasKind { Panel, Sound };

// "panel" or "sound": the folder in an aircraft's folder that holds the file.
const char* aliasFolderName(AliasKind kind);

// Reads the switched-on aircraft with their panels, sounds and gauges. The first game also
// lists, first of all, the pseudo-aircraft lear45: it has no aircraft file yet takes aliases
// into the folder lear45. When that folder holds a real aircraft, that one is the only entry.
// Call after setVersion.
void readAliasAircrafts(AircraftList& list);

// A lender has the file of its own and borrows none; every other aircraft is a receiver.
bool canLendAlias(const Aircraft& aircraft, AliasKind kind);

// Whether the receiver has the folder an alias is written into (without it nothing is written).
bool hasAliasFolder(const AircraftList& list, const Aircraft& receiver, AliasKind kind);

const std::string& aliasOf(const Aircraft& aircraft, AliasKind kind);

// The receiver borrows the lender's panel or sound from the next save on.
void lendAlias(Aircraft& receiver, const Aircraft& lender, AliasKind kind);

} // namespace vokari
