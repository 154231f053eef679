#include "gui/aircraft/aircraft_enabler_window.h"

#include "common/prompt.h"
#include "gui/kit/failure_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/row_table_model.h"
#include "gui/kit/tool_window.h"
#include "platform/text.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>
#include <exception>
#include <future>
#include <string>
#include <utility>
#include <vector>

namespace vokari::ui {
namespace {

const char* const kCaption =
    QT_TRANSLATE_NOOP("vokari::ui::AircraftEnablerWindow", "航空機ファイル設定");

// Where the form puts the list and its label, in pixels of the window's inside.
constexpr int kLabelTop = 40;
constexpr int kListLeft = 8;
constexpr int kListTop = 56;
constexpr int kListWidthMargin = 20;
constexpr int kListHeightMargin = 85;
// The deletion's progress sits in the strip below the list.
constexpr int kProgressGap = 4;
// How many failing aircraft a message gives reasons for, and how many files it names for each.
constexpr size_t kFailuresShown = 5;
constexpr int kLeftShown = 5;
// How many aircraft the deletion question names.
constexpr size_t kNamesAsked = 10;

QString activateText(bool isActive) {
    return isActive ? AircraftEnablerWindow::tr("ON") : QStringLiteral("  ");
}

QString defaultText(bool isDefault) {
    return isDefault ? AircraftEnablerWindow::tr("DEF") : QStringLiteral(" ");
}

void warnStockSwitchOff() {
    showMessage(us(AircraftEnablerWindow::tr(kCaption)),
                joinLines({us(AircraftEnablerWindow::tr("デフォルト航空機は無効化できません。")),
                           us(AircraftEnablerWindow::tr("編集する場合は[オプション]メニューから")),
                           us(AircraftEnablerWindow::tr(
                               "[デフォルト航空機の編集を許可]を選択してください。"))}),
                PromptIcon::Warning);
}

std::string joinLineList(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty())
            text += kCrLf;
        text += line;
    }
    return text;
}

} // namespace

// What a deletion did, in list order, up to a failure that stopped it.
struct AircraftEnablerWindow::Deletion {
    // An aircraft that left files behind.
    struct Left {
        std::string name;
        std::vector<std::string> paths;
        bool isListed = false;
    };
    std::vector<Left> left;
    std::string failedKey;
    std::exception_ptr failure;
};

AircraftEnablerWindow::AircraftEnablerWindow(int16_t version, QWidget* parent)
    : EditingToolWindow(QStringLiteral("FrmAircraftEnabler"), tr(kCaption), Undo::OneStep, parent),
      aircrafts_(std::make_unique<AircraftList>()) {
    buildControls();
    buildMenus();

    try {
        aircrafts_->setVersion(version);
        aircrafts_->readAircrafts(true, true);
    } catch (const std::exception& e) {
        // What was read so far is listed; every operation works on single aircraft.
        showMessage(us(caption()),
                    joinLines({us(tr("航空機の一覧を読み込めませんでした。")), us(failureText(e))}),
                    PromptIcon::Error);
    }
    setAircrafts();
    permitEditDefAircraft(false);
    permitDeleteGauges(false);
    isChanged_ = false;
    hasUndo_ = false;
    updateSaveAndUndo();
}

AircraftEnablerWindow::~AircraftEnablerWindow() = default;

