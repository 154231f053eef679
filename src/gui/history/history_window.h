#pragma once

#include "gui/kit/background_work.h"
#include "gui/kit/tool_window.h"
#include "journal/change_journal.h"
#include "journal/undo.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace vokari::ui {

// "変更履歴": the change journal of the chosen game's folder, newest first. A selected entry
// shows its files; Undo takes it back, after one question that lists what it will remove and
// put back, and then tells what it did and what it left alone.
class HistoryWindow : public ToolWindow {
    Q_OBJECT

public:
    // version: the game chosen in the launcher.
    explicit HistoryWindow(int16_t version, QWidget* parent = nullptr);
    ~HistoryWindow() override;

    // Reads the journal again, keeping the selected entry selected.
    void refresh();
    // Selects entry `id` when it is listed.
    void selectEntry(int64_t id);
    // Takes the selected entry back (asks first).
    void undoSelected();

    // Closing waits for an undo to end.
    void done(int result) override;

private:
    void showFiles();
    void updateUndo();
    const JournalEntry* selectedEntry() const;
    QString entryLine(int64_t id) const;
    QStringList itemLines(const std::vector<UndoItem>& items, bool done) const;
    void report(const UndoReport& result);
    void setBusy(bool busy);

    std::unique_ptr<ChangeJournal> journal_; // null when the game is not installed
    std::vector<JournalEntry> entries_;      // newest first, as listed
    bool busy_ = false;
    // Runs the undo on the journal above: declared after it, so that it goes first.
    BackgroundWork work_;

    QLabel* folderLabel_ = nullptr;
    QLabel* entriesCaption_ = nullptr;
    QTreeWidget* entryList_ = nullptr;
    QTreeWidget* fileList_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* undoButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QAction* undoAction_ = nullptr;
};

} // namespace vokari::ui
