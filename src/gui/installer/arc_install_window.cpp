#include "gui/installer/arc_install_window.h"

#include "gui/kit/about_dialog.h"
#include "gui/kit/failure_dialog.h"
#include "frame/installation.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/placement_window.h"
#include "frame/settings_file.h"
#include "gui/kit/tool_window.h"
#include "platform/error.h"
#include "common/file_helpers.h"
#include "common/prompt.h"
#include "platform/text.h"
#include "installer/arc_result.h"
#include "installer/archiver_availability.h"
#include "gui/installer/dir_dialog.h"
#include "gui/installer/find_files_dialog.h"
#include "installer/nested_archives.h"
#include "installer/package_view.h"
#include "gui/installer/text_view_dialog.h"
#include "platform/host_paths.h"

#include <QAction>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>

namespace vokari::ui {
namespace {

const QString kPlacementName = QStringLiteral("FrmArcInstall");

// The smallest window, in twips.
constexpr double kMinWidthTwips = 9720;
constexpr double kMinHeightTwips = 7890;

// Where the form puts its labels and the list, in pixels of the window's inside.
constexpr int kLeft = 8;
constexpr int kValueLeft = 130;
constexpr int kPathTop = 36;
constexpr int kCfsTop = 54;
constexpr int kLabel1Top = 74;
constexpr int kListTop = 92;
constexpr int kListWidthMargin = 20;
constexpr int kListBottomMargin = 4;

// How many unpacking failures a message lists by name.
constexpr size_t kFailuresListed = 20;

enum Column { kFileName = 0, kPath = 1, kInstall = 2, kInstallPath = 3 };

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

} // namespace

FrmArcInstall::FrmArcInstall(int16_t pVer, QWidget* parent)
    : QDialog(parent), executor(std::make_unique<ClsExecute>()) {
    setObjectName(kPlacementName);
    setWindowTitle(tr("CFSファイルインストール"));
    setSizeGripEnabled(true);
    setAcceptDrops(true);
    buildControls();
    buildMenus();

    setMinimumSizeInTwips(this, kMinWidthTwips, kMinHeightTwips);
    restorePlacement(this, kPlacementName, true);

    cfsVersion = pVer;
    cfsPath = gameFolder(pVer);
    executor->setEventPump([] { QCoreApplication::processEvents(); });
    zipAvailable = isZipAvailable();
    lhaAvailable = isLhaAvailable();
    StBarZip->setText(zipAvailable ? tr("ZIP : 使用可") : tr("ZIP : 使用不可"));
    StBarLha->setText(lhaAvailable ? tr("LHA : 使用可") : tr("LHA : 使用不可"));
    showPath(LblCfsPath, qs(platform::displayPath(cfsPath)));
    setArchiveOpen(false);
}

FrmArcInstall::~FrmArcInstall() = default;

void FrmArcInstall::buildControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));

    TBar = makeToolBar("TBar", client_);
    const auto addButton = [this](const char* name, QStyle::StandardPixmap icon, const QString& tip,
                                  auto action) {
        QAction* button = addToolButton(TBar, name, icon, tip);
        connect(button, &QAction::triggered, this, action);
    };
    addButton("TBarOpen", QStyle::SP_DialogOpenButton, tr("圧縮ファイルを開く"),
              [this] { openWithDialog(); });
    TBar->addSeparator();
    addButton("TBarExtractDir", QStyle::SP_DirIcon, tr("解凍先のフォルダを指定する"),
              [this] { chooseExtractFolder(); });
    addButton("TBarSearchFile", QStyle::SP_FileDialogContentsView,
              tr("選択したファイルの解凍先を検索する"), [this] { searchExtractFolder(); });
    TBar->addSeparator();
    addButton("TBarView", QStyle::SP_FileDialogDetailedView, tr("選択したファイルの内容を表示する"),
              [this] { viewSelectedFiles(); });
    TBar->addSeparator();
    addButton("TBarExtract", QStyle::SP_ArrowDown, tr("解凍する"), [this] { extractAll(); });

    const auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, client_);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    Label3 = label("Label3", tr("圧縮ファイルパス"));
    LblArcFilePath = label("LblArcFilePath", QString());
    Label2 = label("Label2", tr("CFSインストール先"));
    LblCfsPath = label("LblCfsPath", QString());
    Label1 = label("Label1", tr("ファイル一覧（ ↓ ここにZIP / LHA "
                                "形式のファイルをドラッグ＆ドロップしてください）"));

    LstArcFiles = new QTreeWidget(client_);
    LstArcFiles->setObjectName(QStringLiteral("LstArcFiles"));
    LstArcFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LstArcFiles->setRootIsDecorated(false);
    LstArcFiles->setItemsExpandable(false);
    LstArcFiles->setUniformRowHeights(true);
    LstArcFiles->setAllColumnsShowFocus(true);
    LstArcFiles->header()->setStretchLastSection(false);
    LstArcFiles->setColumnCount(4);
    LstArcFiles->setHeaderLabels(
        {tr("ファイル名"), tr("パス"), tr("インストール"), tr("インストールパス")});
    const int widths[] = {120, 180, 40, 200};
    // No narrower than the caption, nor than the marks in the install column.
    for (int column = 0; column < 4; ++column)
        LstArcFiles->setColumnWidth(
            column, std::max(widths[column], LstArcFiles->header()->sectionSizeHint(column)));
    const QFontMetrics metrics = LstArcFiles->fontMetrics();
    const int marks =
        std::max(metrics.horizontalAdvance(tr("上書")), metrics.horizontalAdvance(tr("追加"))) +
        2 * metrics.averageCharWidth();
    LstArcFiles->setColumnWidth(kInstall, std::max(LstArcFiles->columnWidth(kInstall), marks));
    // Packages dropped on the list go to the window.
    LstArcFiles->setAcceptDrops(false);
    LstArcFiles->viewport()->setAcceptDrops(false);
    LstArcFiles->viewport()->installEventFilter(this);
    client_->installEventFilter(this);
    connect(LstArcFiles, &QTreeWidget::itemDoubleClicked, this, [this] { viewSelectedFiles(); });

    StBar = new QStatusBar(this);
    StBar->setObjectName(QStringLiteral("StBar"));
    StBar->setSizeGripEnabled(false);
    StBarZip = new QLabel(StBar);
    StBarZip->setObjectName(QStringLiteral("StBarZip"));
    StBarLha = new QLabel(StBar);
    StBarLha->setObjectName(QStringLiteral("StBarLha"));
    StBar->addWidget(StBarZip, 1);
    StBar->addWidget(StBarLha, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(client_, 1);
    layout->addWidget(StBar);
}