void AircraftEnablerWindow::buildControls() {
    addToolBarWithSave("TBar");
    addToolButton("TBarActive", QStyle::SP_DialogApplyButton, tr("航空機を有効にする"),
                  [this] { setEnableFlgs(true); });
    addToolButton("TBarInactive", QStyle::SP_DialogCancelButton, tr("航空機を無効にする"),
                  [this] { setEnableFlgs(false); });
    toolBar()->addSeparator();
    // In colour: the style draws its trash icon in greys, which reads as disabled.
    addToolButton("TBarDelete", coloredIcon(style(), QStyle::SP_TrashIcon, QColor(200, 30, 30)),
                  tr("航空機ファイルを削除する"), [this] { deleteAircraftFiles(); });

    installedCaption_ = new QLabel(tr("インストール済航空機"), client());
    installedCaption_->setObjectName(QStringLiteral("Label1"));

    aircraftList_ = new QTreeView(client());
    rowModel_ = new RowTableModel(
        {tr("状態"), tr("デフォルト"), tr("フォルダ"), tr("表示名")},
        [this] { return static_cast<int>(rows_.size()); },
        [this](int row, int column, int role) { return cell(row, column, role); }, this);
    aircraftList_->setModel(rowModel_);
    setUpRowList(aircraftList_, "LstAircraft", QAbstractItemView::ExtendedSelection);
    popUpOnRightClick(aircraftList_,
                      [this](const QPoint& at) { popUpEditMenu(activeAction_, at); });
    connect(aircraftList_, &QTreeView::doubleClicked, this, [this] { reverseEnableFlg(); });

    progressLabel_ = new QLabel(client());
    progressLabel_->setObjectName(QStringLiteral("LblProgress"));
    progressLabel_->setTextFormat(Qt::PlainText); // titles are shown as they are
    progressLabel_->hide();
    progressBar_ = new QProgressBar(client());
    progressBar_->setObjectName(QStringLiteral("PrgBar"));
    progressBar_->setTextVisible(false);
    progressBar_->hide();
    connect(&work_, &BackgroundWork::progressed, this,
            &AircraftEnablerWindow::showDeletionProgress);
}

void AircraftEnablerWindow::buildMenus() {
    QMenu* editMenu = addFileAndEditMenus();
    addMenuSeparator(editMenu, "mnuEdit_sep1");
    activeAction_ = addMenuEntry(this, editMenu, "MnuEdit_Active", tr("有効(&A)"), QKeySequence(),
                                 [this] { setEnableFlgs(true); });
    addMenuEntry(this, editMenu, "MnuEdit_Inactive", tr("無効(&I)"), QKeySequence(),
                 [this] { setEnableFlgs(false); });
    addMenuSeparator(editMenu, "mnuEdit_sep2");
    addMenuEntry(this, editMenu, "mnuEdit_DeleteAircraft", tr("航空機ファイルを削除(&D)"),
                 QKeySequence(Qt::Key_Delete), [this] { deleteAircraftFiles(); });

    QMenu* optionsMenu = addMenu("mnuOpt", tr("オプション(&O)"));
    editDefAircraftAction_ = addMenuEntry(this, optionsMenu, "MnuOpt_EditDefAircraft",
                                          tr("デフォルト航空機の編集を許可(&P)"), QKeySequence(),
                                          [this] { permitEditDefAircraft(!isEditDefPermitted_); });
    editDefAircraftAction_->setCheckable(true);
    // The gauge option is kept but not offered: deleting never removes gauge files.
    addMenuSeparator(optionsMenu, "mnuOpt_sep1")->setVisible(false);
    deleteGaugesAction_ = addMenuEntry(this, optionsMenu, "mnuOpt_DeleteGauges",
                                       tr("削除時に計器ファイルも削除する(&G)"), QKeySequence(),
                                       [this] { permitDeleteGauges(!isDeleteGaugesPermitted_); });
    deleteGaugesAction_->setCheckable(true);
    deleteGaugesAction_->setVisible(false);

    addHelpMenu();
}

void AircraftEnablerWindow::setAircrafts() {
    std::vector<Row> rows;
    rows.reserve(aircrafts_->aircraftList.count());
    for (const auto& entry : aircrafts_->aircraftList)
        rows.push_back(rowOf(entry.key, entry.value));
    rows_ = std::move(rows);
    indexRows();
    rowModel_->reset();
    setColumnWidths(aircraftList_, {30, 40, 200, 300});
    fitColumnsToCaptions(aircraftList_);
}

AircraftEnablerWindow::Row AircraftEnablerWindow::rowOf(const std::string& key,
                                                        const Aircraft& aircraft) {
    Row row;
    row.key = key;
    row.directory = qs(aircraft.directory());
    row.title = qs(aircraft.title());
    row.isActive = aircraft.isActive;
    row.isDefault = aircraft.isDefault();
    // The panel and sound it borrows, for a player checking the alias window's work.
    if (!aircraft.soundAlias().empty() || !aircraft.panelAlias().empty()) {
        const QString none = tr("なし");
        const auto orNone = [&none](const std::string& alias) {
            return alias.empty() ? none : qs(alias);
        };
        row.borrowed = tr("音声: %1\nパネル: %2")
                           .arg(orNone(aircraft.soundAlias()), orNone(aircraft.panelAlias()));
    }
    return row;
}

