#pragma once

#include "gui/kit/tool_window.h"
#include "installer/cfs_arc_list.h"
#include "installer/execute.h"

#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace vokari::ui {

// "CFSファイルインストール": opens an add-on package (dropped, or through the file dialog),
// lists where each of its files goes in the game folder, reads archives nested in it, lets the
// user change destinations and view files, and unpacks it.
class FrmArcInstall : public QDialog, public FileOpeningWindow {
    Q_OBJECT

public:
    // pVer: the game chosen in the launcher.
    explicit FrmArcInstall(int16_t pVer, QWidget* parent = nullptr);
    ~FrmArcInstall() override;

    // Dropped files: the first one is opened.
    void openFiles(const QStringList& files) override;
    void openWithDialog();
    void extractAll();
    void chooseExtractFolder();
    void searchExtractFolder();
    void viewSelectedFiles();

    // Closing waits for unpacking to end.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void layoutControls();
    bool openArchiveFile(const std::string& path);
    bool libraryReady(const std::string& upperExtension);
    bool versionAccepted();
    void openNestedArchives();
    void showEntries();
    void showRow(QTreeWidgetItem* row, const ClsCfsArcFile& entry, const std::string& path);
    void setArchiveOpen(bool open);
    void closePackage();
    void setBusy(bool busy);
    void reportExtraction(int32_t result, size_t done, size_t total);
    void popUpMenu(const QPoint& globalPos);
    void showAbout();
    QList<QTreeWidgetItem*> selectedRows() const;
    ClsCfsArcFile* entryOf(const QTreeWidgetItem* row);
    void fail(const QString& lead, const std::string& reason);

    std::unique_ptr<ClsCfsArcList> arcList;
    int16_t cfsVersion = 0;
    std::string cfsPath;
    std::unique_ptr<ClsExecute> executor;
    bool zipAvailable = false;
    bool lhaAvailable = false;
    bool archiveOpen = false;
    bool busy_ = false;

    QMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr; // the inside of the window, below the menus
    QToolBar* TBar = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* LblArcFilePath = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* LblCfsPath = nullptr;
    QLabel* Label1 = nullptr;
    QTreeWidget* LstArcFiles = nullptr;
    QStatusBar* StBar = nullptr;
    QLabel* StBarZip = nullptr;
    QLabel* StBarLha = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFile_Open = nullptr;
    QAction* mnuFile_Exit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEdit_ExtractDir = nullptr;
    QAction* mnuEdit_SearchFile = nullptr;
    QAction* mnuEdit_View = nullptr;
    QAction* mnuEdit_Extract = nullptr;
    QMenu* mnuPopup = nullptr;
    QAction* mnuPopup_Open = nullptr;
    QAction* mnuPopup_ExtractDir = nullptr;
    QAction* mnuPopup_SearchFile = nullptr;
    QAction* mnuPopup_View = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelp_Ver = nullptr;
};

} // namespace vokari::ui
