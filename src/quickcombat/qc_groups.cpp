#include "quickcombat/qc_groups.h"

#include "common/error.h"

#include <cstdio>
#include <limits>
#include <unordered_set>

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
    auto group = std::make_unique<ClsQCGrp>();
    group->setGroupId(static_cast<int16_t>(groupCounter_ + 1));
    group->setDefineName(GetNewGroupAlias());
    group->setStringList(&strings_);
    ClsQCGrp& added = *group;
    groups_.add(groupKey(added.groupId()), std::move(group));
    ++groupCounter_;
    return added;
}

void ClsQCGroups::removeGroup(int16_t pGroupId) {
    groups_.remove(groupKey(pGroupId));
}

ClsQCGrp& ClsQCGroups::group(int16_t pGroupId) {
    return *groups_.item(groupKey(pGroupId));
}

ClsQCPlane& ClsQCGroups::addPlane(int16_t pGroupId, std::string_view pAircraftPath,
                                  std::optional<std::string_view> pName) {
    // Find the group first, so an unknown id leaves the document as it was.
    ClsQCGrp& target = group(pGroupId);
    ClsQCPlane* plane;
    if (planes_.keyExists(pAircraftPath)) {
        plane = planes_.item(pAircraftPath).get();
    } else {
        auto created = std::make_unique<ClsQCPlane>();
        created->setGroupId(pGroupId);
        created->setAircraftPath(pAircraftPath);
        created->setStringList(&strings_);
        plane = created.get();
        planes_.add(pAircraftPath, std::move(created));
        if (pName)
            plane->setDefineName(*pName);
    }
    target.addPlane(plane);
    return *plane;
}

std::string ClsQCGroups::GetNewGroupAlias() const {
    std::unordered_set<std::string> taken;
    for (const auto& entry : groups_)
        taken.insert(entry.value->defineName());
    char candidate[32];
    for (int n = 1; n <= std::numeric_limits<int16_t>::max(); ++n) {
        std::snprintf(candidate, sizeof candidate, "%%VokariGrpOption%05d%%", n);
        if (!taken.count(candidate))
            return candidate;
    }
    throw Error("no free group alias is left: every number up to 32767 is taken");
}

} // namespace vokari
