#pragma once

#include "aircraft/aircraft_list.h"
#include "aircraft/alias_rules.h"
#include "gui/kit/editing_tool_window.h"
#include "common/keyed_collection.h"

#include <QIcon>
#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vokari::ui {

// "音声・パネルファイル設定": lets aircraft borrow the sound or the panel of another aircraft.
// In each view the left list holds the receivers, the right one the lenders; which list an
// aircraft is in is decided once, when the window opens. Edits stay in the catalogue, with a
// one-step undo, until saved.
class FrmAliasSetting : public EditingToolWindow {
    Q_OBJECT

public:
    // pVer: the game chosen in the launcher.
    explicit FrmAliasSetting(int16_t pVer, QWidget* parent = nullptr);
    ~FrmAliasSetting() override;

    void setAircrafts();
    void addUndoInfo(const ClsAirCraft& tgAircraft);
    void undo();
    // False when the aliases could not all be written; the user has been told.
    bool saveAircrafts();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool hasUnsavedEdits() const override { return boolChanged; }
    bool saveEdits() override { return saveAircrafts(); }

private:
    void buildControls();
    void buildMenus();
    void layoutControls();
    void updateToolbar();
    void setSoundAlias();
    void setPanelAlias();
    void setAlias(AliasKind kind);
    void setCurrentAlias();
    void viewSound();
    void viewPanel();
    void popUpEditMenu(const QPoint& globalPos);
    void showAbout();
    QTreeWidget* targetList(AliasKind kind) const;
    QTreeWidget* lenderList(AliasKind kind) const;
    ClsAirCraft& aircraftOf(const QTreeWidgetItem* row);
    void showAlias(const ClsAirCraft& aircraft, AliasKind kind);
    // Whether the last save that failed at `failedDir` wrote any aircraft of the undo record.
    bool undoRecordWritten(const std::string& failedDir) const;

    std::unique_ptr<ClsAircraftList> aircrafts;
    bool boolChanged = false;
    bool boolChangedBefore = false;
    int16_t undoKind = 0; // 0: no undo record, 1: a sound edit, 2: a panel edit
    std::optional<KeyedCollection<ClsAirCraft>> undoInfo;
    // The rows of the receiver lists under their aircraft's directory.
    KeyedCollection<QTreeWidgetItem*> soundRows_;
    KeyedCollection<QTreeWidgetItem*> panelRows_;

    QMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr; // the inside of the window, below the menus
    QToolBar* TBar = nullptr;
    QToolButton* viewButton_ = nullptr; // button 6, with the view entries
    QIcon soundImage_;
    QIcon panelImage_;
    QLabel* LblTargert = nullptr;
    QLabel* LblAircraft = nullptr;
    QTreeWidget* LstTargetSound = nullptr;
    QTreeWidget* LstTargetPanel = nullptr;
    QTreeWidget* LstAircraftSound = nullptr;
    QTreeWidget* LstAircraftPanel = nullptr;
    QStatusBar* StBar = nullptr;
    QLabel* stBarText_ = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFile_Save = nullptr;
    QAction* mnuFile_Exit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEdit_Undo = nullptr;
    QAction* mnuEdit_Set = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuView_Sound = nullptr;
    QAction* mnuView_Panel = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelp_Ver = nullptr;
};

} // namespace vokari::ui
