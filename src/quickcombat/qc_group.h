#pragma once

#include "common/keyed_collection.h"
#include "quickcombat/qc_group_names.h"
#include "quickcombat/qc_plane.h"
#include "quickcombat/qc_string_list.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vokari {

// One quick-combat group: a name (alias or literal, stored as given) and the aircraft it may
// hold. The entries belong to the document; a group only refers to them.
class ClsQCGrp {
public:
    int16_t groupId() const { return groupId_; }
    void setGroupId(int16_t pGroupId) { groupId_ = pGroupId; }

    const std::string& defineName() const { return defineName_; }
    void setDefineName(std::string_view pName);
    std::string viewName() const { return resolveName(defineName_, strings_); }

    void setStringList(ClsStringList* pStrings) { strings_ = pStrings; }
    ClsStringList* getStringList() const { return strings_; }
    // The document's count of group names, kept in step with this group's name; none detaches.
    void setNameIndex(QCGroupNames* pNames);

    // Appends the entry under its folder name unless the group already holds that folder.
    void addPlane(ClsQCPlane* pPlane);
    // Takes the folder out of this group only. Throws KeyError when the group does not hold it.
    void removePlane(std::string_view pAircraftPath);
    const KeyedCollection<ClsQCPlane*>& Planes() const { return planes_; }

private:
    int16_t groupId_ = 0;
    std::string defineName_;
    KeyedCollection<ClsQCPlane*> planes_;
    ClsStringList* strings_ = nullptr; // the document's, not owned
    QCGroupNames* names_ = nullptr;    // the document's, not owned
};

} // namespace vokari
