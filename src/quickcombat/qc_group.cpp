#include "quickcombat/qc_group.h"

namespace vokari {

void ClsQCGrp::addPlane(ClsQCPlane* pPlane) {
    if (!planes_.keyExists(pPlane->aircraftPath()))
        planes_.add(pPlane->aircraftPath(), pPlane);
}

void ClsQCGrp::removePlane(std::string_view pAircraftPath) {
    planes_.remove(pAircraftPath);
}

} // namespace vokari
