#pragma once

#include "quickcombat/qc_group_names.h"
#include "quickcombat/qc_plane.h"
#include "quickcombat/qc_string_list.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vokari {

// The entries one group holds, in order, each once. The document keeps one entry per folder,
// so a group holds entries rather than folder names: adding compares no text, and a file of
// thousands of groups makes no allocation per entry.
class QCGroupPlanes {
public:
    struct Item {
        ClsQCPlane* value;
    };
    using const_iterator = std::vector<Item>::const_iterator;

    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }
    size_t count() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    // By folder name, without regard to case.
    bool keyExists(std::string_view pAircraftPath) const;
    // Throws KeyError when the group does not hold the folder.
    ClsQCPlane* item(std::string_view pAircraftPath) const;

private:
    friend class ClsQCGrp;
    bool holds(const ClsQCPlane* pPlane) const;
    void add(ClsQCPlane* pPlane);
    void remove(std::string_view pAircraftPath);

    std::vector<Item> items_;
    // Only a large group keeps a set of its entries; a document has thousands of groups.
    std::unique_ptr<std::unordered_set<const ClsQCPlane*>> index_;
};

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

    // Appends the document's entry unless the group already holds it.
    void addPlane(ClsQCPlane* pPlane) { planes_.add(pPlane); }
    // Takes the folder out of this group only. Throws KeyError when the group does not hold it.
    void removePlane(std::string_view pAircraftPath) { planes_.remove(pAircraftPath); }
    const QCGroupPlanes& Planes() const { return planes_; }

private:
    int16_t groupId_ = 0;
    std::string defineName_;
    QCGroupPlanes planes_;
    ClsStringList* strings_ = nullptr; // the document's, not owned
    QCGroupNames* names_ = nullptr;    // the document's, not owned
};

} // namespace vokari