void FrmArcInstall::buildMenus() {
    menuBar_ = addMenuBar(this);

    const auto addEntry = [this](QMenu* menu, const char* name, const QString& caption,
                                 auto action) {
        // After the menu has closed: every command may ask or open a dialog.
        return addMenuEntry(this, menu, name, caption, QKeySequence(), [this, action] {
            QMetaObject::invokeMethod(this, action, Qt::QueuedConnection);
        });
    };
    const auto open = [this] { openWithDialog(); };
    const auto extractDir = [this] { chooseExtractFolder(); };
    const auto searchFile = [this] { searchExtractFolder(); };
    const auto view = [this] { viewSelectedFiles(); };

    mnuFile = addMenu(menuBar_, "mnuFile", tr("ファイル(&F)"));
    mnuFile_Open = addEntry(mnuFile, "mnuFile_Open", tr("開く(&O)"), open);
    addMenuSeparator(mnuFile, "mnuFile_sep1");
    mnuFile_Exit = addEntry(mnuFile, "mnuFile_Exit", tr("終了(&X)"), [this] { close(); });

    mnuEdit = addMenu(menuBar_, "mnuEdit", tr("編集(&E)"));
    mnuEdit_ExtractDir =
        addEntry(mnuEdit, "mnuEdit_ExtractDir", tr("解凍先ディレクトリの指定(&D)"), extractDir);
    mnuEdit_SearchFile = addEntry(mnuEdit, "mnuEdit_SearchFile",
                                  tr("選択したファイルの解凍先を検索(&F)"), searchFile);
    addMenuSeparator(mnuEdit, "mnuEdit_sep1");
    mnuEdit_View = addEntry(mnuEdit, "mnuEdit_View", tr("選択したファイルの内容を表示(&V)"), view);
    addMenuSeparator(mnuEdit, "mnuEdit_sep2");
    mnuEdit_Extract =
        addEntry(mnuEdit, "mnuEdit_Extract", tr("解凍(&E)"), [this] { extractAll(); });
    connect(mnuEdit, &QMenu::aboutToShow, this, [this] { setArchiveOpen(archiveOpen); });

    mnuPopup = new QMenu(tr("右クリック"), this);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    mnuPopup_Open = addEntry(mnuPopup, "mnuPopup_Open", tr("開く"), open);
    addMenuSeparator(mnuPopup, "mnuPopup_sep1");
    mnuPopup_ExtractDir =
        addEntry(mnuPopup, "mnuPopup_ExtractDir", tr("解凍先ディレクトリの指定"), extractDir);
    mnuPopup_SearchFile =
        addEntry(mnuPopup, "mnuPopup_SearchFile", tr("選択したファイルの解凍先を検索"), searchFile);
    addMenuSeparator(mnuPopup, "mnuPopup_sep2");
    mnuPopup_View = addEntry(mnuPopup, "mnuPopup_View", tr("選択したファイルの内容を表示"), view);

    mnuHelp = addMenu(menuBar_, "mnuHelp", tr("ヘルプ(&H)"));
    addMenuSeparator(mnuHelp, "mnuHelp_sep1");
    mnuHelp_Ver =
        addEntry(mnuHelp, "mnuHelp_Ver", tr("バージョン情報(&A)"), [this] { showAbout(); });
}

