#include "quickcombat/qc_groups.h"

#include "platform/error.h"

#include <limits>

namespace vokari {

std::string groupKey(int16_t groupId) {
    return "grp." + std::to_string(groupId);
}

void QcGroups::setDefaultPlaneName(std::string_view name) {
    defaultPlaneName_ = name.empty() ? kFallbackPlaneName : name;
}

QcGroup& QcGroups::addGroup() {
    if (groupCounter_ == std::numeric_limits<int16_t>::max())
        throw Error("too many groups: group ids are used up past 32767");
    return addGroup(getNewGroupAlias());
}

QcGroup& QcGroups::addGroup(std::string_view name) {
    if (groupCounter_ == std::numeric_limits<int16_t>::max())
        throw Error("too many groups: group ids are used up past 32767");
    auto group = std::make_unique<QcGroup>();
    group->setGroupId(static_cast<int16_t>(groupCounter_ + 1));
    group->setDefineName(name);
    group->setStringList(&strings_);
    group->setNameIndex(&groupNames_);
    QcGroup& added = *group;
    groups_.addNew(groupKey(added.groupId()), std::move(group)); // ids are never reused
    ++groupCounter_;
    return added;
}

void QcGroups::removeGroup(int16_t groupId) {
    const std::string key = groupKey(groupId);
    groups_.item(key)->setNameIndex(nullptr);
    groups_.remove(key);
}

QcGroup& QcGroups::group(int16_t groupId) {
    return *groups_.item(groupKey(groupId));
}

QcPlane& QcGroups::addPlane(int16_t groupId, std::string_view aircraftPath,
                            std::optional<std::string_view> name) {
    // Find the group first, so an unknown id leaves the document as it was.
    return addPlane(group(groupId), aircraftPath, name);
}

QcPlane& QcGroups::addPlane(QcGroup& target, std::string_view aircraftPath,
                            std::optional<std::string_view> name) {
    const int16_t groupId = target.groupId();
    QcPlane* plane;
    if (auto* existing = planes_.find(aircraftPath)) {
        plane = existing;
    } else {
        QcPlane created;
        created.setGroupId(groupId);
        created.setAircraftPath(aircraftPath);
        created.setStringList(&strings_);
        planes_.addNew(aircraftPath, std::move(created));
        plane = &std::prev(planes_.end())->value;
        if (name)
            plane->setDefineName(*name);
    }
    target.addPlane(plane);
    return *plane;
}

std::string QcGroups::getNewGroupAlias() const {
    return groupNames_.lowestFreeAlias();
}

} // namespace vokari