QVariant AircraftEnablerWindow::cell(int row, int column, int role) const {
    const Row& shown = rows_[static_cast<size_t>(row)];
    if (role == Qt::DisplayRole) {
        switch (column) {
        case 0:
            return activateText(shown.isActive);
        case 1:
            return defaultText(shown.isDefault);
        case 2:
            return shown.directory;
        case 3:
            return shown.title;
        default:
            return {};
        }
    }
    if (role == Qt::UserRole && column == 0)
        return qs(shown.key);
    if (role == Qt::ToolTipRole && column == 3 && !shown.borrowed.isEmpty())
        return shown.borrowed;
    return {};
}

void AircraftEnablerWindow::indexRows() {
    rowIndex_.clear();
    for (size_t i = 0; i < rows_.size(); ++i)
        rowIndex_.add(rows_[i].key, static_cast<int>(i));
}

Aircraft& AircraftEnablerWindow::aircraftOf(int row) {
    return aircrafts_->aircraftList.item(rows_[static_cast<size_t>(row)].key);
}

std::vector<int> AircraftEnablerWindow::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : aircraftList_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void AircraftEnablerWindow::showActivate(const Aircraft& aircraft) {
    if (const int* row = rowIndex_.find(aircraft.directory())) {
        rows_[static_cast<size_t>(*row)].isActive = aircraft.isActive;
        rowModel_->refreshRow(*row);
    }
}

void AircraftEnablerWindow::reverseEnableFlg() {
    if (isDeleting_)
        return;
    const QModelIndex current = aircraftList_->currentIndex();
    if (!current.isValid() || !aircraftList_->selectionModel()->isRowSelected(current.row()))
        return; // nothing to toggle, as in an empty list
    Aircraft& aircraft = aircraftOf(current.row());
    if (aircraft.isActive && aircraft.isDefault() && !isEditDefPermitted_) {
        warnStockSwitchOff();
        return;
    }
    wasChangedBefore_ = isChanged_;
    undoInfo_.emplace();
    hasUndo_ = true;
    addUndoInfo(aircraft);

    aircraft.isActiveChanged = !aircraft.isActiveChanged;
    aircraft.isActive = !aircraft.isActive;
    showActivate(aircraft);
    isChanged_ = true;
    updateSaveAndUndo();
}

void AircraftEnablerWindow::setEnableFlgs(bool active) {
    if (isDeleting_)
        return;
    wasChangedBefore_ = isChanged_;
    undoInfo_.emplace();
    bool warned = false;
    for (const int row : selectedRows()) {
        Aircraft& aircraft = aircraftOf(row);
        addUndoInfo(aircraft);
        if (aircraft.isActive == active)
            continue;
        if (!aircraft.isDefault() || active || isEditDefPermitted_) {
            aircraft.isActive = active;
            aircraft.isActiveChanged = !aircraft.isActiveChanged;
            showActivate(aircraft);
            isChanged_ = true;
        } else if (!warned) {
            warnStockSwitchOff();
            warned = true;
        }
    }
    if (!undoInfo_->empty()) {
        hasUndo_ = true;
    } else {
        undoInfo_.reset();
        hasUndo_ = false;
    }
    updateSaveAndUndo();
}

void AircraftEnablerWindow::addUndoInfo(const Aircraft& aircraft) {
    if (!undoInfo_)
        undoInfo_.emplace();
    if (undoInfo_->keyExists(aircraft.directory()))
        return; // the first snapshot is the state before the edit
    Aircraft snapshot;
    snapshot.setDirectory(aircraft.directory());
    snapshot.isActive = aircraft.isActive;
    snapshot.isActiveChanged = aircraft.isActiveChanged;
    undoInfo_->add(aircraft.directory(), std::move(snapshot));
}

