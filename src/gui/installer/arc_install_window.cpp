#include "gui/installer/arc_install_window.h"

#include "common/file_helpers.h"
#include "common/prompt.h"
#include "frame/installation.h"
#include "frame/settings_file.h"
#include "gui/history/history_window.h"
#include "gui/installer/arc_file_model.h"
#include "gui/installer/dir_dialog.h"
#include "gui/installer/find_files_dialog.h"
#include "gui/installer/text_view_dialog.h"
#include "gui/kit/failure_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/open_file_dialog.h"
#include "gui/kit/tool_window.h"
#include "installer/arc_result.h"
#include "installer/archiver.h"
#include "installer/archiver_availability.h"
#include "installer/nested_archives.h"
#include "installer/package_view.h"
#include "journal/change_journal.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"
#include "platform/text.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>

namespace vokari::ui {
namespace {

// Where the form puts its labels and the list, in pixels of the window's inside.
constexpr int kLeft = 8;
constexpr int kValueLeft = 130;
constexpr int kPathTop = 36;
constexpr int kCfsTop = 54;
constexpr int kLabel1Top = 74;
constexpr int kListTop = 92;
constexpr int kListWidthMargin = 20;
constexpr int kListBottomMargin = 4;

// VOKARI.INI, the window's section: the folder a package was last chosen in.
constexpr const char* kLastFolderKey = "LAST_FOLDER";

// How many unpacking failures a message lists by name.
constexpr size_t kFailuresListed = 20;

// Paths are shown as the user finds them on this system, shortened in the middle to the label's
// width; the whole path is the tool tip.
void showPath(QLabel* label, const QString& path) {
    label->setToolTip(path);
    label->setText(label->width() > 0
                       ? label->fontMetrics().elidedText(path, Qt::ElideMiddle, label->width())
                       : path);
}

QString lines(std::initializer_list<QString> parts) {
    QStringList list(parts);
    return list.join(QStringLiteral("\r\n"));
}

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

QString damagedText() {
    return ArcInstallWindow::tr("圧縮ファイル内のデータが壊れています。");
}

// Why a package, or a file of it, could not be read or shown: `error` worded in the window's
// language, else the core's own words.
QString causeText(const std::exception_ptr& error, const std::string& reason) {
    if (!error)
        return qs(reason);
    try {
        std::rethrow_exception(error);
    } catch (const NotAnArchiveError& e) {
        switch (e.kind()) {
        case ArchiveKind::Zip:
            return ArcInstallWindow::tr("ZIP 形式の圧縮ファイルとして開けません。");
        case ArchiveKind::Lha:
            return ArcInstallWindow::tr("LHA 形式の圧縮ファイルとして開けません。");
        case ArchiveKind::None:
            break;
        }
        return ArcInstallWindow::tr("ZIP 形式、LHA 形式のどちらの圧縮ファイルも見つかりません。");
    } catch (const KeyError&) {
        return ArcInstallWindow::tr("同じパスのファイルが複数含まれています。");
    } catch (const EntryError&) {
        return damagedText();
    } catch (const std::exception& e) {
        return failureText(e);
    } catch (...) {
        return qs(reason);
    }
}

// The system's reason for the error `error` was raised on behalf of; 0 when none.
int nestedErrorNumber(const std::exception_ptr& error) {
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const std::exception& e) {
        try {
            std::rethrow_if_nested(e);
        } catch (const IoError& cause) {
            return cause.errorNumber();
        } catch (...) {
        }
    } catch (...) {
    }
    return 0;
}

// Why an entry was not unpacked, when the core says what kind of failure it was; else empty.
QString problemText(const ExtractionFailure& failure) {
    switch (failure.problem) {
    case ExtractionProblem::Other:
        break;
    case ExtractionProblem::Damaged:
        return damagedText();
    case ExtractionProblem::Changed:
        return ArcInstallWindow::tr(
            "圧縮ファイルが読み込んだ後で変更されています。開き直してください。");
    case ExtractionProblem::Link:
        return ArcInstallWindow::tr("シンボリックリンクは解凍しません。");
    case ExtractionProblem::HardLink:
        return ArcInstallWindow::tr("ハードリンクは解凍しません。");
    case ExtractionProblem::Device:
        return ArcInstallWindow::tr("デバイスなどの特殊なファイルは解凍しません。");
    case ExtractionProblem::BadName:
        return ArcInstallWindow::tr("ファイル名として使えない名前です。");
    case ExtractionProblem::OutsideGame:
        return ArcInstallWindow::tr("解凍先がゲームのフォルダの外です。");
    case ExtractionProblem::BadFolderName:
        return ArcInstallWindow::tr("解凍先のフォルダ名に使えない文字があります。");
    case ExtractionProblem::BackupName:
        return ArcInstallWindow::tr("バックアップ (.bak、.org) と同じ名前なので解凍しません。");
    case ExtractionProblem::BackupNotAFile:
        return ArcInstallWindow::tr(
            "バックアップ (.bak) "
            "の名前のものがファイルでないので、元のファイルをそのままにしました。");
    case ExtractionProblem::NoBackup:
        if (const int err = nestedErrorNumber(failure.error))
            return ArcInstallWindow::tr(
                       "バックアップ (.bak) を作れないので、元のファイルをそのままにしました。%1")
                .arg(systemReasonText(err));
        return ArcInstallWindow::tr(
            "バックアップ (.bak) を作れないので、元のファイルをそのままにしました。");
    case ExtractionProblem::SameTarget:
        return ArcInstallWindow::tr("同じ場所に解凍されるファイルがほかにあります。");
    }
    return {};
}

QString causeText(const ExtractionFailure& failure) {
    const QString problem = problemText(failure);
    return problem.isEmpty() ? causeText(failure.error, failure.reason) : problem;
}

// One line of the unpacking report: the entry and why it was not unpacked.
QString failureLine(const ExtractionFailure& failure) {
    if (failure.fullPath.empty())
        return causeText(failure);
    QString reason = problemText(failure);
    if (reason.isEmpty()) {
        reason = qs(failure.reason);
        try {
            if (failure.error)
                std::rethrow_exception(failure.error);
        } catch (const NotAnArchiveError&) {
            reason = causeText(failure.error, failure.reason);
        } catch (const FormatError&) {
            reason = ArcInstallWindow::tr("圧縮ファイルを読み取れません。");
        } catch (const IoError& e) {
            if (e.errorNumber() != 0)
                reason = systemReasonText(e.errorNumber());
        } catch (...) {
        }
    }
    return qs(failure.fullPath) + QStringLiteral(": ") + reason;
}

} // namespace

