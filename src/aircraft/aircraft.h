#pragma once

#include "common/keyed_collection.h"

#include <string>
#include <string_view>

namespace vokari {

class ClsAircraftList;

// One aircraft of a catalogue: its folder, the title of its aircraft file, its switch state
// and the panel and sound it borrows from other aircraft.
class ClsAirCraft {
public:
    bool activate = true;         // "aircraft.cfg" exists (not only the switched-off file)
    bool activateChanged = false; // `activate` differs from the disk
    bool soundChanged = false;    // `soundAlias` is still to be written
    bool panelChanged = false;    // `panelAlias` likewise
    // Gauge names the panel uses, each under itself, in the order first met.
    KeyedCollection<std::string> GaugeList;

    // The folder name under the aircraft folder; also the key in the catalogue.
    const std::string& directory() const { return directory_; }
    void setDirectory(std::string_view pDir) { directory_ = pDir; }

    const std::string& title() const { return title_; }
    void setTitle(std::string_view pTitle) { title_ = pTitle; }

    // "sim" of the aircraft file; kept, shown nowhere.
    const std::string& Name() const { return name_; }
    void setName(std::string_view pName) { name_ = pName; }

    bool isDefault() const { return isDefault_; }
    ClsAircraftList* parent() const { return parent_; }

    // The folder of the aircraft whose sound this one borrows; empty when it uses its own.
    // A borrowed sound counts as a sound, so a non-empty alias also sets existSound, and
    // existSound cannot be changed while an alias is set.
    const std::string& soundAlias() const { return soundAlias_; }
    void setSoundAlias(std::string_view pAlias);
    bool existSound() const { return existSound_; }
    void setExistSound(bool pExist);

    // The same rules for the panel.
    const std::string& panelAlias() const { return panelAlias_; }
    void setPanelAlias(std::string_view pAlias);
    bool existPanel() const { return existPanel_; }
    void setExistPanel(bool pExist);

private:
    friend class ClsAircraftList;

    std::string directory_;
    std::string title_;
    std::string name_;
    bool isDefault_ = false;
    ClsAircraftList* parent_ = nullptr;
    std::string soundAlias_;
    bool existSound_ = false;
    std::string panelAlias_;
    bool existPanel_ = false;
};

} // namespace vokari