void AircraftEnablerWindow::undo() {
    if (isDeleting_ || !hasUndo_ || !undoInfo_ || undoInfo_->empty())
        return;
    for (const auto& entry : *undoInfo_) {
        const Aircraft& snapshot = entry.value;
        if (!aircrafts_->aircraftList.keyExists(snapshot.directory()))
            continue;
        Aircraft& aircraft = aircrafts_->aircraftList.item(snapshot.directory());
        aircraft.isActive = snapshot.isActive;
        aircraft.isActiveChanged = snapshot.isActiveChanged;
        showActivate(aircraft);
    }
    // A write since the edit leaves the disk to say what is still unsaved.
    isChanged_ = wasChangedBefore_ || anySwitchPending();
    hasUndo_ = false;
    undoInfo_.reset();
    updateSaveAndUndo();
}

void AircraftEnablerWindow::deleteAircraftFiles() {
    if (isDeleting_)
        return;
    const std::vector<int> selected = selectedRows();
    for (const int row : selected) {
        if (aircraftOf(row).isDefault()) {
            showMessage(us(caption()),
                        joinLines({us(tr("選択した航空機の中にデフォルト航空機が含まれています。")),
                                   us(tr("デフォルト航空機は削除できません。"))}),
                        PromptIcon::Warning);
            return;
        }
    }
    // Named while the catalogue still holds them.
    std::vector<std::string> keys;
    std::vector<std::string> names;
    for (const int row : selected) {
        keys.push_back(rows_[static_cast<size_t>(row)].key);
        names.push_back(nameOf(keys.back()));
    }
    // The aircraft as the list shows them, so that no one deletes what a stray click selected.
    std::vector<std::string> question{us(tr("削除した航空機は変更履歴から元に戻せます。")),
                                      us(tr("選択した航空機のファイルを削除しますか？"))};
    for (size_t i = 0; i < names.size() && i < kNamesAsked; ++i)
        question.push_back("  " + names[i]);
    if (names.size() > kNamesAsked)
        question.push_back(
            "  " + us(tr("ほか %n 機", nullptr, static_cast<int>(names.size() - kNamesAsked))));
    if (askQuestion(us(caption()), joinLineList(question), PromptButtons::YesNo, PromptAnswer::No,
                    PromptIcon::Warning) != PromptAnswer::Yes)
        return;
    if (keys.empty()) {
        finishDeletion(keys, Deletion{});
        return;
    }

    // A folder of thousands of files takes seconds: the window goes on drawing meanwhile and
    // leaves the catalogue to the work until it ends.
    setDeleting(true);
    showDeletionProgress(0, static_cast<qint64>(keys.size()), qs(names.front()));
    work_.start(
        [list = aircrafts_.get(), work = &work_, keys, names,
         withGauges = isDeleteGaugesPermitted_] {
            Deletion deletion;
            // Cancelled only when the window goes.
            for (size_t i = 0; i < keys.size() && !work->isCancelled(); ++i) {
                work->reportProgress(static_cast<qint64>(i), static_cast<qint64>(keys.size()),
                                     qs(names[i]));
                try {
                    std::vector<std::string> leftBehind;
                    if (list->deleteAircraftFile(keys[i], withGauges, &leftBehind) > 0)
                        deletion.left.push_back({names[i], std::move(leftBehind),
                                                 list->aircraftList.keyExists(keys[i])});
                } catch (...) {
                    deletion.failedKey = keys[i];
                    deletion.failure = std::current_exception();
                    break;
                }
            }
            return deletion;
        },
        [this, keys](std::future<Deletion> outcome) {
            Deletion deletion;
            try {
                deletion = outcome.get();
            } catch (...) {
                // Out of memory or the like: said, and the rows follow the catalogue as it is.
                deletion.failure = std::current_exception();
            }
            finishDeletion(keys, std::move(deletion));
        });
}

