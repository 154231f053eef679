#include "quickcombat/qc_groups.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/text.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace vokari {
namespace {

// The key of the string Vokari made for a group's name ("VokariGrpOption00002"), or empty.
std::string madeGroupKey(const QcGroup& group) {
    return generatedAliasNumber(group.defineName()) ? aliasKey(group.defineName()) : std::string();
}

// The key of the string made for an entry's name (folder + "Name"), or empty. The folder's
// spelling may have changed since, as keys compare without regard to case.
std::string madePlaneKey(const QcPlane& plane) {
    if (!isAliasName(plane.defineName()))
        return std::string();
    std::string key = aliasKey(plane.defineName());
    return equalsNoCase(key, plane.aircraftPath() + "Name") ? key : std::string();
}

bool refersTo(std::string_view name, std::string_view key) {
    return isAliasName(name) && equalsNoCase(aliasKey(name), key);
}

} // namespace

std::string groupKey(int16_t groupId) {
    return "grp." + std::to_string(groupId);
}

std::unique_ptr<QcGroups> QcGroups::clone() const {
    auto copy = std::make_unique<QcGroups>();
    copy->strings_ = strings_;
    // Groups hold the document's entries: the copy's groups hold the copy's.
    std::unordered_map<const QcPlane*, QcPlane*> copied;
    copied.reserve(planes_.count());
    for (const auto& item : planes_) {
        QcPlane plane = item.value;
        plane.setStringList(&copy->strings_);
        copy->planes_.addNew(item.key, std::move(plane));
        copied.emplace(&item.value, &std::prev(copy->planes_.end())->value);
    }
    for (const auto& item : groups_) {
        const QcGroup& from = *item.value;
        auto group = std::make_unique<QcGroup>();
        group->setGroupId(from.groupId());
        group->setDefineName(from.defineName());
        group->setStringList(&copy->strings_);
        group->setNameIndex(&copy->groupNames_);
        for (const auto& entry : from.planes())
            group->addPlane(copied.at(entry.value));
        group->keptLines_ = from.keptLines_;
        copy->groups_.addNew(item.key, std::move(group));
    }
    copy->groupCounter_ = groupCounter_;
    copy->defaultPlaneName_ = defaultPlaneName_;
    copy->gunAmmo_ = gunAmmo_;
    copy->cannonAmmo_ = cannonAmmo_;
    copy->keptLines_ = keptLines_;
    copy->unreadFromLine_ = unreadFromLine_;
    return copy;
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
    const std::unique_ptr<QcGroup> removed = std::move(groups_.item(key));
    groups_.remove(key);
    removed->setNameIndex(nullptr);
    std::vector<const QcPlane*> entries;
    for (const auto& item : removed->planes())
        entries.push_back(item.value);
    dropUnused({madeGroupKey(*removed)}, entries);
}

void QcGroups::removePlane(int16_t groupId, std::string_view aircraftPath) {
    QcGroup& target = group(groupId);
    const QcPlane* plane = target.planes().item(aircraftPath);
    target.removePlane(aircraftPath);
    dropUnused({}, {plane});
}

void QcGroups::dropUnused(std::vector<std::string> keys,
                          const std::vector<const QcPlane*>& entries) {
    std::unordered_set<const QcPlane*> unheld(entries.begin(), entries.end());
    for (auto it = groups_.begin(); it != groups_.end() && !unheld.empty(); ++it)
        for (const auto& item : it->value->planes())
            unheld.erase(item.value);
    for (const QcPlane* plane : unheld) {
        keys.push_back(madePlaneKey(*plane));
        const std::string folder = plane->aircraftPath();
        planes_.remove(folder);
    }
    for (const std::string& key : keys)
        if (!key.empty() && !isStringUsed(key))
            strings_.remove(key);
}

bool QcGroups::isStringUsed(std::string_view key) const {
    for (const auto& item : groups_)
        if (refersTo(item.value->defineName(), key))
            return true;
    // Entries no group holds count too: adding their folder again brings them back.
    for (const auto& item : planes_)
        if (refersTo(item.value.defineName(), key))
            return true;
    // A line kept from the file may refer to it as well. The lines are bytes in the code page,
    // where a key with no form cannot stand; letters compare without regard to case.
    std::string alias;
    try {
        alias = asciiLower("%" + platform::utf8ToAnsi(key));
    } catch (const ArgumentError&) {
        return false;
    }
    const auto mentions = [&alias](const std::string& lines) {
        return !lines.empty() && asciiLower(lines).find(alias) != std::string::npos;
    };
    for (const auto& item : groups_)
        if (mentions(item.value->keptLines()))
            return true;
    return std::any_of(keptLines_.begin(), keptLines_.end(), mentions);
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
