#pragma once

#include "quickcombat/qc_string_list.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vokari {

inline constexpr int16_t kQCFighter = 1;
inline constexpr int16_t kQCBomber = 2;

// One aircraft of the quick-combat document, identified by its folder under Aircraft\. A
// literal name is kept in the document's string list under folder + "Name" and referred to by
// its alias, so set the folder before the name.
class QcPlane {
public:
    int16_t groupId() const { return groupId_; }
    void setGroupId(int16_t groupId) { groupId_ = groupId; }

    const std::string& aircraftPath() const { return aircraftPath_; }
    void setAircraftPath(std::string_view aircraftPath) { aircraftPath_ = aircraftPath; }

    int16_t aircraftType() const { return aircraftType_; }
    // Only fighter (1) and bomber (2) are taken; any other value keeps the type.
    void setAircraftType(int16_t type);

    const std::string& defineName() const { return defineName_; }
    // An alias is stored as given; anything else goes into the string list.
    void setDefineName(std::string_view name);
    // No name at all, as an entry has before one is given: nothing goes into the string list.
    void clearDefineName() { defineName_.clear(); }
    std::string viewName() const;

    void setStringList(QcStringList* strings) { strings_ = strings; }
    QcStringList* getStringList() const { return strings_; }

private:
    int16_t groupId_ = 0;
    std::string aircraftPath_;
    int16_t aircraftType_ = kQCFighter;
    std::string defineName_;
    QcStringList* strings_ = nullptr; // the document's, not owned
};

} // namespace vokari