void FrmArcInstall::setArchiveOpen(bool open) {
    archiveOpen = open;
    for (QAction* command : {mnuEdit_ExtractDir, mnuEdit_SearchFile, mnuEdit_View, mnuEdit_Extract,
                             mnuPopup_ExtractDir, mnuPopup_SearchFile, mnuPopup_View})
        command->setEnabled(open);
}

void FrmArcInstall::closePackage() {
    arcList.reset();
    LstArcFiles->clear();
    showPath(LblArcFilePath, QString());
    setArchiveOpen(false);
}

void FrmArcInstall::fail(const QString& lead, const std::string& reason) {
    showMessage(us(windowTitle()), us(lines({lead, failureText(FormatError(reason))})),
                PromptIcon::Error);
}

// --- opening ---------------------------------------------------------------------------------

void FrmArcInstall::openFiles(const QStringList& files) {
    if (files.isEmpty() || busy_)
        return;
    const QString path = files.first();
    try {
        if (!openArchiveFile(us(path)))
            return;
        openNestedArchives();
        if (!archiveOpen)
            return;
        showEntries();
        showPath(LblArcFilePath, qs(std::filesystem::absolute(std::filesystem::path(us(path)))
                                        .lexically_normal()
                                        .string()));
    } catch (const std::exception& e) {
        showMessage(us(windowTitle()),
                    us(lines({tr("ファイルの読み込みに失敗しました"), failureText(e)})),
                    PromptIcon::Error);
    }
}

void FrmArcInstall::openWithDialog() {
    if (busy_)
        return;
    QString filter;
    if (zipAvailable && lhaAvailable)
        filter = tr("対応する全てのファイル (*.zip *.lzh *.exe);;ZIPアーカイブ (*.zip *.exe);;"
                    "LHAアーカイブ (*.lzh *.exe)");
    else if (zipAvailable)
        filter = tr("ZIPアーカイブ (*.zip *.exe)");
    else if (lhaAvailable)
        filter = tr("LHAアーカイブ (*.lzh *.exe)");
    else
        filter = tr("ZIPファイル (*.ZIP)");
    const QString file = QFileDialog::getOpenFileName(
        this, tr("アーカイブファイルを指定してください"), QString(), filter);
    if (!file.isEmpty())
        openFiles({file});
}

bool FrmArcInstall::libraryReady(const std::string& x) {
    const QString title = windowTitle();
    if (x == "ZIP" && !zipAvailable) {
        showMessage(us(title),
                    us(lines({tr("UNZIP32.DLLが見つかりません。"),
                              tr("この機能を使用するにはUNZIP32.DLLをインストールしてください｡")})),
                    PromptIcon::Error);
        return false;
    }
    if (x == "LZH" && !lhaAvailable) {
        showMessage(us(title),
                    us(lines({tr("UNLHA32.DLLが見つかりません。"),
                              tr("この機能を使用するにはUNLHA32.DLLをインストールしてください｡")})),
                    PromptIcon::Error);
        return false;
    }
    return true;
}