// Held for the whole of a command. A package handed over meanwhile waits, and opens once the
// command has ended and the window is free again.
class ArcInstallWindow::CommandScope {
public:
    explicit CommandScope(ArcInstallWindow& window) : window_(window) { ++window_.commandDepth_; }
    ~CommandScope() {
        if (--window_.commandDepth_ == 0 && !window_.waitingPackage_.isEmpty())
            // After the command has returned all the way.
            QMetaObject::invokeMethod(
                &window_, [window = &window_] { window->openWaitingPackage(); },
                Qt::QueuedConnection);
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    ArcInstallWindow& window_;
};

ArcInstallWindow::ArcInstallWindow(int16_t version, QWidget* parent)
    : ToolWindow(QStringLiteral("FrmArcInstall"), tr("CFSファイルインストール"), Frame::Menus,
                 parent),
      executor_(std::make_unique<Execute>()) {
    setAcceptDrops(true);
    buildControls();
    buildMenus();

    cfsVersion_ = version;
    cfsPath_ = gameFolder(version);
    executor_->setEventPump([] { QCoreApplication::processEvents(); });
    zipAvailable_ = isZipAvailable();
    lhaAvailable_ = isLhaAvailable();
    zipStatus_->setText(zipAvailable_ ? tr("ZIP : 使用可") : tr("ZIP : 使用不可"));
    lhaStatus_->setText(lhaAvailable_ ? tr("LHA : 使用可") : tr("LHA : 使用不可"));
    showPath(cfsPathLabel_, qs(platform::displayPath(cfsPath_)));
    setArchiveOpen(false);
}

ArcInstallWindow::~ArcInstallWindow() = default;

void ArcInstallWindow::buildControls() {
    addToolBar("TBar");
    addToolButton("TBarOpen", QStyle::SP_DialogOpenButton, tr("圧縮ファイルを開く"),
                  [this] { openWithDialog(); });
    toolBar()->addSeparator();
    addToolButton("TBarExtractDir", QStyle::SP_DirIcon, tr("解凍先のフォルダを指定する"),
                  [this] { chooseExtractFolder(); });
    addToolButton("TBarSearchFile", QStyle::SP_FileDialogContentsView,
                  tr("選択したファイルの解凍先を検索する"), [this] { searchExtractFolder(); });
    toolBar()->addSeparator();
    addToolButton("TBarView", QStyle::SP_FileDialogDetailedView,
                  tr("選択したファイルの内容を表示する"), [this] { viewSelectedFiles(); });
    toolBar()->addSeparator();
    addToolButton("TBarExtract", QStyle::SP_ArrowDown, tr("解凍する"), [this] { extractAll(); });

    const auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, client());
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    arcPathCaption_ = label("Label3", tr("圧縮ファイルパス"));
    arcFilePathLabel_ = label("LblArcFilePath", QString());
    installPathCaption_ = label("Label2", tr("CFSインストール先"));
    cfsPathLabel_ = label("LblCfsPath", QString());
    fileListCaption_ = label("Label1", tr("ファイル一覧（ ↓ ここにZIP / LHA "
                                          "形式のファイルをドラッグ＆ドロップしてください）"));

