#pragma once

#include "aircraft/aircraft_list.h"
#include "gui/kit/editing_tool_window.h"
#include "common/keyed_collection.h"

#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace vokari::ui {

// "航空機ファイル設定": switches the game's aircraft on and off and deletes aircraft folders.
// Switch edits stay in the catalogue, with a one-step undo, until saved; deleting acts at once.
// Stock aircraft are never deleted and are switched off only when the Options menu allows it.
class FrmAircraftEnabler : public EditingToolWindow {
    Q_OBJECT

public:
    // pVer: the game chosen in the launcher.
    explicit FrmAircraftEnabler(int16_t pVer, QWidget* parent = nullptr);
    ~FrmAircraftEnabler() override;

    void setAircrafts();
    void reverseEnableFlg();
    void setEnableFlgs(bool pBoolActive);
    void addUndoInfo(const ClsAirCraft& tgAircraft);
    void undo();
    void deleteAircraftFiles();
    // False when the switch states could not be written; the user has been told.
    bool saveAircrafts();
    void permitEditDefAircraft(bool pBoolPermit);
    void permitDeleteGauges(bool pBoolPermit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool hasUnsavedEdits() const override { return boolChanged; }
    bool saveEdits() override { return saveAircrafts(); }

private:
    void buildControls();
    void buildMenus();
    void layoutControls();
    void updateToolbar();
    void popUpEditMenu(const QPoint& globalPos);
    void showAbout();
    ClsAirCraft& aircraftOf(const QTreeWidgetItem* row);
    void showActivate(const ClsAirCraft& aircraft);
    // Some aircraft's switch is not on disk yet.
    bool anySwitchPending() const;
    // setActivate, with the user told of a failure.
    bool writeSwitches();

    std::unique_ptr<ClsAircraftList> aircrafts;
    bool boolChanged = false;
    std::optional<KeyedCollection<ClsAirCraft>> undoInfo;
    bool boolUndo = false;
    bool boolChangedBefore = false;
    bool boolPermitEditDef = false;
    bool boolPermitDeleteGauges = false;
    // The rows of LstAircraft under their aircraft's directory.
    KeyedCollection<QTreeWidgetItem*> rows_;

    QMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr; // the inside of the window, below the menus
    QToolBar* TBar = nullptr;
    QLabel* Label1 = nullptr;
    QTreeWidget* LstAircraft = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFile_Save = nullptr;
    QAction* mnuFile_Exit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEdit_Undo = nullptr;
    QAction* MnuEdit_Active = nullptr;
    QAction* MnuEdit_Inactive = nullptr;
    QAction* mnuEdit_DeleteAircraft = nullptr;
    QMenu* mnuOpt = nullptr;
    QAction* MnuOpt_EditDefAircraft = nullptr;
    QAction* mnuOpt_sep1 = nullptr;
    QAction* mnuOpt_DeleteGauges = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelp_Ver = nullptr;
};

} // namespace vokari::ui