bool FrmArcInstall::versionAccepted() {
    if (cfsVersion >= arcList->minimumVersion())
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
bool FrmArcInstall::openArchiveFile(const std::string& path) {
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
    auto list = std::make_unique<ClsCfsArcList>();
    list->setVersion(cfsVersion);
    const int32_t result = list->ReadArchive(0, path);
    if (result != kArcOk || !list->readProblem().empty()) {
        fail(tr("ファイルの読み込みに失敗しました"), list->readProblem());
        return false;
    }
    arcList = std::move(list);
    if (!versionAccepted())
        return false;
    setArchiveOpen(true);
    return true;
}

void FrmArcInstall::openNestedArchives() {
    if (!arcList || !arcList->boolExistArchive())
        return;
    const std::vector<const ClsCfsArcFile*> archives = nestedArchives(*arcList);
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
    for (const ClsCfsArcFile* archive : archives) {
        const std::string fullPath = archive->fullPath();
        if (!libraryReady(upper(archive->extention())))
            continue;
        if (readNestedArchive(*arcList, 0, *archive) != kArcOk || !arcList->readProblem().empty()) {
            std::string reason = arcList->readProblem();
            if (reason.empty() && !arcList->extractionFailures().empty())
                reason = arcList->extractionFailures().front().reason;
            fail(tr("ファイルの読み込みに失敗しました"), fullPath + ": " + reason);
            continue;
        }
        // Asked again after each archive: the list keeps the highest version it needs.
        if (!versionAccepted())
            return;
    }
}

namespace {

QString markOf(const ClsCfsArcFile& entry) {
    if (!entry.boolInstall())
        return QString();
    return entry.boolExist() ? FrmArcInstall::tr("上書") : FrmArcInstall::tr("追加");
}

} // namespace

void FrmArcInstall::showRow(QTreeWidgetItem* row, const ClsCfsArcFile& entry,
                            const std::string& path) {
    row->setText(kInstall, markOf(entry));
    row->setText(kInstallPath, qs(path));
}

void FrmArcInstall::showEntries() {
    LstArcFiles->clear();
    if (!arcList)
        return;
    QList<QTreeWidgetItem*> rows;
    for (const auto& item : arcList->FileList) {
        const ClsCfsArcFile& entry = item.value;
        if (entry.isFolder())
            continue;
        auto* row = new QTreeWidgetItem(
            QStringList{qs(entry.fileName()), qs(entry.filePath()), QString(), QString()});
        row->setData(0, Qt::UserRole, qs(entry.fullPath()));
        showRow(row, entry, entry.defaultInstallPath());
        rows.append(row);
    }
    LstArcFiles->addTopLevelItems(rows);
}

QList<QTreeWidgetItem*> FrmArcInstall::selectedRows() const {
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < LstArcFiles->topLevelItemCount(); ++i)
        if (LstArcFiles->topLevelItem(i)->isSelected())
            rows.append(LstArcFiles->topLevelItem(i));
    return rows;
}

ClsCfsArcFile* FrmArcInstall::entryOf(const QTreeWidgetItem* row) {
    const std::string key = us(row->data(0, Qt::UserRole).toString());
    if (!arcList || !arcList->FileList.keyExists(key))
        return nullptr;
    return &arcList->FileList.item(key);
}

// --- destinations and viewing ----------------------------------------------------------------

void FrmArcInstall::chooseExtractFolder() {
    if (busy_)
        return;
    setCursor(Qt::WaitCursor);
    FrmDirDialog picker(this);
    std::string root = cfsPath;
    if (!root.empty() && root.back() == '\\')
        root.pop_back();
    picker.LoadFrmDirDialog(cfsPath, qs(lastPathElement(root)),
                            tr("解凍先ディレクトリを指定してください。"));
    picker.exec();
    unsetCursor();
    if (picker.BoolCancel())
        return;
    std::string path = picker.SelectedPath();
    if (!path.empty())
        path += '\\';
    for (QTreeWidgetItem* row : selectedRows()) {
        ClsCfsArcFile* entry = entryOf(row);
        if (!entry)
            continue;
        entry->setBoolInstall(true);
        entry->setInstallPath(path);
        showRow(row, *entry, path);
    }
}