    arcFileList_ = new QTreeView(client());
    arcFileList_->setObjectName(QStringLiteral("LstArcFiles"));
    arcFileList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    arcFileList_->setRootIsDecorated(false);
    arcFileList_->setItemsExpandable(false);
    arcFileList_->setUniformRowHeights(true);
    arcFileList_->setAllColumnsShowFocus(true);
    arcFileList_->header()->setStretchLastSection(false);
    fileModel_ = new ArcFileModel(this);
    arcFileList_->setModel(fileModel_);
    setColumnWidths(arcFileList_, {120, 180, 40, 200});
    // No narrower than the caption, nor than the marks in the install column.
    fitColumnsToCaptions(arcFileList_);
    const QFontMetrics metrics = arcFileList_->fontMetrics();
    const int marks = std::max(metrics.horizontalAdvance(ArcFileModel::overwriteMark()),
                               metrics.horizontalAdvance(ArcFileModel::addMark())) +
                      2 * metrics.averageCharWidth();
    arcFileList_->setColumnWidth(ArcFileModel::Install,
                                 std::max(arcFileList_->columnWidth(ArcFileModel::Install), marks));
    // Packages dropped on the list go to the window.
    arcFileList_->setAcceptDrops(false);
    arcFileList_->viewport()->setAcceptDrops(false);
    arcFileList_->viewport()->installEventFilter(this);
    connect(arcFileList_, &QTreeView::doubleClicked, this, [this] { viewSelectedFiles(); });

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StBar"));
    statusBar_->setSizeGripEnabled(false);
    zipStatus_ = new QLabel(statusBar_);
    zipStatus_->setObjectName(QStringLiteral("StBarZip"));
    lhaStatus_ = new QLabel(statusBar_);
    lhaStatus_->setObjectName(QStringLiteral("StBarLha"));
    statusBar_->addWidget(zipStatus_, 1);
    statusBar_->addWidget(lhaStatus_, 1);
    layout()->addWidget(statusBar_); // below the client area
}

