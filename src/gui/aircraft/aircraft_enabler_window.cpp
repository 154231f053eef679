#include "gui/aircraft/aircraft_enabler_window.h"

#include "common/prompt.h"
#include "gui/kit/failure_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/tool_window.h"
#include "platform/text.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <string>
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
        showMessage(us(windowTitle()),
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
    addToolButton("TBarDelete", QStyle::SP_TrashIcon, tr("航空機ファイルを削除する"),
                  [this] { deleteAircraftFiles(); });

    installedCaption_ = new QLabel(tr("インストール済航空機"), client());
    installedCaption_->setObjectName(QStringLiteral("Label1"));

    aircraftList_ = new QTreeWidget(client());
    setUpRowList(aircraftList_, "LstAircraft", QAbstractItemView::ExtendedSelection);
    popUpOnRightClick(aircraftList_,
                      [this](const QPoint& at) { popUpEditMenu(activeAction_, at); });
    connect(aircraftList_, &QTreeWidget::itemDoubleClicked, this, [this] { reverseEnableFlg(); });
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
    rows_.clear();
    setColumns(aircraftList_, {tr("状態"), tr("デフォルト"), tr("フォルダ"), tr("表示名")},
               {30, 40, 200, 300});
    fitColumnsToCaptions(aircraftList_);

    QList<QTreeWidgetItem*> items;
    for (const auto& entry : aircrafts_->aircraftList) {
        const Aircraft& aircraft = entry.value;
        auto* row = new QTreeWidgetItem(
            QStringList{activateText(aircraft.isActive), defaultText(aircraft.isDefault()),
                        qs(aircraft.directory()), qs(aircraft.title())});
        row->setData(0, Qt::UserRole, qs(entry.key));
        // The panel and sound it borrows, for a player checking the alias window's work.
        if (!aircraft.soundAlias().empty() || !aircraft.panelAlias().empty()) {
            const QString none = tr("なし");
            const auto orNone = [&none](const std::string& alias) {
                return alias.empty() ? none : qs(alias);
            };
            row->setToolTip(3,
                            tr("音声: %1\nパネル: %2")
                                .arg(orNone(aircraft.soundAlias()), orNone(aircraft.panelAlias())));
        }
        rows_.add(entry.key, row);
        items.append(row);
    }
    aircraftList_->addTopLevelItems(items);
}

Aircraft& AircraftEnablerWindow::aircraftOf(const QTreeWidgetItem* row) {
    return aircrafts_->aircraftList.item(us(rowKey(aircraftList_->indexFromItem(row))));
}

void AircraftEnablerWindow::showActivate(const Aircraft& aircraft) {
    if (rows_.keyExists(aircraft.directory()))
        rows_.item(aircraft.directory())->setText(0, activateText(aircraft.isActive));
}

void AircraftEnablerWindow::reverseEnableFlg() {
    QTreeWidgetItem* row = aircraftList_->currentItem();
    if (!row || !row->isSelected())
        return; // nothing to toggle, as in an empty list
    Aircraft& aircraft = aircraftOf(row);
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
    row->setText(0, activateText(aircraft.isActive));
    isChanged_ = true;
    updateSaveAndUndo();
}

