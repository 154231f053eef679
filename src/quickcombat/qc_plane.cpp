#include "quickcombat/qc_plane.h"

#include "platform/error.h"

namespace vokari {

void QcPlane::setAircraftType(int16_t type) {
    if (type == kQCFighter || type == kQCBomber)
        aircraftType_ = type;
}

void QcPlane::setDefineName(std::string_view name) {
    if (isAliasName(name)) {
        defineName_ = name;
        return;
    }
    if (!strings_)
        throw Error("aircraft " + aircraftPath_ + " has no string list for its name");
    const std::string key = aircraftPath_ + "Name";
    strings_->add(name, key);
    defineName_ = "%" + key + "%";
}

std::string QcPlane::viewName() const {
    return resolveName(defineName_, strings_);
}

} // namespace vokari
