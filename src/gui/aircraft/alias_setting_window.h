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
class QTreeWidget;
class QTreeWidgetItem;

namespace vokari::ui {

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
    QTreeWidget* targetList(AliasKind kind) const;
    QTreeWidget* lenderList(AliasKind kind) const;
    Aircraft& aircraftOf(const QTreeWidgetItem* row);
    void showAlias(const Aircraft& aircraft, AliasKind kind);
    // Whether the last save that failed at `failedDir` wrote any aircraft of the undo record.
    bool undoRecordWritten(const std::string& failedDir) const;

    std::unique_ptr<AircraftList> aircrafts_;
    bool isChanged_ = false;
    bool wasChangedBefore_ = false;
    int16_t undoKind_ = 0; // 0: no undo record, 1: a sound edit, 2: a panel edit
    std::optional<KeyedCollection<Aircraft>> undoInfo_;
    // The rows of the receiver lists under their aircraft's directory.
    KeyedCollection<QTreeWidgetItem*> soundRows_;
    KeyedCollection<QTreeWidgetItem*> panelRows_;

    QToolButton* viewButton_ = nullptr; // button 6, with the view entries
    QIcon soundImage_;
    QIcon panelImage_;
    QLabel* targetLabel_ = nullptr;
    QLabel* aircraftLabel_ = nullptr;
    QTreeWidget* targetSoundList_ = nullptr;
    QTreeWidget* targetPanelList_ = nullptr;
    QTreeWidget* aircraftSoundList_ = nullptr;
    QTreeWidget* aircraftPanelList_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* stBarText_ = nullptr;

    QAction* setAction_ = nullptr;
    QAction* viewSoundAction_ = nullptr;
    QAction* viewPanelAction_ = nullptr;
};

} // namespace vokari::ui