void AircraftEnablerWindow::setEnableFlgs(bool active) {
    wasChangedBefore_ = isChanged_;
    undoInfo_.emplace();
    bool warned = false;
    for (int i = 0; i < aircraftList_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = aircraftList_->topLevelItem(i);
        if (!row->isSelected())
            continue;
        Aircraft& aircraft = aircraftOf(row);
        addUndoInfo(aircraft);
        if (aircraft.isActive == active)
            continue;
        if (!aircraft.isDefault() || active || isEditDefPermitted_) {
            aircraft.isActive = active;
            aircraft.isActiveChanged = !aircraft.isActiveChanged;
            row->setText(0, activateText(aircraft.isActive));
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
    if (!hasUndo_ || !undoInfo_ || undoInfo_->empty())
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
    isChanged_ = wasChangedBefore_;
    hasUndo_ = false;
    undoInfo_.reset();
    updateSaveAndUndo();
}

void AircraftEnablerWindow::deleteAircraftFiles() {
    std::vector<QTreeWidgetItem*> selected;
    for (int i = 0; i < aircraftList_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = aircraftList_->topLevelItem(i);
        if (row->isSelected())
            selected.push_back(row);
    }
    for (const QTreeWidgetItem* row : selected) {
        if (aircraftOf(row).isDefault()) {
            showMessage(us(windowTitle()),
                        joinLines({us(tr("選択した航空機の中にデフォルト航空機が含まれています。")),
                                   us(tr("デフォルト航空機は削除できません。"))}),
                        PromptIcon::Warning);
            return;
        }
    }
    if (askQuestion(us(windowTitle()),
                    joinLines({us(tr("削除した航空機は変更履歴から元に戻せます。")),
                               us(tr("選択した航空機のファイルを削除しますか？"))}),
                    PromptButtons::YesNo, PromptAnswer::No,
                    PromptIcon::Warning) != PromptAnswer::Yes)
        return;

    std::vector<std::string> keys;
    std::vector<std::string> leftOnDisk;
    std::string failure;
    for (const QTreeWidgetItem* row : selected) {
        const std::string key = us(rowKey(aircraftList_->indexFromItem(row)));
        keys.push_back(key);
        try {
            std::vector<std::string> leftBehind;
            if (aircrafts_->deleteAircraftFile(key, isDeleteGaugesPermitted_, &leftBehind) > 0) {
                if (leftBehind.empty())
                    leftBehind.push_back(key); // the folder itself stays
                leftOnDisk.insert(leftOnDisk.end(), leftBehind.begin(), leftBehind.end());
            }
        } catch (const std::exception& e) {
            failure = joinLines(
                {us(tr("航空機ファイルを削除できませんでした。")), key, us(failureText(e))});
            break;
        }
    }
    // Rows go with their aircraft: one that could not be deleted at all stays listed.
    for (const std::string& key : keys) {
        if (!aircrafts_->aircraftList.keyExists(key) && rows_.keyExists(key)) {
            delete rows_.item(key);
            rows_.remove(key);
        }
    }
    // Switches made before the deletion are still to be saved; the undo record may name
    // aircraft that are gone.
    isChanged_ = anySwitchPending();
    hasUndo_ = false;
    undoInfo_.reset();
    updateSaveAndUndo();

    if (!failure.empty()) {
        showMessage(us(windowTitle()), failure, PromptIcon::Error);
    } else if (!leftOnDisk.empty()) {
        // The folder stays with what could not be deleted (read-only or in use).
        std::vector<std::string> lines{us(tr("削除できなかったファイルがあります。"))};
        lines.insert(lines.end(), leftOnDisk.begin(), leftOnDisk.end());
        showMessage(us(windowTitle()), joinLineList(lines), PromptIcon::Warning);
    }
}

bool AircraftEnablerWindow::anySwitchPending() const {
    return std::any_of(aircrafts_->aircraftList.begin(), aircrafts_->aircraftList.end(),
                       [](const auto& entry) { return entry.value.isActiveChanged; });
}

bool AircraftEnablerWindow::saveAircrafts() {
    if (!isChanged_)
        return true;
    const bool saved = writeSwitches();
    // Even a save that failed part-way has switched some aircraft on disk: the undo record
    // would take them back in memory only. What is still unsaved stays asked about.
    isChanged_ = anySwitchPending();
    hasUndo_ = false;
    undoInfo_.reset();
    updateSaveAndUndo();
    return saved;
}

bool AircraftEnablerWindow::writeSwitches() {
    try {
        aircrafts_->setActivate();
    } catch (const AircraftSwitchError& e) {
        std::string name = e.directory();
        if (aircrafts_->aircraftList.keyExists(e.directory()))
            name += " (" + aircrafts_->aircraftList.item(e.directory()).title() + ")";
        showMessage(us(windowTitle()),
                    joinLines({us(tr("次の航空機の有効・無効を保存できませんでした。")), name,
                               us(failureText(e))}),
                    PromptIcon::Error);
        return false;
    } catch (const std::exception& e) {
        showMessage(
            us(windowTitle()),
            joinLines({us(tr("航空機の有効・無効を保存できませんでした。")), us(failureText(e))}),
            PromptIcon::Error);
        return false;
    }
    return true;
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
    aircraftList_->setGeometry(kListLeft, kListTop, std::max(0, width - kListWidthMargin),
                               std::max(0, height - kListHeightMargin));
}

} // namespace vokari::ui
