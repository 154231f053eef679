#pragma once

#include "common/keyed_collection.h"
#include "quickcombat/qc_group.h"
#include "quickcombat/qc_plane.h"
#include "quickcombat/qc_string_list.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vokari {

// The quick-combat document: groups in creation order, one shared entry per aircraft folder,
// the player's defaults and the display strings. It holds no file name and does no I/O.
class ClsQCGroups {
public:
    // What the game offers when no default aircraft is named.
    static constexpr std::string_view kFallbackPlaneName = "スピットファイア Mk I";

    ClsQCGroups() = default;
    // Groups and entries point at this document's string list.
    ClsQCGroups(const ClsQCGroups&) = delete;
    ClsQCGroups& operator=(const ClsQCGroups&) = delete;

    const std::string& defaultPlaneName() const { return defaultPlaneName_; }
    // The empty name stores the fallback aircraft.
    void setDefaultPlaneName(std::string_view pName);

    // 0 until assigned.
    int32_t defaultpGunAmmo() const { return gunAmmo_.value_or(0); }
    void setDefaultpGunAmmo(int32_t pAmmo) { gunAmmo_ = pAmmo; }
    int32_t defaultpCannonAmmo() const { return cannonAmmo_.value_or(0); }
    void setDefaultpCannonAmmo(int32_t pAmmo) { cannonAmmo_ = pAmmo; }

    // A new group with the next id (never reused) and the lowest free generated alias.
    // Throws Error past 32767 groups.
    ClsQCGrp& addGroup();
    // The same with the name given (a reader's), without working out an alias first.
    ClsQCGrp& addGroup(std::string_view pName);
    // Takes the group out; its entries and strings stay. Throws KeyError for an unknown id.
    void removeGroup(int16_t pGroupId);
    // The document's entry for the folder (created when new, with the name given if any),
    // added to the group. An existing entry keeps its type and name. Throws KeyError for an
    // unknown group id.
    ClsQCPlane& addPlane(int16_t pGroupId, std::string_view pAircraftPath,
                         std::optional<std::string_view> pName = std::nullopt);
    // The same for a group of this document already in hand.
    ClsQCPlane& addPlane(ClsQCGrp& pGroup, std::string_view pAircraftPath,
                         std::optional<std::string_view> pName = std::nullopt);

    // Keyed "grp." + id.
    const KeyedCollection<std::unique_ptr<ClsQCGrp>>& Groups() const { return groups_; }
    // Keyed by folder name. Each entry stays where it is while the document lives.
    const KeyedCollection<ClsQCPlane>& Planes() const { return planes_; }
    // The entry for the folder, or null.
    ClsQCPlane* findPlane(std::string_view pAircraftPath) { return planes_.find(pAircraftPath); }
    ClsQCGrp& group(int16_t pGroupId);

    void addString(std::string_view pKey, std::string_view pValue) { strings_.Add(pValue, pKey); }
    std::string getString(std::string_view pKey) const { return strings_.Item(pKey); }
    ClsStringList& stringList() { return strings_; }
    const ClsStringList& stringList() const { return strings_; }

    // "%VokariGrpOption" + the lowest number (five digits at least) that no group's name
    // holds exactly + "%".
    std::string GetNewGroupAlias() const;

private:
    // Entries by value: a lookup lands on the key and the entry side by side.
    KeyedCollection<ClsQCPlane> planes_;
    KeyedCollection<std::unique_ptr<ClsQCGrp>> groups_;
    int16_t groupCounter_ = 0;
    std::string defaultPlaneName_;
    std::optional<int32_t> gunAmmo_;
    std::optional<int32_t> cannonAmmo_;
    ClsStringList strings_;
    QCGroupNames groupNames_;
};

// The key of a group in Groups: "grp." + id.
std::string groupKey(int16_t pGroupId);

} // namespace vokari
