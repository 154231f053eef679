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
class QcGroupPlanes {
public:
    struct Item {
        QcPlane* value;
    };
    using const_iterator = std::vector<Item>::const_iterator;

    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }
    size_t count() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    // By folder name, without regard to case.
    bool keyExists(std::string_view aircraftPath) const;
    // Throws KeyError when the group does not hold the folder.
    QcPlane* item(std::string_view aircraftPath) const;

private:
    friend class QcGroup;
    bool holds(const QcPlane* plane) const;
    void add(QcPlane* plane);
    void remove(std::string_view aircraftPath);

    std::vector<Item> items_;
    // Only a large group keeps a set of its entries; a document has thousands of groups.
    std::unique_ptr<std::unordered_set<const QcPlane*>> index_;
};

// One quick-combat group: a name (alias or literal, stored as given) and the aircraft it may
// hold. The entries belong to the document; a group only refers to them.
class QcGroup {
public:
    int16_t groupId() const { return groupId_; }
    void setGroupId(int16_t groupId) { groupId_ = groupId; }

    const std::string& defineName() const { return defineName_; }
    void setDefineName(std::string_view name);
    std::string viewName() const { return resolveName(defineName_, strings_); }

    void setStringList(QcStringList* strings) { strings_ = strings; }
    QcStringList* getStringList() const { return strings_; }
    // The document's count of group names, kept in step with this group's name; none detaches.
    void setNameIndex(QcGroupNames* names);

    // Appends the document's entry unless the group already holds it.
    void addPlane(QcPlane* plane) { planes_.add(plane); }
    // Takes the folder out of this group only; the entry and its string stay in the document
    // (QcGroups::removePlane also lets go of them). Throws KeyError when the group does not
    // hold it.
    void removePlane(std::string_view aircraftPath) { planes_.remove(aircraftPath); }
    const QcGroupPlanes& planes() const { return planes_; }

    // Lines of the group's part of the file that the document does not read, as the file
    // holds them (see QcGroups::keptLines): they go with the group.
    const std::string& keptLines() const { return keptLines_; }
    void keepLine(std::string_view line) { keptLines_.append(line).append("\r\n"); }

private:
    friend class QcGroups; // its clone copies the kept lines as they are

    int16_t groupId_ = 0;
    std::string defineName_;
    QcGroupPlanes planes_;
    std::string keptLines_;
    QcStringList* strings_ = nullptr; // the document's, not owned
    QcGroupNames* names_ = nullptr;   // the document's, not owned
};

} // namespace vokari
