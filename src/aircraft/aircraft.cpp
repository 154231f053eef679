#include "aircraft/aircraft.h"

namespace vokari {

void ClsAirCraft::setSoundAlias(std::string_view pAlias) {
    soundAlias_ = pAlias;
    if (!soundAlias_.empty())
        existSound_ = true;
}

void ClsAirCraft::setExistSound(bool pExist) {
    if (soundAlias_.empty())
        existSound_ = pExist;
}

void ClsAirCraft::setPanelAlias(std::string_view pAlias) {
    panelAlias_ = pAlias;
    if (!panelAlias_.empty())
        existPanel_ = true;
}

void ClsAirCraft::setExistPanel(bool pExist) {
    if (panelAlias_.empty())
        existPanel_ = pExist;
}

} // namespace vokari
