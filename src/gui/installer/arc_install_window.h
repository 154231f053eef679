#pragma once

#include "gui/kit/background_work.h"
#include "gui/kit/tool_window.h"
#include "installer/cfs_arc_list.h"
#include "installer/execute.h"

#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTreeView;

namespace vokari::ui {

class ArcFileModel;

// "CFSファイルインストール": opens an add-on package (dropped, or through the file dialog),
// lists where each of its files goes in the game folder, reads archives nested in it, lets the
// user change destinations and view files, and unpacks it.
class ArcInstallWindow : public ToolWindow, public FileOpeningWindow {
    Q_OBJECT

public:
    // version: the game chosen in the launcher.
    explicit ArcInstallWindow(int16_t version, QWidget* parent = nullptr);
    ~ArcInstallWindow() override;

    // Dropped files: the first one is opened. While a command of the window runs (unpacking,
    // or a question or dialog of one is open), it waits until the command has ended.
    void openFiles(const QStringList& files) override;
    // As a dropped file; brings the window to the front when it opens it. Of the packages
    // handed over while a command runs, the last one opens once it has ended: each opening
    // replaces the list, so the earlier ones would only be asked about and replaced.
    void openHandedOver(const QString& file) override;
    void openWithDialog();
    void extractAll();
    void chooseExtractFolder();
    void searchExtractFolder();
    void viewSelectedFiles();
    // The history window of the game, with entry `entry` selected when it is not 0.
    void openHistory(int64_t entry = 0);

    // Closing waits for the running command to end.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void layoutControls() override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class CommandScope;

    // No command runs: nothing holds the list.
    bool isIdle() const { return !busy_ && commandDepth_ == 0; }
    void openWaitingPackage();
    void openPackage(const QString& path);
    // Where the file dialog starts: the folder a package was last chosen in, else the user's
    // downloads, else home.
    QString dialogFolder() const;
    void rememberFolder(const QString& file) const;
    void showHistory(int64_t entry);
    void buildControls();
    void buildMenus();
    bool openArchiveFile(const std::string& path);
    bool libraryReady(const std::string& upperExtension);
    bool versionAccepted();
    void openNestedArchives();
    void showEntries();
    void setArchiveOpen(bool open);
    void closePackage();
    void setBusy(bool busy);
    void reportExtraction(int32_t result, size_t done, size_t total, int64_t journalBefore);
    // The newest entry of the game's change journal, 0 when none.
    int64_t newestJournalEntry() const;
    void popUpMenu(const QPoint& globalPos);
    // The selected rows, top to bottom.
    QList<int> selectedRows() const;
    // The entry of the list being installed that `row` shows; null when the rows show another.
    CfsArcFile* entryOf(int row) const;
    // `lead`, the package or file it is about, and why.
    void fail(const QString& lead, const QString& file, const QString& cause);

    // Shared with the rows, which show the previous package until the next one is read.
    std::shared_ptr<CfsArcList> arcList_;
    int16_t cfsVersion_ = 0;
    std::string cfsPath_;
    std::unique_ptr<Execute> executor_;
    bool zipAvailable_ = false;
    bool lhaAvailable_ = false;
    bool archiveOpen_ = false;
    bool busy_ = false;
    // Commands under way; while one is, its questions and dialogs may be open.
    int commandDepth_ = 0;
    // Handed over while a command ran.
    QString waitingPackage_;
    // Unpacks the list above: declared after it, so that it goes first.
    BackgroundWork work_;

    QLabel* arcPathCaption_ = nullptr;
    QLabel* arcFilePathLabel_ = nullptr;
    QLabel* installPathCaption_ = nullptr;
    QLabel* cfsPathLabel_ = nullptr;
    QLabel* fileListCaption_ = nullptr;
    QTreeView* arcFileList_ = nullptr;
    ArcFileModel* fileModel_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* zipStatus_ = nullptr;
    QLabel* lhaStatus_ = nullptr;

    QAction* extractDirAction_ = nullptr;
    QAction* searchFileAction_ = nullptr;
    QAction* viewAction_ = nullptr;
    QAction* extractAction_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QAction* popupOpenAction_ = nullptr;
    QAction* popupExtractDirAction_ = nullptr;
    QAction* popupSearchFileAction_ = nullptr;
    QAction* popupViewAction_ = nullptr;
};

} // namespace vokari::ui