void FrmArcInstall::searchExtractFolder() {
    if (busy_)
        return;
    const QList<QTreeWidgetItem*> rows = selectedRows();
    if (rows.isEmpty())
        return;
    ClsCfsArcFile* entry = entryOf(rows.first());
    if (!entry)
        return;
    FrmFindFiles finder(this);
    finder.initFindFiles(tr("ファイルの解凍先を指定してください"), false, cfsPath,
                         entry->fileName());
    finder.exec();
    const std::string found = finder.resultFindFile();
    if (found.empty())
        return;
    const std::string path = found.substr(0, found.size() - entry->fileName().size());
    entry->setBoolInstall(true);
    entry->setInstallPath(path);
    entry->setDefaultInstallPath(path);
    showRow(rows.first(), *entry, path);
}

void FrmArcInstall::viewSelectedFiles() {
    if (busy_ || !arcList || LstArcFiles->topLevelItemCount() == 0)
        return;
    const std::string work = workDirectory();
    for (QTreeWidgetItem* row : selectedRows()) {
        const ClsCfsArcFile* entry = entryOf(row);
        if (!entry)
            continue;
        const ViewKind kind = viewKindOf(entry->fullPath());
        if (kind == ViewKind::Nothing)
            continue;
        if (arcList->extractArchive(0, entry->fullPath(), work) != kArcOk) {
            const auto& failures = arcList->extractionFailures();
            fail(tr("ファイルを表示できませんでした。"),
                 entry->fullPath() + ": " + (failures.empty() ? "" : failures.front().reason));
            continue;
        }
        const std::string file = joinPath(work, entry->fileName());
        if (kind == ViewKind::Text) {
            try {
                auto* viewer = new FrmTextView(qs(entry->fileName()), qs(readViewText(file)), this);
                viewer->show();
            } catch (const std::exception& e) {
                fail(tr("ファイルを表示できませんでした。"), e.what());
            }
        } else if (!executor->ShellX(file, 1, 0, false)) {
            fail(tr("ファイルを表示できませんでした。"),
                 entry->fullPath() + ": no program opens this kind of file");
        }
    }
}

// --- unpacking -------------------------------------------------------------------------------

