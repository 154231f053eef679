#include "quickcombat/qc_group.h"

#include "platform/error.h"
#include "platform/text.h"

#include <algorithm>

namespace vokari {
namespace {

// Past this many entries a group keeps a set of them, so that adding stays linear.
constexpr size_t kIndexFrom = 64;

} // namespace

bool QcGroupPlanes::keyExists(std::string_view aircraftPath) const {
    return std::any_of(items_.begin(), items_.end(), [&](const Item& i) {
        return equalsNoCase(i.value->aircraftPath(), aircraftPath);
    });
}

QcPlane* QcGroupPlanes::item(std::string_view aircraftPath) const {
    for (const Item& i : items_)
        if (equalsNoCase(i.value->aircraftPath(), aircraftPath))
            return i.value;
    throw KeyError("no such aircraft in the group: " + std::string(aircraftPath));
}

bool QcGroupPlanes::holds(const QcPlane* plane) const {
    if (index_)
        return index_->count(plane) != 0;
    return std::any_of(items_.begin(), items_.end(),
                       [plane](const Item& i) { return i.value == plane; });
}

void QcGroupPlanes::add(QcPlane* plane) {
    if (holds(plane))
        return;
    // Room for a typical group at once, rather than growing it step by step.
    if (items_.empty())
        items_.reserve(16);
    items_.push_back(Item{plane});
    try {
        if (index_) {
            index_->insert(plane);
        } else if (items_.size() >= kIndexFrom) {
            auto index = std::make_unique<std::unordered_set<const QcPlane*>>();
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

void QcGroupPlanes::remove(std::string_view aircraftPath) {
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const Item& i) {
        return equalsNoCase(i.value->aircraftPath(), aircraftPath);
    });
    if (it == items_.end())
        throw KeyError("no such aircraft in the group: " + std::string(aircraftPath));
    if (index_)
        index_->erase(it->value);
    items_.erase(it);
}

void QcGroup::setDefineName(std::string_view name) {
    if (name == defineName_)
        return;
    if (names_)
        names_->release(defineName_);
    defineName_ = name;
    if (names_)
        names_->take(defineName_);
}

void QcGroup::setNameIndex(QcGroupNames* names) {
    if (names_)
        names_->release(defineName_);
    names_ = names;
    if (names_)
        names_->take(defineName_);
}

} // namespace vokari
