#pragma once

#include "aircraft/aircraft_list.h"
#include "aircraft/alias_rules.h"
#include "common/keyed_collection.h"
#include "gui/kit/editing_tool_window.h"

#include <QIcon>
#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QStatusBar;
class QToolButton;
class QTreeView;

namespace vokari::ui {

class RowTableModel;

// "音声・パネルファイル設定": lets aircraft borrow the sound or the panel of another aircraft.
// In each view the left list holds the receivers, the right one the lenders; which list an
// aircraft is in is decided once, when the window opens. Edits stay in the catalogue, with a
// one-step undo, until saved.
class AliasSettingWindow : public EditingToolWindow {
    Q_OBJECT

public:
    // version: the game chosen in the launcher.
    explicit AliasSettingWindow(int16_t version, QWidget* parent = nullptr);
    ~AliasSettingWindow() override;

    void setAircrafts();
    void addUndoInfo(const Aircraft& aircraft);
    void undo() override;
    // False when the aliases could not all be written; the user has been told.
    bool saveAircrafts();

protected:
    bool hasUnsavedEdits() const override { return isChanged_; }
    bool saveEdits() override { return saveAircrafts(); }
    bool canUndo() const override { return undoKind_ != 0; }
    void layoutControls() override;

private:
    void buildControls();
    void buildMenus();
    void setSoundAlias();
    void setPanelAlias();
    void setAlias(AliasKind kind);
    void setCurrentAlias();
    void viewSound();
    void viewPanel();
    // The receivers and the lenders of one kind, each a list of catalogue keys.
    struct Rows {
        std::vector<std::string> targets;
        std::vector<std::string> lenders;
        // The place of each receiver's row under its key.
        KeyedCollection<int> targetIndex;
        RowTableModel* targetModel = nullptr;
        RowTableModel* lenderModel = nullptr;
    };
    Rows& rowsOf(AliasKind kind) { return kind == AliasKind::Sound ? soundRows_ : panelRows_; }
    QTreeView* newList(const char* name, AliasKind kind, bool isTarget);
    QTreeView* targetList(AliasKind kind) const;
    QTreeView* lenderList(AliasKind kind) const;
    Aircraft& aircraftOf(const std::string& key);
    void showAlias(const Aircraft& aircraft, AliasKind kind);
    // Whether the last save that failed at `failedDir` wrote any aircraft of the undo record.
    bool undoRecordWritten(const std::string& failedDir) const;

    std::unique_ptr<AircraftList> aircrafts_;
    bool isChanged_ = false;
    bool wasChangedBefore_ = false;
    int16_t undoKind_ = 0; // 0: no undo record, 1: a sound edit, 2: a panel edit
    std::optional<KeyedCollection<Aircraft>> undoInfo_;
    Rows soundRows_;
    Rows panelRows_;

    QToolButton* viewButton_ = nullptr; // button 6, with the view entries
    QIcon soundImage_;
    QIcon panelImage_;
    QLabel* targetLabel_ = nullptr;
    QLabel* aircraftLabel_ = nullptr;
    QTreeView* targetSoundList_ = nullptr;
    QTreeView* targetPanelList_ = nullptr;
    QTreeView* aircraftSoundList_ = nullptr;
    QTreeView* aircraftPanelList_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* stBarText_ = nullptr;

    QAction* setAction_ = nullptr;
    QAction* viewSoundAction_ = nullptr;
    QAction* viewPanelAction_ = nullptr;
};

} // namespace vokari::ui
