#include "quickcombat/qc_plane.h"

#include "platform/error.h"

namespace vokari {

void ClsQCPlane::setAircraftType(int16_t pType) {
    if (pType == kQCFighter || pType == kQCBomber)
        aircraftType_ = pType;
}

void ClsQCPlane::setDefineName(std::string_view pName) {
    if (isAliasName(pName)) {
        defineName_ = pName;
        return;
    }
    if (!strings_)
        throw Error("aircraft " + aircraftPath_ + " has no string list for its name");
    const std::string key = aircraftPath_ + "Name";
    strings_->Add(pName, key);
    defineName_ = "%" + key + "%";
}

std::string ClsQCPlane::viewName() const {
    return resolveName(defineName_, strings_);
}

} // namespace vokari