void AircraftEnablerWindow::finishDeletion(const std::vector<std::string>& keys,
                                           Deletion deletion) {
    setDeleting(false);
    // Rows go with their aircraft: one whose aircraft file stays is shown as the disk has it.
    std::vector<int> gone;
    for (const std::string& key : keys) {
        const int* row = rowIndex_.find(key);
        if (!row)
            continue;
        if (const Aircraft* aircraft = aircrafts_->aircraftList.find(key)) {
            rows_[static_cast<size_t>(*row)] =
                rowOf(rows_[static_cast<size_t>(*row)].key, *aircraft);
            rowModel_->refreshRow(*row);
        } else {
            gone.push_back(*row);
        }
    }
    // From the bottom up, so the places of those still to go hold.
    std::sort(gone.rbegin(), gone.rend());
    for (const int row : gone)
        rowModel_->removeRow(row, [this, row] { rows_.erase(rows_.begin() + row); });
    if (!gone.empty())
        indexRows();
    // Switches made before the deletion are still to be saved.
    isChanged_ = anySwitchPending();
    keepUndoWhileDiskMatches();
    updateSaveAndUndo();

    std::string failure;
    if (deletion.failure) {
        std::vector<std::string> lines{us(tr("航空機ファイルを削除できませんでした。"))};
        if (!deletion.failedKey.empty())
            lines.push_back(deletion.failedKey);
        try {
            std::rethrow_exception(deletion.failure);
        } catch (const std::exception& e) {
            lines.push_back(us(failureText(e)));
        } catch (...) {
        }
        failure = joinLineList(lines);
    }
    if (!deletion.left.empty() || !failure.empty()) {
        std::vector<std::string> lines;
        if (!deletion.left.empty()) {
            // Read-only or in use: named as the player finds them, the first few of each.
            lines.push_back(us(tr("削除できなかったファイルがあります。")));
            for (const Deletion::Left& aircraft : deletion.left) {
                const int count = static_cast<int>(aircraft.paths.size());
                lines.push_back(
                    us(tr("%1: %n 個のファイルまたはフォルダが残っています。", nullptr, count)
                           .arg(qs(aircraft.name))));
                if (aircraft.isListed)
                    lines.push_back(us(tr("航空機ファイルが残っているため、一覧に残しています。")));
                for (int i = 0; i < count && i < kLeftShown; ++i)
                    lines.push_back(aircraft.paths[static_cast<size_t>(i)]);
                if (count > kLeftShown)
                    lines.push_back(us(tr("ほか %n 件", nullptr, count - kLeftShown)));
            }
        }
        if (!failure.empty())
            lines.push_back(failure);
        showMessage(us(caption()), joinLineList(lines),
                    failure.empty() ? PromptIcon::Warning : PromptIcon::Error);
    }
    if (const std::optional<int> result = std::exchange(closeAfterDeletion_, std::nullopt))
        done(*result);
}