void FrmArcInstall::extractAll() {
    if (!archiveOpen || !arcList || busy_)
        return;
    const std::string title = us(windowTitle());
    if (arcList->boolExistOverWriteFiles()) {
        const PromptAnswer answer =
            askQuestion(title,
                        us(lines({tr("解凍を実行した場合に上書きされるファイルが存在します。"),
                                  tr("上書きしますか？"), tr("　[はい]を選択すると上書きします。"),
                                  tr("　[いいえ]を選択すると上書きしないファイルのみ解凍します。"),
                                  tr("　[キャンセル]を選択すると解凍しません。")})),
                        PromptButtons::YesNoCancel, PromptAnswer::Yes, PromptIcon::Question);
        if (answer == PromptAnswer::Cancel)
            return;
        arcList->setBoolOverWrite(answer == PromptAnswer::Yes);
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
    std::atomic<bool> cancel{false};
    connect(&progress, &QProgressDialog::canceled, this, [&] {
        cancel = true;
        progress.setLabelText(tr("中止しています..."));
    });

    // Unpacking runs off the window's thread; the window only shows how far it is.
    int32_t result = kArcOk;
    size_t done = 0;
    size_t total = 0;
    ClsCfsArcList* list = arcList.get();
    QThread* worker = QThread::create([&] {
        try {
            result = list->extractArchives(0, [&](size_t d, size_t t, const ClsCfsArcFile& next) {
                done = d;
                total = t;
                if (cancel)
                    return false;
                const QString name = qs(next.fullPath());
                QMetaObject::invokeMethod(
                    &progress,
                    [&progress, d, t, name] {
                        progress.setMaximum(static_cast<int>(t));
                        progress.setValue(static_cast<int>(d));
                        progress.setLabelText(
                            QStringLiteral("%1 / %2\n%3").arg(d).arg(t).arg(name));
                    },
                    Qt::QueuedConnection);
                return true;
            });
        } catch (...) {
            // Nothing may leave the thread; the list says which entries failed.
            result = kArcOtherError;
        }
        if (result != kArcStopped)
            done = total;
    });
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    setBusy(true);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    // Updates still queued would show the dialog again.
    QCoreApplication::removePostedEvents(&progress);
    progress.close();
    setBusy(false);

    // The files now on disk change what replacing means.
    for (int i = 0; i < LstArcFiles->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = LstArcFiles->topLevelItem(i);
        if (const ClsCfsArcFile* entry = entryOf(row))
            row->setText(kInstall, markOf(*entry));
    }
    reportExtraction(result, done, total);
}

void FrmArcInstall::reportExtraction(int32_t result, size_t done, size_t total) {
    const std::vector<ExtractionFailure>& failures = arcList->extractionFailures();
    if (result == kArcOk && failures.empty()) {
        showMessage(us(windowTitle()), us(tr("解凍が完了しました。")), PromptIcon::Information);
        return;
    }
    QStringList text;
    if (result == kArcStopped)
        text << tr("解凍を中止しました。")
             << tr("%1 個中 %2 個のファイルを処理しました。").arg(total).arg(done);
    if (!failures.empty()) {
        text << tr("次のファイルは解凍できませんでした。");
        for (size_t i = 0; i < failures.size() && i < kFailuresListed; ++i)
            text << qs(failures[i].fullPath + (failures[i].fullPath.empty() ? "" : ": ") +
                       failures[i].reason);
        if (failures.size() > kFailuresListed)
            text << tr("ほか %1 個").arg(failures.size() - kFailuresListed);
    } else if (result != kArcStopped) {
        text << tr("解凍できなかったファイルがあります。");
    }
    showMessage(us(windowTitle()), us(text.join(QStringLiteral("\r\n"))), PromptIcon::Warning);
}

void FrmArcInstall::setBusy(bool busy) {
    busy_ = busy;
    client_->setEnabled(!busy);
    menuBar_->setEnabled(!busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

// --- window ----------------------------------------------------------------------------------

void FrmArcInstall::popUpMenu(const QPoint& globalPos) {
    mnuPopup->setDefaultAction(archiveOpen ? mnuPopup_View : mnuPopup_Open);
    setArchiveOpen(archiveOpen);
    mnuPopup->exec(globalPos);
}

void FrmArcInstall::showAbout() {
    FrmAbout about(this);
    about.exec();
}

void FrmArcInstall::layoutControls() {
    const int width = client_->width();
    const int height = client_->height();
    TBar->setGeometry(0, 0, width, TBar->sizeHint().height());
    const auto place = [width](QLabel* label, int left, int top) {
        label->setGeometry(left, top, std::max(0, width - left - kLeft),
                           label->sizeHint().height());
    };
    place(Label3, kLeft, kPathTop);
    place(LblArcFilePath, kValueLeft, kPathTop);
    place(Label2, kLeft, kCfsTop);
    place(LblCfsPath, kValueLeft, kCfsTop);
    showPath(LblArcFilePath, LblArcFilePath->toolTip());
    showPath(LblCfsPath, LblCfsPath->toolTip());
    place(Label1, kLeft, kLabel1Top);
    LstArcFiles->setGeometry(kLeft, kListTop, std::max(0, width - kListWidthMargin),
                             std::max(0, height - kListTop - kListBottomMargin));
}

bool FrmArcInstall::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        layoutControls();
    } else if (watched == LstArcFiles->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && !busy_) {
            popUpMenu(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmArcInstall::keyPressEvent(QKeyEvent* event) {
    // A tool window with menus, not a dialog box: Escape does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FrmArcInstall::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !busy_)
        event->acceptProposedAction();
}

void FrmArcInstall::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    event->acceptProposedAction();
    // After the drop has ended: opening asks questions.
    QMetaObject::invokeMethod(
        this, [this, files] { openFiles(files); }, Qt::QueuedConnection);
}

void FrmArcInstall::done(int result) {
    if (busy_)
        return;
    savePlacement(this, kPlacementName);
    QDialog::done(result);
}

} // namespace vokari::ui
