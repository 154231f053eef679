#pragma once

#include "common/keyed_collection.h"

#include <string>
#include <string_view>

namespace vokari {

class AircraftList;

// One aircraft of a catalogue: its folder, the title of its aircraft file, its switch state
// and the panel and sound it borrows from other aircraft.
class Aircraft {
public:
    bool isActive = true;         // "aircraft.cfg" exists (not only the switched-off file)
    bool isActiveChanged = false; // `isActive` differs from the disk
    bool isSoundChanged = false;  // `soundAlias` is still to be written
    bool isPanelChanged = false;  // `panelAlias` likewise
    // The switch state the disk holds: `isActive` unless a change is still to be written.
    bool isActiveOnDisk() const { return isActive != isActiveChanged; }
    // Gauge names the panel uses, each under itself, in the order first met.
    KeyedCollection<std::string> gaugeList;

    // The folder name under the aircraft folder; also the key in the catalogue.
    const std::string& directory() const { return directory_; }
    void setDirectory(std::string_view dir) { directory_ = dir; }

    const std::string& title() const { return title_; }
    void setTitle(std::string_view title) { title_ = title; }

    // "sim" of the aircraft file; kept, shown nowhere.
    const std::string& name() const { return name_; }
    void setName(std::string_view name) { name_ = name; }

    bool isDefault() const { return isDefault_; }
    AircraftList* parent() const { return parent_; }

    // The folder of the aircraft whose sound this one borrows; empty when it uses its own.
    // A borrowed sound counts as a sound, so a non-empty alias also sets hasSound, and
    // hasSound cannot be changed while an alias is set.
    const std::string& soundAlias() const { return soundAlias_; }
    void setSoundAlias(std::string_view alias);
    bool hasSound() const { return hasSound_; }
    void setHasSound(bool exist);

    // The same rules for the panel.
    const std::string& panelAlias() const { return panelAlias_; }
    void setPanelAlias(std::string_view alias);
    bool hasPanel() const { return hasPanel_; }
    void setHasPanel(bool exist);

private:
    friend class AircraftList;

    std::string directory_;
    std::string title_;
    std::string name_;
    bool isDefault_ = false;
    AircraftList* parent_ = nullptr;
    std::string soundAlias_;
    bool hasSound_ = false;
    std::string panelAlias_;
    bool hasPanel_ = false;
};

} // namespace vokari
