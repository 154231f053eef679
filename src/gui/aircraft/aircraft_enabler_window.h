#pragma once

#include "aircraft/aircraft_list.h"
#include "common/keyed_collection.h"
#include "gui/kit/background_work.h"
#include "gui/kit/editing_tool_window.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QProgressBar;
class QTreeView;

namespace vokari::ui {

class RowTableModel;

// "航空機ファイル設定": switches the game's aircraft on and off and deletes aircraft folders.
// Switch edits stay in the catalogue, with a one-step undo, until saved; deleting acts at once.
// Stock aircraft are never deleted and are switched off only when the Options menu allows it.
// Deleting runs off the window's thread: until it ends the window takes no command, and a
// closing asked for meanwhile waits for it.
class AircraftEnablerWindow : public EditingToolWindow {
    Q_OBJECT

public:
    // version: the game chosen in the launcher.
    explicit AircraftEnablerWindow(int16_t version, QWidget* parent = nullptr);
    ~AircraftEnablerWindow() override;

    void setAircrafts();
    void reverseEnableFlg();
    void setEnableFlgs(bool active);
    void addUndoInfo(const Aircraft& aircraft);
    void undo() override;
    void deleteAircraftFiles();
    // False when the switch states could not be written; the user has been told.
    bool saveAircrafts();
    void permitEditDefAircraft(bool permit);
    void permitDeleteGauges(bool permit);
    // A deletion runs; the catalogue is the work's until it ends.
    bool isDeleting() const { return isDeleting_; }

    // Closing while a deletion runs closes once it has ended.
    void done(int result) override;

protected:
    bool hasUnsavedEdits() const override { return isChanged_; }
    bool saveEdits() override { return saveAircrafts(); }
    bool canUndo() const override { return hasUndo_; }
    void layoutControls() override;

private:
    void buildControls();
    void buildMenus();
    // What a row shows: copied from the catalogue, which a deletion holds while the list draws.
    struct Row {
        std::string key;
        QString directory;
        QString title;
        QString borrowed;
        bool isActive = false;
        bool isDefault = false;
    };
    static Row rowOf(const std::string& key, const Aircraft& aircraft);
    QVariant cell(int row, int column, int role) const;
    Aircraft& aircraftOf(int row);
    // The selected rows, top to bottom.
    std::vector<int> selectedRows() const;
    void indexRows();
    void showActivate(const Aircraft& aircraft);
    // The aircraft of `key` as messages name it: folder and title.
    std::string nameOf(const std::string& key) const;
    // Some aircraft's switch is not on disk yet.
    bool anySwitchPending() const;
    // setActivate, with the user told of a failure.
    bool writeSwitches();
    // After a write to the disk: keeps the undo record while the disk still holds what it
    // recorded, without the aircraft that are gone.
    void keepUndoWhileDiskMatches();
    struct Deletion;
    // On the window's thread once the work has ended: rows, flags and the failure message.
    void finishDeletion(const std::vector<std::string>& keys, Deletion deletion);
    void setDeleting(bool isDeleting);
    void showDeletionProgress(qint64 done, qint64 total, const QString& name);

    std::unique_ptr<AircraftList> aircrafts_;
    bool isChanged_ = false;
    std::optional<KeyedCollection<Aircraft>> undoInfo_;
    bool hasUndo_ = false;
    bool wasChangedBefore_ = false;
    bool isEditDefPermitted_ = false;
    bool isDeleteGaugesPermitted_ = false;
    // The rows of aircraftList_, in its order, and each one's place under its key.
    std::vector<Row> rows_;
    KeyedCollection<int> rowIndex_;
    RowTableModel* rowModel_ = nullptr;

    QLabel* installedCaption_ = nullptr;
    QTreeView* aircraftList_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;

    QAction* activeAction_ = nullptr;
    QAction* editDefAircraftAction_ = nullptr;
    QAction* deleteGaugesAction_ = nullptr;

    bool isDeleting_ = false;
    // A closing asked for while deleting, with its result.
    std::optional<int> closeAfterDeletion_;
    // Last: it goes first, waiting for a deletion that still uses aircrafts_.
    BackgroundWork work_;
};

} // namespace vokari::ui
