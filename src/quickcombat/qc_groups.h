#pragma once

#include "common/keyed_collection.h"
#include "quickcombat/qc_group.h"
#include "quickcombat/qc_plane.h"
#include "quickcombat/qc_string_list.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vokari {

// The parts of the quick-combat file outside the groups that hold lines the document does not
// read: before the first section, and after the defaults' and the strings' own lines.
enum class QcFilePart { Head, Defaults, Strings };

// The quick-combat document: groups in creation order, one shared entry per aircraft folder,
// the player's defaults and the display strings. It holds no file name and does no I/O.
class QcGroups {
public:
    // What the game offers when no default aircraft is named.
    static constexpr std::string_view kFallbackPlaneName = "スピットファイア Mk I";

    QcGroups() = default;
    // Groups and entries point at this document's string list: copies are made by clone.
    QcGroups(const QcGroups&) = delete;
    QcGroups& operator=(const QcGroups&) = delete;

    // A document of its own that writes the same file: groups, shared entries, strings, kept
    // lines, defaults, and the ids and aliases the next groups take. An editor's undo keeps
    // such copies.
    std::unique_ptr<QcGroups> clone() const;

    const std::string& defaultPlaneName() const { return defaultPlaneName_; }
    // The empty name stores the fallback aircraft.
    void setDefaultPlaneName(std::string_view name);

    // 0 until assigned.
    int32_t defaultpGunAmmo() const { return gunAmmo_.value_or(0); }
    void setDefaultpGunAmmo(int32_t ammo) { gunAmmo_ = ammo; }
    int32_t defaultpCannonAmmo() const { return cannonAmmo_.value_or(0); }
    void setDefaultpCannonAmmo(int32_t ammo) { cannonAmmo_ = ammo; }

    // A new group with the next id (never reused) and the lowest free generated alias.
    // Throws Error past 32767 groups.
    QcGroup& addGroup();
    // The same with the name given (a reader's), without working out an alias first.
    QcGroup& addGroup(std::string_view name);
    // Takes the group out, and with it what only it used: the entries no other group holds,
    // and the strings Vokari made for its name ("VokariGrpOption00002") and theirs (folder +
    // "Name") that no group, entry or kept line refers to any more. Every other string stays.
    // Its id is not given again. Throws KeyError for an unknown id.
    void removeGroup(int16_t groupId);
    // The document's entry for the folder (created when new, with the name given if any),
    // added to the group. An existing entry keeps its type and name. Throws KeyError for an
    // unknown group id.
    QcPlane& addPlane(int16_t groupId, std::string_view aircraftPath,
                      std::optional<std::string_view> name = std::nullopt);
    // The same for a group of this document already in hand.
    QcPlane& addPlane(QcGroup& group, std::string_view aircraftPath,
                      std::optional<std::string_view> name = std::nullopt);
    // Takes the folder out of the group. An entry no group holds any more leaves the document,
    // with the string made for its name unless something else refers to it, so adding the
    // folder again makes a new entry. Throws KeyError for an unknown id or a folder the group
    // does not hold.
    void removePlane(int16_t groupId, std::string_view aircraftPath);

    // Keyed "grp." + id.
    const KeyedCollection<std::unique_ptr<QcGroup>>& groups() const { return groups_; }
    // Keyed by folder name. Each entry stays where it is while the document lives.
    const KeyedCollection<QcPlane>& planes() const { return planes_; }
    // The entry for the folder, or null.
    QcPlane* findPlane(std::string_view aircraftPath) { return planes_.find(aircraftPath); }
    QcGroup& group(int16_t groupId);

    void addString(std::string_view key, std::string_view value) { strings_.add(value, key); }
    std::string getString(std::string_view key) const { return strings_.item(key); }
    QcStringList& stringList() { return strings_; }
    const QcStringList& stringList() const { return strings_; }

    // Lines of the file that the document does not read (comments, unknown keys and sections),
    // each as the file's own bytes in the code page followed by CR LF, so that a save gives
    // them back in the part they stood in. They are never converted nor shown.
    const std::string& keptLines(QcFilePart part) const { return keptLines_[index(part)]; }
    // `line` without its line end.
    void keepLine(QcFilePart part, std::string_view line) {
        keptLines_[index(part)].append(line).append("\r\n");
    }

    // The line at which reading the file stopped on a failure: the document holds only the
    // lines before it, so writing it would lose that line and every one after it. None when
    // the file was read whole, or once such a document has been written all the same.
    std::optional<int> unreadFromLine() const { return unreadFromLine_; }
    void setUnreadFromLine(std::optional<int> line) { unreadFromLine_ = line; }

    // Whether the file read held a section of a quick-combat file ([option.N], [player default
    // aircraft], [strings]): one without is some other file, given by mistake, which no tool
    // may write over with a quick-combat layout.
    bool hasQuickCombatSections() const { return hasSections_; }
    void setHasQuickCombatSections(bool has) { hasSections_ = has; }

    // "%VokariGrpOption" + the lowest number (five digits at least) that no group's name
    // holds exactly + "%".
    std::string getNewGroupAlias() const;

private:
    static size_t index(QcFilePart part) { return static_cast<size_t>(part); }
    // After a removal: drops the `entries` no group holds, then the strings under `keys` and
    // under the keys made for those entries' names that nothing refers to any more.
    void dropUnused(std::vector<std::string> keys, const std::vector<const QcPlane*>& entries);
    bool isStringUsed(std::string_view key) const;

    // Entries by value: a lookup lands on the key and the entry side by side.
    KeyedCollection<QcPlane> planes_;
    KeyedCollection<std::unique_ptr<QcGroup>> groups_;
    int16_t groupCounter_ = 0;
    std::string defaultPlaneName_;
    std::optional<int32_t> gunAmmo_;
    std::optional<int32_t> cannonAmmo_;
    QcStringList strings_;
    QcGroupNames groupNames_;
    std::array<std::string, 3> keptLines_;
    std::optional<int> unreadFromLine_;
    bool hasSections_ = false;
};

// The key of a group in Groups: "grp." + id.
std::string groupKey(int16_t groupId);

} // namespace vokari
