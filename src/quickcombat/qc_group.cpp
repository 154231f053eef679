#include "quickcombat/qc_group.h"

#include "platform/error.h"
#include "platform/text.h"

#include <algorithm>

namespace vokari {
namespace {

// Past this many entries a group keeps a set of them, so that adding stays linear.
constexpr size_t kIndexFrom = 64;

} // namespace

bool QCGroupPlanes::keyExists(std::string_view pAircraftPath) const {
    return std::any_of(items_.begin(), items_.end(), [&](const Item& i) {
        return equalsNoCase(i.value->aircraftPath(), pAircraftPath);
    });
}

ClsQCPlane* QCGroupPlanes::item(std::string_view pAircraftPath) const {
    for (const Item& i : items_)
        if (equalsNoCase(i.value->aircraftPath(), pAircraftPath))
            return i.value;
    throw KeyError("no such aircraft in the group: " + std::string(pAircraftPath));
}

bool QCGroupPlanes::holds(const ClsQCPlane* pPlane) const {
    if (index_)
        return index_->count(pPlane) != 0;
    return std::any_of(items_.begin(), items_.end(),
                       [pPlane](const Item& i) { return i.value == pPlane; });
}

void QCGroupPlanes::add(ClsQCPlane* pPlane) {
    if (holds(pPlane))
        return;
    // Room for a typical group at once, rather than growing it step by step.
    if (items_.empty())
        items_.reserve(16);
    items_.push_back(Item{pPlane});
    try {
        if (index_) {
            index_->insert(pPlane);
        } else if (items_.size() >= kIndexFrom) {
            auto index = std::make_unique<std::unordered_set<const ClsQCPlane*>>();
            for (const Item& i : items_)
                index->insert(i.value);
            index_ = std::move(index);
        }
    } catch (...) {
        index_.reset();
        items_.pop_back();
        throw;
    }
}

void QCGroupPlanes::remove(std::string_view pAircraftPath) {
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const Item& i) {
        return equalsNoCase(i.value->aircraftPath(), pAircraftPath);
    });
    if (it == items_.end())
        throw KeyError("no such aircraft in the group: " + std::string(pAircraftPath));
    if (index_)
        index_->erase(it->value);
    items_.erase(it);
}

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

} // namespace vokari
