#pragma once

#include "gui/kit/editing_tool_window.h"
#include "platform/file_fingerprint.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QTreeView;

namespace vokari {
class AircraftList;
class QcGroups;
class QcGroup;
class QcPlane;
} // namespace vokari

namespace vokari::ui {

class RowTableModel;

// "クイックコンバット編集": edits the groups of enemy aircraft of the game's quick-combat file.
// Installed aircraft on the left; groups and the selected group's entries on the right. Edits
// stay in the document until saved, and Undo takes them back one by one, past a save too.
class QcEditWindow : public EditingToolWindow {
    Q_OBJECT

public:
    // version: the game chosen in the launcher.
    explicit QcEditWindow(int16_t version, QWidget* parent = nullptr);
    ~QcEditWindow() override;

    void setAircrafts();
    void setGroupList();
    // The group or entry of the selected row; nullptr when no row is selected.
    QcGroup* selectedQCGroup();
    void removeGroup();
    void setGrpPlanes(int16_t groupId);
    QcPlane* selectedQCPlane();
    // The installed aircraft selected on the left join the selected group.
    void addQCPlane();
    void removeQCPlane();
    // False when the file could not be written; the user has been told and nothing is lost.
    bool save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool hasUnsavedEdits() const override { return isChanged_; }
    bool saveEdits() override { return save(); }
    // The file is written again on request, edited or not.
    bool canSave() const override { return true; }
    bool canUndo() const override { return !undoSteps_.empty(); }
    // Brings back the document, and the rows selected, as they were before the last edit.
    void undo() override;
    void layoutControls() override;

private:
    enum class Focused { Other, Aircraft, Group, QCPlane };

    void addQCGroup();
    void editQCGroup();
    void editQCPlane();
    void addPlanes(const QStringList& folders);

    void buildControls();
    void buildMenus();
    Focused focusedList() const;
    void updateEditItems();
    void addByFocus();
    void editByFocus();
    void deleteByFocus();
    void popUpListMenu(QTreeView* list, const QPoint& globalPos);
    void showNoPlanes();
    bool dropOnEntries(QEvent* event);
    int16_t selectedGroupId() const; // 0 when no group row is selected
    // Whether the user lets a group that holds entries go.
    bool mayRemoveGroup(const QcGroup& group);
    // The document and the rows selected, as they were before an edit.
    struct UndoStep {
        std::unique_ptr<QcGroups> document;
        int groupRow;
        int planeRow;
    };
    UndoStep undoStep() const;
    // After an edit: keeps the step taken `before` it for Undo, and marks the change.
    void edited(UndoStep before);
    // The lists anew from the document, with the rows at these places selected where they are.
    void showDocument(int groupRow, int planeRow);
    void showFailure(const QString& lead, const std::exception& error);
    // False when the file was read only in part and the user keeps the rest of it.
    bool mayLoseUnreadLines();
    // False when the file changed since it was read and the user keeps it.
    bool mayOverwrite(const std::string& file);

    std::unique_ptr<QcGroups> document_;
    std::unique_ptr<AircraftList> aircrafts_;
    std::string gameFolder_;
    // The file as read or last saved: someone else's write since is asked about at saving.
    platform::FileFingerprint fileRead_;
    bool isChanged_ = false;
    // The steps before each edit, the latest last.
    std::deque<UndoStep> undoSteps_;
    // How many steps undoSteps_ held when the document was what the file holds; none once no
    // undo can lead back there.
    std::optional<size_t> savedStep_ = 0;

    // What the lists show, row by row.
    struct AircraftRow {
        QString directory;
        QString title;
    };
    struct GroupRow {
        int16_t id = 0;
        QString name;
    };
    struct PlaneRow {
        QString path;
        QString type;
        QString name;
    };
    std::vector<AircraftRow> aircraftRows_;
    std::vector<GroupRow> groupRows_;
    std::vector<PlaneRow> planeRows_;
    RowTableModel* aircraftModel_ = nullptr;
    RowTableModel* groupModel_ = nullptr;
    RowTableModel* planeModel_ = nullptr;

    QLabel* aircraftLabel_ = nullptr;
    QTreeView* aircraftList_ = nullptr;
    QLabel* groupLabel_ = nullptr;
    QTreeView* groupList_ = nullptr;
    QLabel* qcPlaneLabel_ = nullptr;
    QTreeView* qcPlaneList_ = nullptr;

    QAction* addEnemyGroupAction_ = nullptr;
    QAction* addEnemyAircraftAction_ = nullptr;
    QAction* editAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QMenu* edit2Menu_ = nullptr;
    QAction* edit2AddAction_ = nullptr;
    QAction* edit2EditAction_ = nullptr;
    QAction* edit2DeleteAction_ = nullptr;
};

} // namespace vokari::ui
