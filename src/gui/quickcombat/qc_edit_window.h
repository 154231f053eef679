#pragma once

#include "gui/kit/editing_tool_window.h"
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QToolBar;
class QTreeWidget;

namespace vokari {
class ClsAircraftList;
class ClsQCGroups;
class ClsQCGrp;
class ClsQCPlane;
} // namespace vokari

namespace vokari::ui {

// "クイックコンバット編集": edits the groups of enemy aircraft of the game's quick-combat file.
// Installed aircraft on the left; groups and the selected group's entries on the right. Edits
// stay in the document until saved.
class FrmQCEdit : public EditingToolWindow {
    Q_OBJECT

public:
    // pVer: the game chosen in the launcher.
    explicit FrmQCEdit(int16_t pVer, QWidget* parent = nullptr);
    ~FrmQCEdit() override;

    void setAircrafts();
    void setGroupList();
    // The group or entry of the selected row; nullptr when no row is selected.
    ClsQCGrp* selectedQCGroup();
    void removeGroup();
    void setGrpPlanes(int16_t groupId);
    ClsQCPlane* selectedQCPlane();
    // The installed aircraft selected on the left join the selected group.
    void addQCPlane();
    void removeQCPlane();
    // False when the file could not be written; the user has been told and nothing is lost.
    bool save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool hasUnsavedEdits() const override { return boolChanged; }
    bool saveEdits() override { return save(); }

private:
    enum class Focused { Other, Aircraft, Group, QCPlane };

    void addQCGroup();
    void editQCGroup();
    void editQCPlane();
    void addPlanes(const QStringList& folders);

    void buildControls();
    void buildMenus();
    void layoutControls();
    Focused focusedList() const;
    void updateEditItems();
    void addByFocus();
    void editByFocus();
    void deleteByFocus();
    void popUpEditMenu(QTreeWidget* list, const QPoint& globalPos);
    bool dropOnEntries(QEvent* event);
    int16_t selectedGroupId() const; // 0 when no group row is selected
    void showFailure(const QString& lead, const std::exception& error);

    std::unique_ptr<ClsQCGroups> document;
    std::unique_ptr<ClsAircraftList> aircrafts;
    std::string gameFolder_;
    bool boolChanged = false;

    QMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr; // the inside of the window, below the menus
    QToolBar* Toolbar1 = nullptr;
    QLabel* LblAircraft = nullptr;
    QTreeWidget* LstAircraft = nullptr;
    QLabel* LblGroup = nullptr;
    QTreeWidget* LstGroup = nullptr;
    QLabel* LblQCPlane = nullptr;
    QTreeWidget* LstQCPlane = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFile_Save = nullptr;
    QAction* mnuFile_Exit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEdit_Add_EnemyGroup = nullptr;
    QAction* mnuEdit_Add_EnemyAircraft = nullptr;
    QAction* mnuEdit_Edit = nullptr;
    QAction* mnuEdit_Delete = nullptr;
    QMenu* mnuEdit2 = nullptr;
    QAction* mnuEdit2_Add = nullptr;
    QAction* mnuEdit2_Edit = nullptr;
    QAction* mnuEdit2_Delete = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelp_Ver = nullptr;
};

} // namespace vokari::ui
