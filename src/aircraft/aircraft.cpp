#include "aircraft/aircraft.h"

namespace vokari {

void Aircraft::setSoundAlias(std::string_view alias) {
    soundAlias_ = alias;
    if (!soundAlias_.empty())
        hasSound_ = true;
}

void Aircraft::setHasSound(bool exist) {
    if (soundAlias_.empty())
        hasSound_ = exist;
}

void Aircraft::setPanelAlias(std::string_view alias) {
    panelAlias_ = alias;
    if (!panelAlias_.empty())
        hasPanel_ = true;
}

void Aircraft::setHasPanel(bool exist) {
    if (panelAlias_.empty())
        hasPanel_ = exist;
}

} // namespace vokari
