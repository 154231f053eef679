#pragma once

#include "aircraft/aircraft.h"
#include "common/keyed_collection.h"
#include "platform/error.h"

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace vokari {

class PanelFileReader;

// A write to the files of the aircraft `directory` failed; the reason is the message.
// Raised with the failure that stopped the write nested in it (std::nested_exception).
class AircraftWriteError : public IoError {
public:
    AircraftWriteError(std::string aircraftDir, const std::string& reason);
    const std::string& directory() const { return directory_; }

private:
    std::string directory_;
};

// setActivate could not switch some aircraft: each is named with the failure that stopped it,
// in catalogue order; directory() is the first of them.
class AircraftSwitchError : public AircraftWriteError {
public:
    struct Failure {
        std::string directory;
        std::exception_ptr cause;
    };
    explicit AircraftSwitchError(std::vector<Failure> failures);
    const std::vector<Failure>& failures() const { return failures_; }

private:
    std::vector<Failure> failures_;
};

// The catalogue of the aircraft installed in one game, read from the game's aircraft folder,
// and the operations that carry its edits back to that folder. Entries are keyed by their
// folder name (without regard to case) and kept in the order they were added.
class AircraftList {
public:
    AircraftList() = default;
    // Entries point back to their catalogue.
    AircraftList(const AircraftList&) = delete;
    AircraftList& operator=(const AircraftList&) = delete;

    KeyedCollection<Aircraft> aircraftList;

    // Setting the version also looks up its game folder; set it before anything else.
    int16_t version() const { return version_; }
    void setVersion(int16_t version);

    // A new entry with the values of a new aircraft, under `pAircraftPath`; the caller fills
    // it in. Throws KeyError when the key is taken.
    Aircraft& addAircraft(std::string_view aircraftPath);

    // Adds one entry per aircraft folder, in the folder listing's order. `boolReadRest` takes
    // in switched-off aircraft, `boolReadAlias` the sound and panel data and the gauges. A folder
    // whose name the catalogue already holds is skipped: the first entry stays. Nothing is
    // listed when the game is not installed.
    void readAircrafts(bool readRest, bool readAlias);

    bool isDefaultAircraft(std::string_view aircraftTitle) const;

    // Writes the switch state of every aircraft whose isActiveChanged is set: the new file is
    // whole on disk before the old one is deleted, and a failure leaves the old file in place
    // for that aircraft; the pass goes on with the others. The flag of each aircraft switched
    // is cleared, so the flags always say what the disk does not hold yet, and the pass can be
    // run again for the rest; an aircraft whose disk already holds the wanted state is left
    // alone. Throws AircraftSwitchError at the end, naming every aircraft that failed, or
    // ArgumentError when the game is not installed.
    void setActivate();

    // Writes the panel alias of every aircraft whose isPanelChanged is set and the sound alias of
    // every one whose isSoundChanged is set, backing each file up once as ".org" first. An
    // aircraft without a "panel" (or "sound") folder gets nothing written. Flags stay as they
    // are. A failure ends the pass: the aircraft before the one named by the
    // AircraftWriteError are written, of that one perhaps its panel, of those after it nothing.
    void panelAndSoundWrite();

    // Deletes the folder of the aircraft `pAircraftDir` and drops it from the catalogue;
    // returns how many entries could not be deleted. While its aircraft file (switched on or
    // off) stays on disk the game still lists it, and so does the catalogue: the entry is read
    // again from the disk as readAircrafts read it, its edits gone. Only a plain folder name the
    // catalogue holds is accepted (ArgumentError, KeyError otherwise), so nothing outside that
    // aircraft's folder is touched. Gauge files are never deleted: they may serve aircraft
    // installed later or kept switched off. `leftBehind`, when given, receives the host path of
    // each entry that stays (the folder itself when nothing inside is named). With the history
    // on, the folder goes whole into it or stays whole: IoError when the history cannot keep
    // it. It may run on a thread of its own while nothing else uses the catalogue: the journal
    // it writes follows the calling thread, and the folder lock and file caches take their own
    // locks.
    int16_t deleteAircraftFile(std::string_view aircraftDir, bool deleteGauges,
                               std::vector<std::string>* leftBehind = nullptr);

private:
    // Fills the new entry `aircraft` from the aircraft folder `name`, as readAircrafts reads
    // it; false when the folder holds no aircraft it lists.
    bool readAircraft(const std::string& name, bool readRest, bool readAlias,
                      PanelFileReader& panels, Aircraft& aircraft);
    // The aircraft folder, or an error when the game is not installed.
    const std::string& requireAircraftFolder() const;
    const std::string& requireGameFolder() const;

    int16_t version_ = 0;
    // How readAircrafts was called, for entries read again later.
    bool readsRest_ = false;
    bool readsAlias_ = false;
    std::string gameFolderPath_;     // with trailing backslash; empty when not installed
    std::string aircraftFolderPath_; // gameFolderPath_ + "Aircraft\"; empty likewise
};

} // namespace vokari