void ArcInstallWindow::buildMenus() {
    const auto addEntry = [this](QMenu* menu, const char* name, const QString& caption, auto action,
                                 const QKeySequence& shortcut = {}) {
        // After the menu has closed: every command may ask or open a dialog.
        return addMenuEntry(this, menu, name, caption, shortcut, [this, action] {
            QMetaObject::invokeMethod(this, action, Qt::QueuedConnection);
        });
    };
    const auto open = [this] { openWithDialog(); };
    const auto extractDir = [this] { chooseExtractFolder(); };
    const auto searchFile = [this] { searchExtractFolder(); };
    const auto view = [this] { viewSelectedFiles(); };

    QMenu* fileMenu = addFileMenu();
    addEntry(fileMenu, "mnuFile_Open", tr("開く(&O)"), open, QKeySequence::Open);
    addEntry(fileMenu, "mnuFile_History", tr("変更履歴(&H)..."), [this] { openHistory(); });
    addExitEntry(fileMenu, QKeySequence::Close);

    QMenu* editMenu = addEditMenu();
    extractDirAction_ =
        addEntry(editMenu, "mnuEdit_ExtractDir", tr("解凍先ディレクトリの指定(&D)"), extractDir);
    searchFileAction_ = addEntry(editMenu, "mnuEdit_SearchFile",
                                 tr("選択したファイルの解凍先を検索(&F)"), searchFile);
    addMenuSeparator(editMenu, "mnuEdit_sep1");
    viewAction_ = addEntry(editMenu, "mnuEdit_View", tr("選択したファイルの内容を表示(&V)"), view);
    addMenuSeparator(editMenu, "mnuEdit_sep2");
    extractAction_ =
        addEntry(editMenu, "mnuEdit_Extract", tr("解凍(&E)"), [this] { extractAll(); });
    connect(editMenu, &QMenu::aboutToShow, this, [this] { setArchiveOpen(archiveOpen_); });

    popupMenu_ = new QMenu(tr("右クリック"), this);
    popupMenu_->setObjectName(QStringLiteral("mnuPopup"));
    popupOpenAction_ = addEntry(popupMenu_, "mnuPopup_Open", tr("開く"), open);
    addMenuSeparator(popupMenu_, "mnuPopup_sep1");
    popupExtractDirAction_ =
        addEntry(popupMenu_, "mnuPopup_ExtractDir", tr("解凍先ディレクトリの指定"), extractDir);
    popupSearchFileAction_ = addEntry(popupMenu_, "mnuPopup_SearchFile",
                                      tr("選択したファイルの解凍先を検索"), searchFile);
    addMenuSeparator(popupMenu_, "mnuPopup_sep2");
    popupViewAction_ =
        addEntry(popupMenu_, "mnuPopup_View", tr("選択したファイルの内容を表示"), view);

    addHelpMenu(Qt::QueuedConnection);
}

void ArcInstallWindow::setArchiveOpen(bool open) {
    archiveOpen_ = open;
    for (QAction* command : {extractDirAction_, searchFileAction_, viewAction_, extractAction_,
                             popupExtractDirAction_, popupSearchFileAction_, popupViewAction_})
        command->setEnabled(open);
}

void ArcInstallWindow::closePackage() {
    arcList_.reset();
    fileModel_->setList(nullptr);
    showPath(arcFilePathLabel_, QString());
    setArchiveOpen(false);
}

void ArcInstallWindow::fail(const QString& lead, const QString& file, const QString& cause) {
    QStringList text{lead};
    // A reason about the file itself names it already.
    if (!cause.contains(file))
        text << tr("ファイル名：") + file;
    text << cause;
    showMessage(us(windowTitle()), us(text.join(QStringLiteral("\r\n"))), PromptIcon::Error);
}

// --- opening ---------------------------------------------------------------------------------

void ArcInstallWindow::openFiles(const QStringList& files) {
    if (files.isEmpty())
        return;
    if (!isIdle()) {
        waitingPackage_ = files.first();
        return;
    }
    const CommandScope command(*this);
    openPackage(files.first());
}

void ArcInstallWindow::openHandedOver(const QString& file) {
    if (!isIdle()) {
        waitingPackage_ = file;
        return;
    }
    raise();
    activateWindow();
    openFiles({file});
}

void ArcInstallWindow::openWaitingPackage() {
    if (!isIdle() || waitingPackage_.isEmpty())
        return; // the command under way opens it when it ends
    openHandedOver(std::exchange(waitingPackage_, QString()));
}

void ArcInstallWindow::openPackage(const QString& path) {
    try {
        if (!openArchiveFile(us(path)))
            return;
        openNestedArchives();
        if (!archiveOpen_)
            return;
        showEntries();
        showPath(
            arcFilePathLabel_,
            qs(platform::utf8Of(
                std::filesystem::absolute(platform::pathFromUtf8(us(path))).lexically_normal())));
    } catch (const std::exception& e) {
        fail(tr("ファイルの読み込みに失敗しました"), path, failureText(e));
    }
}