void AircraftEnablerWindow::setDeleting(bool isDeleting) {
    isDeleting_ = isDeleting;
    toolBar()->setEnabled(!isDeleting);
    menuBar()->setEnabled(!isDeleting);
    aircraftList_->setEnabled(!isDeleting);
    progressLabel_->setVisible(isDeleting);
    progressBar_->setVisible(isDeleting);
    if (isDeleting)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void AircraftEnablerWindow::showDeletionProgress(qint64 done, qint64 total, const QString& name) {
    // Counted per aircraft: a single one has no steps to show, only that the work goes on.
    progressBar_->setRange(0, total > 1 ? static_cast<int>(total) : 0);
    progressBar_->setValue(static_cast<int>(done));
    progressLabel_->setText(tr("削除しています: %1").arg(name));
}

void AircraftEnablerWindow::done(int result) {
    if (isDeleting_) {
        closeAfterDeletion_ = result;
        return;
    }
    EditingToolWindow::done(result);
}

std::string AircraftEnablerWindow::nameOf(const std::string& key) const {
    const Aircraft* aircraft = aircrafts_->aircraftList.find(key);
    return aircraft ? aircraft->directory() + " (" + aircraft->title() + ")" : key;
}

bool AircraftEnablerWindow::anySwitchPending() const {
    return std::any_of(aircrafts_->aircraftList.begin(), aircrafts_->aircraftList.end(),
                       [](const auto& entry) { return entry.value.isActiveChanged; });
}

bool AircraftEnablerWindow::saveAircrafts() {
    if (isDeleting_)
        return false;
    if (!isChanged_)
        return true;
    const bool saved = writeSwitches();
    // What could not be written stays unsaved, so closing still asks about it.
    isChanged_ = anySwitchPending();
    if (saved) {
        hasUndo_ = false;
        undoInfo_.reset();
    } else {
        keepUndoWhileDiskMatches();
    }
    updateSaveAndUndo();
    return saved;
}

bool AircraftEnablerWindow::writeSwitches() {
    try {
        aircrafts_->setActivate();
    } catch (const AircraftSwitchError& e) {
        // Every aircraft that could not be switched, each with its reason; the others are saved.
        std::vector<std::string> lines{us(tr("次の航空機の有効・無効を保存できませんでした。"))};
        const std::vector<AircraftSwitchError::Failure>& failures = e.failures();
        std::string others;
        for (size_t i = 0; i < failures.size(); ++i) {
            const std::string name = nameOf(failures[i].directory);
            if (i >= kFailuresShown) {
                others += (others.empty() ? "" : ", ") + name;
                continue;
            }
            lines.push_back(name);
            try {
                std::rethrow_exception(failures[i].cause);
            } catch (const std::exception& cause) {
                lines.push_back(us(failureText(cause)));
            } catch (...) {
            }
        }
        if (!others.empty())
            lines.push_back(
                us(tr("ほか %n 機: %1", nullptr, static_cast<int>(failures.size() - kFailuresShown))
                       .arg(qs(others))));
        showMessage(us(caption()), joinLineList(lines), PromptIcon::Error);
        return false;
    } catch (const std::exception& e) {
        showMessage(
            us(caption()),
            joinLines({us(tr("航空機の有効・無効を保存できませんでした。")), us(failureText(e))}),
            PromptIcon::Error);
        return false;
    }
    return true;
}

void AircraftEnablerWindow::keepUndoWhileDiskMatches() {
    if (!undoInfo_)
        return;
    // Undoing sets switches back in memory: right only while the disk still holds each as it
    // was recorded. An aircraft deleted since takes only its own entry along.
    std::vector<std::string> gone;
    bool matches = true;
    for (const auto& entry : *undoInfo_) {
        const Aircraft* aircraft = aircrafts_->aircraftList.find(entry.key);
        if (!aircraft)
            gone.push_back(entry.key);
        else if (aircraft->isActiveOnDisk() != entry.value.isActiveOnDisk())
            matches = false;
    }
    for (const std::string& key : gone)
        undoInfo_->remove(key);
    if (!matches || undoInfo_->empty()) {
        hasUndo_ = false;
        undoInfo_.reset();
        return;
    }
    // What is unsaved after undoing is now what differs from the disk.
    wasChangedBefore_ = false;
}

void AircraftEnablerWindow::permitEditDefAircraft(bool permit) {
    editDefAircraftAction_->setChecked(permit);
    isEditDefPermitted_ = permit;
}

void AircraftEnablerWindow::permitDeleteGauges(bool permit) {
    deleteGaugesAction_->setChecked(permit);
    isDeleteGaugesPermitted_ = permit;
}

void AircraftEnablerWindow::layoutControls() {
    const int width = client()->width();
    const int height = client()->height();
    installedCaption_->setGeometry(kListLeft, kLabelTop, width - kListWidthMargin,
                                   installedCaption_->sizeHint().height());
    const int listWidth = std::max(0, width - kListWidthMargin);
    const int listHeight = std::max(0, height - kListHeightMargin);
    aircraftList_->setGeometry(kListLeft, kListTop, listWidth, listHeight);
    // The name on the left half, the bar on the right, clear of the size grip.
    const int top = kListTop + listHeight + kProgressGap;
    const int rowHeight = std::min(progressBar_->sizeHint().height(), std::max(0, height - top));
    const int half = listWidth / 2;
    progressLabel_->setGeometry(kListLeft, top, std::max(0, half - kProgressGap), rowHeight);
    progressBar_->setGeometry(kListLeft + half, top, std::max(0, half - kListWidthMargin),
                              rowHeight);
}

} // namespace vokari::ui
