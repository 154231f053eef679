#include "quickcombat/qc_group.h"

namespace vokari {

void ClsQCGrp::setDefineName(std::string_view pName) {
    if (pName == defineName_)
        return;
    if (names_)
        names_->release(defineName_);
    defineName_ = pName;
    if (names_)
        names_->take(defineName_);
}

void ClsQCGrp::setNameIndex(QCGroupNames* pNames) {
    if (names_)
        names_->release(defineName_);
    names_ = pNames;
    if (names_)
        names_->take(defineName_);
}

void ClsQCGrp::addPlane(ClsQCPlane* pPlane) {
    planes_.addIfAbsent(pPlane->aircraftPath(), pPlane);
}

void ClsQCGrp::removePlane(std::string_view pAircraftPath) {
    planes_.remove(pAircraftPath);
}

} // namespace vokari