void ArcInstallWindow::openWithDialog() {
    if (!isIdle())
        return;
    const CommandScope command(*this);
    QString filter;
    if (zipAvailable_ && lhaAvailable_)
        filter = tr("対応する全てのファイル (*.zip *.lzh *.exe);;ZIPアーカイブ (*.zip *.exe);;"
                    "LHAアーカイブ (*.lzh *.exe)");
    else if (zipAvailable_)
        filter = tr("ZIPアーカイブ (*.zip *.exe)");
    else if (lhaAvailable_)
        filter = tr("LHAアーカイブ (*.lzh *.exe)");
    else
        filter = tr("ZIPファイル (*.ZIP)");
    OpenFileDialog dialog(this, tr("アーカイブファイルを指定してください"), dialogFolder(), filter);
    dialog.exec();
    const QString file = dialog.chosenFile();
    if (file.isEmpty())
        return;
    rememberFolder(file);
    openPackage(file);
}

QString ArcInstallWindow::dialogFolder() const {
    const QString saved = qs(readSetting(us(objectName()), kLastFolderKey));
    if (!saved.isEmpty() && QFileInfo(saved).isDir())
        return saved;
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (!downloads.isEmpty() && QFileInfo(downloads).isDir())
        return downloads;
    return QDir::homePath();
}

void ArcInstallWindow::rememberFolder(const QString& file) const {
    const std::string folder = us(QFileInfo(file).absolutePath());
    // A folder the settings file cannot hold (it is in the game's code page, one line a key)
    // is not kept.
    if (folder.find_first_of("\r\n") == std::string::npos &&
        platform::unencodableCharacters(folder).empty())
        writeSetting(us(objectName()), kLastFolderKey, folder);
}

bool ArcInstallWindow::libraryReady(const std::string& x) {
    const QString title = windowTitle();
    if (x == "ZIP" && !zipAvailable_) {
        showMessage(us(title),
                    us(lines({tr("UNZIP32.DLLが見つかりません。"),
                              tr("この機能を使用するにはUNZIP32.DLLをインストールしてください｡")})),
                    PromptIcon::Error);
        return false;
    }
    if (x == "LZH" && !lhaAvailable_) {
        showMessage(us(title),
                    us(lines({tr("UNLHA32.DLLが見つかりません。"),
                              tr("この機能を使用するにはUNLHA32.DLLをインストールしてください｡")})),
                    PromptIcon::Error);
        return false;
    }
    return true;
}

bool ArcInstallWindow::versionAccepted() {
    if (cfsVersion_ >= arcList_->minimumVersion())
        return true;
    const PromptAnswer answer =
        askQuestion(us(windowTitle()),
                    us(lines({tr("このファイルは選択しているCFSのバージョンでは"),
                              tr("動作しない可能性があります。"), tr("継続しますか？")})),
                    PromptButtons::YesNo, PromptAnswer::Yes, PromptIcon::None);
    if (answer == PromptAnswer::Yes)
        return true;
    closePackage();
    return false;
}

// Reads a package into a new list. One that cannot be read is reported and leaves the package
// shown before as it was. (Nested archives are read into the same list by openNestedArchives.)
bool ArcInstallWindow::openArchiveFile(const std::string& path) {
    const std::string x = upper(fileExtension(path));
    if (!libraryReady(x))
        return false;
    if (x != "ZIP" && x != "LZH" && x != "EXE") {
        showMessage(us(windowTitle()),
                    us(lines({tr("このファイルはサポートされている形式ではありません。"),
                              tr("ファイル名：") + qs(path)})),
                    PromptIcon::Error);
        return false;
    }
    auto list = std::make_shared<CfsArcList>();
    list->setVersion(cfsVersion_);
    const int32_t result = list->readArchive(0, path);
    if (result != kArcOk || !list->readProblem().empty()) {
        fail(tr("ファイルの読み込みに失敗しました"), qs(path),
             causeText(list->readError(), list->readProblem()));
        return false;
    }
    arcList_ = std::move(list);
    if (!versionAccepted())
        return false;
    setArchiveOpen(true);
    return true;
}

void ArcInstallWindow::openNestedArchives() {
    if (!arcList_ || !arcList_->hasArchive())
        return;
    const std::vector<const CfsArcFile*> archives = nestedArchives(*arcList_);
    if (archives.empty())
        return;
    const PromptAnswer answer =
        askQuestion(us(windowTitle()),
                    us(lines({tr("この圧縮ファイル内に、さらに%1個の圧縮ファイルが存在します。")
                                  .arg(archives.size()),
                              tr("ファイルを展開しますか？")})),
                    PromptButtons::YesNo, PromptAnswer::Yes, PromptIcon::Question);
    if (answer != PromptAnswer::Yes)
        return;
    for (const CfsArcFile* archive : archives) {
        if (!libraryReady(upper(archive->extention())))
            continue;
        ExtractionFailure failure;
        if (readNestedArchive(*arcList_, 0, *archive, nullptr, &failure) != kArcOk ||
            !failure.reason.empty()) {
            fail(tr("ファイルの読み込みに失敗しました"), qs(failure.fullPath), causeText(failure));
            continue;
        }
        // Asked again after each archive: the list keeps the highest version it needs.
        if (!versionAccepted())
            return;
    }
}

