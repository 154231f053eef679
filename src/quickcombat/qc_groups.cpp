#include "quickcombat/qc_groups.h"

#include "platform/error.h"

#include <limits>

namespace vokari {

std::string groupKey(int16_t pGroupId) {
    return "grp." + std::to_string(pGroupId);
}

void ClsQCGroups::setDefaultPlaneName(std::string_view pName) {
    defaultPlaneName_ = pName.empty() ? kFallbackPlaneName : pName;
}

ClsQCGrp& ClsQCGroups::addGroup() {
    if (groupCounter_ == std::numeric_limits<int16_t>::max())
        throw Error("too many groups: group ids are used up past 32767");
    return addGroup(GetNewGroupAlias());
}

ClsQCGrp& ClsQCGroups::addGroup(std::string_view pName) {
    if (groupCounter_ == std::numeric_limits<int16_t>::max())
        throw Error("too many groups: group ids are used up past 32767");
    auto group = std::make_unique<ClsQCGrp>();
    group->setGroupId(static_cast<int16_t>(groupCounter_ + 1));
    group->setDefineName(pName);
    group->setStringList(&strings_);
    group->setNameIndex(&groupNames_);
    ClsQCGrp& added = *group;
    groups_.addNew(groupKey(added.groupId()), std::move(group)); // ids are never reused
    ++groupCounter_;
    return added;
}

void ClsQCGroups::removeGroup(int16_t pGroupId) {
    const std::string key = groupKey(pGroupId);
    groups_.item(key)->setNameIndex(nullptr);
    groups_.remove(key);
}

ClsQCGrp& ClsQCGroups::group(int16_t pGroupId) {
    return *groups_.item(groupKey(pGroupId));
}

ClsQCPlane& ClsQCGroups::addPlane(int16_t pGroupId, std::string_view pAircraftPath,
                                  std::optional<std::string_view> pName) {
    // Find the group first, so an unknown id leaves the document as it was.
    return addPlane(group(pGroupId), pAircraftPath, pName);
}

ClsQCPlane& ClsQCGroups::addPlane(ClsQCGrp& target, std::string_view pAircraftPath,
                                  std::optional<std::string_view> pName) {
    const int16_t pGroupId = target.groupId();
    ClsQCPlane* plane;
    if (auto* existing = planes_.find(pAircraftPath)) {
        plane = existing;
    } else {
        ClsQCPlane created;
        created.setGroupId(pGroupId);
        created.setAircraftPath(pAircraftPath);
        created.setStringList(&strings_);
        planes_.addNew(pAircraftPath, std::move(created));
        plane = &std::prev(planes_.end())->value;
        if (pName)
            plane->setDefineName(*pName);
    }
    target.addPlane(plane);
    return *plane;
}

std::string ClsQCGroups::GetNewGroupAlias() const {
    return groupNames_.lowestFreeAlias();
}

} // namespace vokari