void ArcInstallWindow::showEntries() {
    fileModel_->setList(arcList_);
}

QList<int> ArcInstallWindow::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& row : arcFileList_->selectionModel()->selectedRows())
        rows.append(row.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

CfsArcFile* ArcInstallWindow::entryOf(int row) const {
    if (!arcList_ || fileModel_->list() != arcList_.get())
        return nullptr;
    return fileModel_->entry(row);
}

// --- destinations and viewing ----------------------------------------------------------------

void ArcInstallWindow::chooseExtractFolder() {
    if (!isIdle())
        return;
    const CommandScope command(*this);
    setCursor(Qt::WaitCursor);
    DirDialog picker(this);
    std::string root = cfsPath_;
    if (!root.empty() && root.back() == '\\')
        root.pop_back();
    picker.load(cfsPath_, qs(lastPathElement(root)), tr("解凍先ディレクトリを指定してください。"));
    picker.exec();
    unsetCursor();
    if (picker.isCancelled())
        return;
    std::string path = picker.selectedPath();
    if (!path.empty())
        path += '\\';
    for (const int row : selectedRows()) {
        CfsArcFile* entry = entryOf(row);
        if (!entry)
            continue;
        entry->setShouldInstall(true);
        entry->setInstallPath(path);
        fileModel_->showInstallPath(row);
    }
}

void ArcInstallWindow::searchExtractFolder() {
    if (!isIdle())
        return;
    const CommandScope command(*this);
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    CfsArcFile* entry = entryOf(rows.first());
    if (!entry)
        return;
    FindFilesDialog finder(this);
    finder.initFindFiles(tr("ファイルの解凍先を指定してください"), false, cfsPath_,
                         entry->fileName());
    finder.exec();
    const std::string found = finder.resultFindFile();
    if (found.empty())
        return;
    const std::string path = found.substr(0, found.size() - entry->fileName().size());
    entry->setShouldInstall(true);
    entry->setInstallPath(path);
    entry->setDefaultInstallPath(path);
    fileModel_->showInstallPath(rows.first());
}

void ArcInstallWindow::viewSelectedFiles() {
    if (!isIdle() || !arcList_ || fileModel_->rowCount() == 0)
        return;
    // Opening a file runs the window's events while the desktop looks for a program.
    const CommandScope command(*this);
    const std::string work = workDirectory();
    for (const int row : selectedRows()) {
        const CfsArcFile* entry = entryOf(row);
        if (!entry)
            continue;
        const ViewKind kind = viewKindOf(entry->fullPath());
        if (kind == ViewKind::Nothing)
            continue;
        const QString name = qs(entry->fullPath());
        if (arcList_->extractArchive(0, entry->fullPath(), work) != kArcOk) {
            const auto& failures = arcList_->extractionFailures();
            fail(tr("ファイルを表示できませんでした。"), name,
                 failures.empty() ? QString() : causeText(failures.front()));
            continue;
        }
        const std::string file = joinPath(work, entry->fileName());
        if (kind == ViewKind::Text) {
            try {
                auto* viewer =
                    new TextViewDialog(qs(entry->fileName()), qs(readViewText(file)), this);
                viewer->show();
            } catch (const std::exception& e) {
                fail(tr("ファイルを表示できませんでした。"), name, failureText(e));
            }
        } else if (!executor_->shellX(file, 1, 0, false)) {
            fail(tr("ファイルを表示できませんでした。"), name,
                 tr("この種類のファイルを開くプログラムがありません。"));
        }
    }
}

// --- unpacking -------------------------------------------------------------------------------

void ArcInstallWindow::extractAll() {
    if (!archiveOpen_ || !arcList_ || !isIdle())
        return;
    const CommandScope command(*this);
    const std::string title = us(windowTitle());
    if (arcList_->hasOverwriteFiles()) {
        const PromptAnswer answer =
            askQuestion(title,
                        us(lines({tr("解凍を実行した場合に上書きされるファイルが存在します。"),
                                  tr("上書きしますか？"), tr("　[はい]を選択すると上書きします。"),
                                  tr("　[いいえ]を選択すると上書きしないファイルのみ解凍します。"),
                                  tr("　[キャンセル]を選択すると解凍しません。")})),
                        PromptButtons::YesNoCancel, PromptAnswer::Yes, PromptIcon::Question);
        if (answer == PromptAnswer::Cancel)
            return;
        arcList_->setShouldOverwrite(answer == PromptAnswer::Yes);
    } else if (askQuestion(title, us(tr("解凍を実行しますか？")), PromptButtons::OkCancel,
                           PromptAnswer::Ok) == PromptAnswer::Cancel) {
        return;
    }

    QProgressDialog progress(tr("解凍しています..."), tr("キャンセル"), 0, 0, this);
    progress.setObjectName(QStringLiteral("PrgBar"));
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    connect(&progress, &QProgressDialog::canceled, this, [this, &progress] {
        work_.cancel();
        progress.setLabelText(tr("中止しています..."));
    });
    connect(&work_, &BackgroundWork::progressed, &progress,
            [&progress](qint64 done, qint64 total, const QString& name) {
                progress.setMaximum(static_cast<int>(total));
                progress.setValue(static_cast<int>(done));
                progress.setLabelText(QStringLiteral("%1 / %2\n%3").arg(done).arg(total).arg(name));
            });

    // Unpacking runs off the window's thread; the window only shows how far it is.
    struct Outcome {
        int32_t result = kArcOk;
        size_t done = 0;
        size_t total = 0;
    };
    Outcome outcome;
    const int64_t journalBefore = newestJournalEntry();
    setBusy(true);
    try {
        outcome = work_.run([list = arcList_.get(), work = &work_] {
            Outcome reached;
            reached.result = list->extractArchives(
                0, [&reached, work](size_t done, size_t total, const CfsArcFile& next) {
                    reached.done = done;
                    reached.total = total;
                    if (work->isCancelled())
                        return false;
                    work->reportProgress(static_cast<qint64>(done), static_cast<qint64>(total),
                                         qs(next.fullPath()));
                    return true;
                });
            if (reached.result != kArcStopped)
                reached.done = reached.total;
            return reached;
        });
    } catch (...) {
        // Not worded on its own: the report names the list's failures, else says some were
        // not unpacked.
        outcome = Outcome{kArcOtherError, 0, 0};
    }
    progress.close();
    setBusy(false);

    // The files now on disk change what replacing means.
    fileModel_->refreshMarks();
    reportExtraction(outcome.result, outcome.done, outcome.total, journalBefore);
}

int64_t ArcInstallWindow::newestJournalEntry() const {
    if (cfsPath_.empty())
        return 0;
    const std::vector<JournalEntry> entries = ChangeJournal(platform::hostPath(cfsPath_)).entries();
    return entries.empty() ? 0 : entries.back().id;
}

void ArcInstallWindow::reportExtraction(int32_t result, size_t done, size_t total,
                                        int64_t journalBefore) {
    const std::vector<ExtractionFailure>& failures = arcList_->extractionFailures();
    const QString leftovers = leftoversText(arcList_->leftoversRemoved());
    // What was done, so that an install that wrote nothing does not read as one that did.
    const ExtractionCounts& counts = arcList_->extractionCounts();
    QStringList countLines{tr("書き込んだファイル: %n 個", nullptr, int(counts.written))};
    if (counts.skipped > 0)
        countLines << tr("すでにあったのでそのままにしたファイル: %n 個", nullptr,
                         int(counts.skipped));
    if (!failures.empty())
        countLines << tr("解凍できなかったファイル: %n 個", nullptr, int(failures.size()));
    if (result == kArcOk && failures.empty()) {
        QStringList done{tr("解凍が完了しました。")};
        done << countLines;
        if (!leftovers.isEmpty())
            done << leftovers;
        // The entry this install made, if it changed anything: it can be taken back.
        std::optional<JournalEntry> installed;
        if (!cfsPath_.empty()) {
            const std::vector<JournalEntry> entries =
                ChangeJournal(platform::hostPath(cfsPath_)).entries();
            for (auto entry = entries.rbegin(); entry != entries.rend() && !installed; ++entry)
                if (entry->id > journalBefore && entry->tool == "install")
                    installed = *entry;
        }
        if (!installed) {
            showMessage(us(windowTitle()), us(done.join(QStringLiteral("\r\n"))),
                        PromptIcon::Information);
            return;
        }
        done << tr("インストールを元に戻すには、変更履歴で「%1」の項目を選んで元に戻してください。")
                    .arg(installed->summary.empty() ? tr("No. %1").arg(installed->id)
                                                    : qs(installed->summary))
             << tr("変更履歴を開きますか？");
        if (askQuestion(us(windowTitle()), us(done.join(QStringLiteral("\r\n"))),
                        PromptButtons::YesNo, PromptAnswer::No,
                        PromptIcon::Information) == PromptAnswer::Yes)
            showHistory(installed->id);
        return;
    }
    QStringList text;
    if (result == kArcStopped)
        text << tr("解凍を中止しました。")
             << tr("%1 個中 %2 個のファイルを処理しました。").arg(total).arg(done);
    if (!failures.empty()) {
        text << tr("次のファイルは解凍できませんでした。");
        for (size_t i = 0; i < failures.size() && i < kFailuresListed; ++i)
            text << failureLine(failures[i]);
        if (failures.size() > kFailuresListed)
            text << tr("ほか %1 個").arg(failures.size() - kFailuresListed);
    } else if (result != kArcStopped) {
        text << tr("解凍できなかったファイルがあります。");
    }
    text << countLines;
    if (!leftovers.isEmpty())
        text << leftovers;
    showMessage(us(windowTitle()), us(text.join(QStringLiteral("\r\n"))), PromptIcon::Warning);
}

void ArcInstallWindow::setBusy(bool busy) {
    busy_ = busy;
    fileModel_->setMarksFrozen(busy);
    client()->setEnabled(!busy);
    menuBar()->setEnabled(!busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void ArcInstallWindow::openHistory(int64_t entry) {
    if (!isIdle())
        return;
    const CommandScope command(*this);
    showHistory(entry);
}

void ArcInstallWindow::showHistory(int64_t entry) {
    HistoryWindow history(cfsVersion_, this);
    if (entry != 0)
        history.selectEntry(entry);
    history.exec();
}

// --- window ----------------------------------------------------------------------------------

void ArcInstallWindow::popUpMenu(const QPoint& globalPos) {
    popupMenu_->setDefaultAction(archiveOpen_ ? popupViewAction_ : popupOpenAction_);
    setArchiveOpen(archiveOpen_);
    popupMenu_->exec(globalPos);
}

void ArcInstallWindow::layoutControls() {
    const int width = client()->width();
    const int height = client()->height();
    const auto place = [width](QLabel* label, int left, int top) {
        label->setGeometry(left, top, std::max(0, width - left - kLeft),
                           label->sizeHint().height());
    };
    place(arcPathCaption_, kLeft, kPathTop);
    place(arcFilePathLabel_, kValueLeft, kPathTop);
    place(installPathCaption_, kLeft, kCfsTop);
    place(cfsPathLabel_, kValueLeft, kCfsTop);
    showPath(arcFilePathLabel_, arcFilePathLabel_->toolTip());
    showPath(cfsPathLabel_, cfsPathLabel_->toolTip());
    place(fileListCaption_, kLeft, kLabel1Top);
    arcFileList_->setGeometry(kLeft, kListTop, std::max(0, width - kListWidthMargin),
                              std::max(0, height - kListTop - kListBottomMargin));
}

bool ArcInstallWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == arcFileList_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && isIdle()) {
            popUpMenu(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return ToolWindow::eventFilter(watched, event);
}

void ArcInstallWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && isIdle())
        event->acceptProposedAction();
}

void ArcInstallWindow::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    event->acceptProposedAction();
    // After the drop has ended: opening asks questions.
    QMetaObject::invokeMethod(
        this, [this, files] { openFiles(files); }, Qt::QueuedConnection);
}

void ArcInstallWindow::done(int result) {
    if (!isIdle())
        return;
    ToolWindow::done(result);
}

} // namespace vokari::ui
